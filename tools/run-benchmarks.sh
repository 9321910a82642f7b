#!/usr/bin/env bash
# Runs every benchmark program of a build folder, one after another. Their scratch files go to the
# temporary folder (about 3.3 GB at most). player_bench plays in real windows: without an X server it
# runs under xvfb-run, whose Mesa draws with software OpenGL as the mpv it is compared with does.
set -euo pipefail
build=${1:-build}
first=1
for bench in $(find "$build/bench" -type f -executable -name '*_bench' | sort); do
  # ext4 without a journal does not reuse the inodes of files removed in the last minute (five more
  # while the removal is not on disk), and each new file meanwhile scans past them: the scratch files
  # the last program removed would slow this one's runs down.
  [ "$first" = 1 ] || { sync; sleep 60; }
  first=0
  echo "== $(basename "$bench")"
  if [ "$(basename "$bench")" = player_bench ] && [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1920x1080x24" "$bench"
  elif [ "$(basename "$bench")" = player_picture_memory_bench ]; then
    # The largest picture the decoders' budget allows.
    picture=$(mktemp --suffix=.jpg)
    # A gradient: a plasma of that size took ImageMagick over ten minutes, and the content does not
    # change what the picture costs in memory.
    /usr/bin/convert -size 10000x10000 gradient:navy-orange "$picture"
    "$bench" "$picture" || echo "goal missed: the largest picture the budget allows was not shown"
    rm -f "$picture"
  else
    "$bench"
  fi
done
