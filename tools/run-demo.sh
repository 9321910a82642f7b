#!/usr/bin/env bash
# The demo behind `make run`: makes a short video, enciphers it under the demo password and shows what
# the container holds.
set -euo pipefail
build=${1:-build}
demo=out/demo
password=mirado2026
mkdir -p "$demo/plain" "$demo/protected"
if [ ! -f "$demo/plain/demo.mp4" ]; then
  ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=640x360:rate=25 -f lavfi -i sine=frequency=440 \
    -t 5 -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$demo/plain/demo.mp4"
fi
"$build/tools/mirado-pack/mirado-pack" encrypt "$demo/plain/demo.mp4" "$demo/protected" \
  --password "$password" --watermark "Mirado demo" --position 3 --colour 2
echo
echo "Demo password: $password"
"$build/tools/mirado-pack/mirado-pack" info "$demo/protected/demo.pmpk" --password "$password" --sha256
echo "Original:      $(sha256sum "$demo/plain/demo.mp4" | cut -c1-64)"
