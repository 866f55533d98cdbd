#!/usr/bin/env bash
# Developer tool: starts the built program on a virtual X display and writes
# docs/mainwindow.png (the main window in its narrow layout), docs/about.png
# (the About window, opened by a click on the main window's logo) and
# docs/preview.png (the preview of a catalogue of Latin and script families).
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

"$program" &
program_pid=$!
pids+=("$program_pid")

# The main window appears once the font census is done.
main=""
for _ in $(seq 600); do
  main=$(xdotool search --onlyvisible --name '^Letterloom$' 2>/dev/null | head -n1 || true)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "$main" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 1
mkdir -p docs
import -window "$main" docs/mainwindow.png
echo "docs/mainwindow.png: $(identify -format '%wx%h' docs/mainwindow.png)"

# Click the logo where it shows in the picture just taken (its rounded corners
# are blended with the window, hence a similarity search rather than an exact one).
match=$(compare -metric RMSE -dissimilarity-threshold 1 -subimage-search docs/mainwindow.png \
        src/widgets/resources/images/logo.png null: 2>&1 >/dev/null || true)
position=${match##*@ }
if [[ ! $position =~ ^[0-9]+,[0-9]+$ ]]; then
  echo "the logo was not found in docs/mainwindow.png: $match" >&2
  exit 1
fi
xdotool mousemove --window "$main" $(( ${position%%,*} + 37 )) $(( ${position##*,} + 15 )) click 1

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

"$preview_shot" docs/preview.png
echo "docs/preview.png: $(identify -format '%wx%h' docs/preview.png)"
