# cmake -DBUILD_DIR=... -DPREFIX=... -DDESKTOP_FILE_VALIDATE=... -DAPPSTREAMCLI=... -P validateinstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} COMMAND_ERROR_IS_FATAL ANY
                OUTPUT_QUIET)

set(share ${PREFIX}/share)
set(desktop ${share}/applications/letterloom.desktop)
file(GLOB metainfo ${share}/metainfo/*.metainfo.xml)
foreach(expected
    ${PREFIX}/bin/letterloom
    ${desktop}
    ${share}/icons/hicolor/scalable/apps/letterloom.svg
    ${share}/icons/hicolor/32x32/apps/letterloom.png
    ${share}/icons/hicolor/48x48/apps/letterloom.png
    ${share}/man/man1/letterloom.1.gz
    ${share}/doc/letterloom/copyright)
  if(NOT EXISTS ${expected})
    message(FATAL_ERROR "not installed: ${expected}")
  endif()
endforeach()
list(LENGTH metainfo count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one AppStream file, found: ${metainfo}")
endif()

# The menu, the task bar and the window must find the same icon by its name.
file(STRINGS ${desktop} icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=letterloom")
  message(FATAL_ERROR "desktop entry names the icon '${icon_line}'")
endif()
file(READ ${metainfo} metainfo_text)
if(NOT metainfo_text MATCHES "<launchable type=\"desktop-id\">letterloom.desktop</launchable>")
  message(FATAL_ERROR "AppStream data does not launch letterloom.desktop")
endif()

execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${metainfo} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net ${PREFIX} COMMAND_ERROR_IS_FATAL ANY)
