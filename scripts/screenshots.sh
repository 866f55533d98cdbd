#!/usr/bin/env bash
# Developer tool: starts the built program on a virtual X display and writes
# docs/mainwindow.png (the main window in its narrow layout), docs/about.png
# (the About window, opened by a click on the main window's logo),
# docs/mainwindow-dark.png (the main window in its wide layout on a dark
# desktop: qt6ct's "darker" colour scheme) and docs/preview.png (the preview of
# a catalogue of Latin and script families).
# Usage: scripts/screenshots.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program=$build/src/letterloom
preview_shot=$build/tools/preview_shot
[ -x "$program" ] || { echo "build the program first: $program is missing" >&2; exit 1; }

needed=()
command -v Xvfb >/dev/null || needed+=(xvfb)
command -v xauth >/dev/null || needed+=(xauth)
command -v xdotool >/dev/null || needed+=(xdotool)
command -v import >/dev/null || needed+=(imagemagick)
[ -e /usr/share/qt6ct/colors/darker.conf ] || needed+=(qt6ct)
if [ ${#needed[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends "${needed[@]}" >/dev/null
fi

work=$(mktemp -d)
pids=()
cleanup() {
  # The program first, so it does not report the display going away.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# A private display and a private settings folder, so the pictures show the
# program's defaults and nothing of the developer's own desktop.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Starts the program and waits for its main window, which appears once the
# font census is done; sets program_pid and main.
start_program() {
  "$program" &
  program_pid=$!
  pids+=("$program_pid")
  main=""
  for _ in $(seq 600); do
    main=$(xdotool search --all --onlyvisible --pid "$program_pid" --name '^Letterloom$' 2>/dev/null | head -n1 || true)
    [ -n "$main" ] && break
    sleep 0.1
  done
  [ -n "$main" ] || { echo "the main window did not appear" >&2; exit 1; }
  sleep 1
}

# Where the logo shows in picture $1, as x,y (its rounded corners are blended
# with the window, hence a similarity search rather than an exact one).
find_logo() {
  local match
  match=$(compare -metric RMSE -dissimilarity-threshold 1 -subimage-search "$1" \
          src/widgets/resources/images/logo.png null: 2>&1 >/dev/null || true)
  logo=${match##*@ }
  if [[ ! $logo =~ ^[0-9]+,[0-9]+$ ]]; then
    echo "the logo was not found in $1: $match" >&2
    exit 1
  fi
}

start_program
mkdir -p docs
import -window "$main" docs/mainwindow.png
echo "docs/mainwindow.png: $(identify -format '%wx%h' docs/mainwindow.png)"

find_logo docs/mainwindow.png
xdotool mousemove --window "$main" $(( ${logo%%,*} + 37 )) $(( ${logo##*,} + 15 )) click 1

about=""
for _ in $(seq 30); do
  for window in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
    [ "$window" = "$main" ] && continue
    if [ "$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')" -lt 400 ]; then
      about=$window
    fi
  done
  [ -n "$about" ] && break
  sleep 0.1
done
[ -n "$about" ] || { echo "a click on the logo opened no About window" >&2; exit 1; }
sleep 0.5
import -window "$about" docs/about.png
echo "docs/about.png: $(identify -format '%wx%h' docs/about.png)"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true

# A dark desktop hands the program its palette through the platform theme.
mkdir -p "$XDG_CONFIG_HOME/qt6ct"
printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion\n' \
  >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf"
QT_QPA_PLATFORMTHEME=qt6ct start_program
import -window "$main" "$work/dark.png"
# The button that widens the window lies 354 pixels right of the logo and 68
# above it (in twips 8250, 3090 against 2940, 4110), and is 25 by 26 pixels.
find_logo "$work/dark.png"
xdotool mousemove --window "$main" $(( ${logo%%,*} + 354 + 12 )) $(( ${logo##*,} - 68 + 13 )) click 1
sleep 0.5
import -window "$main" docs/mainwindow-dark.png
echo "docs/mainwindow-dark.png: $(identify -format '%wx%h' docs/mainwindow-dark.png)"

"$preview_shot" docs/preview.png
echo "docs/preview.png: $(identify -format '%wx%h' docs/preview.png)"
