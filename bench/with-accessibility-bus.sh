#!/bin/sh
# Runs a command the way a screen reader user runs the program: a private session
# bus with the AT-SPI bus and registry, a listener for the events a screen reader
# follows (text, caret, children, state), Qt's bridge switched on, on Xvfb (Qt's
# offscreen platform has no accessibility bridge).
# Usage: bench/with-accessibility-bus.sh COMMAND [ARGUMENTS...]
#   e.g. bench/with-accessibility-bus.sh build/bench/preview_bench preview
# Needs dbus, at-spi2-core, python3-pyatspi and xvfb.
[ $# -gt 0 ] || { sed -n 2,8p "$0" >&2; exit 2; }
exec dbus-run-session -- sh -c '
  /usr/bin/python3 -c "
import pyatspi
pyatspi.Registry.registerEventListener(lambda event: None, \"object:text-changed\", \"object:text-caret-moved\",
                                       \"object:children-changed\", \"object:state-changed\")
print(\"listening\", flush=True)
pyatspi.Registry.start()
" > "${TMPDIR:-/tmp}/a11y-listener.$$" 2>&1 &
  listener=$!
  while ! grep -q listening "${TMPDIR:-/tmp}/a11y-listener.$$" 2>/dev/null; do
    kill -0 $listener 2>/dev/null || { cat "${TMPDIR:-/tmp}/a11y-listener.$$" >&2; exit 1; }
    sleep 0.1
  done
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb xvfb-run -a "$@"
  status=$?
  kill $listener
  rm -f "${TMPDIR:-/tmp}/a11y-listener.$$"
  exit $status
' sh "$@"
