#!/usr/bin/env bash
# The demo behind `make run`: builds the player and the demo media in the build folder (already
# configured), then opens the player with the demo playlist. Usage: tools/run-demo.sh [BUILD] [JOBS]
set -euo pipefail
build=${1:-build}
jobs=${2:-2}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'TEXT'
The demo opens a window, but there is no display here ($DISPLAY and $WAYLAND_DISPLAY are unset).
Run `make run` in a desktop session, or on a virtual X server, where the window stays invisible:
    xvfb-run -a -s "-screen 0 1280x1024x24" make run
TEXT
  exit 1
fi

cmake --build "$build" -j "$jobs" --target mirado-player mirado-demo

demo=$build/demo
password=$(cat "$demo/password.txt")
cat <<TEXT

Mirado demo. Password of the protected files: $password

  mandelbrot-zoom.pmpk   a protected video with a watermark
  seahorse-valley.pmpk   a protected picture with a watermark
  colour-gradients.mp4   a plain video

Double-click a playlist row to play it; the .pmpk files ask for the password once.
Double-click the video or the picture for full screen (Esc comes back). Close the window to end the demo.
The demo files stay in $demo.
TEXT
exec "$build/player/mirado-player" "$demo/mandelbrot-zoom.pmpk" "$demo/seahorse-valley.pmpk" \
  "$demo/colour-gradients.mp4"
