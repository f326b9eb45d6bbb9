#!/usr/bin/env bash
# Regenerates the bundled art under resources/: builds the generator, draws every picture,
# and encodes Nimbi's movies as short looping VP9 WebM files. Needs Qt and ffmpeg; the
# application's build needs neither this script nor ffmpeg.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-artgen"
frames=$(mktemp -d -t dewbell-frames-XXXXXX)
trap 'rm -rf "$frames"' EXIT

cmake -S "$root/tools/artgen" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
QT_QPA_PLATFORM=offscreen "$build/dewbell-artgen" "$root/resources" "$frames"

for movie in "$frames"/*/; do
  name=$(basename "$movie")
  ffmpeg -loglevel error -y -framerate 24 -i "$movie/%03d.png" \
    -c:v libvpx-vp9 -pix_fmt yuv420p -b:v 0 -crf 32 -row-mt 1 -an \
    "$root/resources/Characters/nimbi/$name.webm"
done
