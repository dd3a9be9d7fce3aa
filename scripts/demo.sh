#!/bin/sh
# Installs what is needed, builds, and runs a Basic Search of the bundled
# sample disk image: in the desktop program when there is a display, else
# through the command line, which prints the recovered tree with its deleted
# files marked.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target dravel dravel-cli dravel_resources
xz -dc samples/sample.img.xz > build/sample.img

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening the program on build/sample.img: choose Basic Search, select"
  echo "\"Partition - 1 ( FAT32 )\" and press Next."
  exec build/bin/dravel --images-only --image build/sample.img
fi

cat <<'NOTE'
No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window
cannot be shown. Ways to see the program:
  - on a desktop:   build/bin/dravel --images-only --image build/sample.img
  - headless:       QT_QPA_PLATFORM=offscreen build/bin/dravel --images-only --image build/sample.img
  - pictures:       scripts/screenshots.sh   (writes docs/screenshots/*.png)
The same Basic Search through the command line:
NOTE
cli="build/bin/dravel-cli --images-only --image build/sample.img"
echo "== drive tree"
$cli disks
echo "== Basic Search of partition 1 (kind, deleted, size, date, time, id, path)"
$cli basic 0 1
echo "== of which deleted"
$cli basic 0 1 | awk -F '\t' '$2 == 1'
