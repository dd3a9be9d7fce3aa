#!/bin/sh
# Installs what is needed, builds, and opens the desktop program on the
# bundled sample disk image. Without a display it says how to run the program
# headless and shows what the sample holds through the command line instead.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target dravel dravel-cli dravel_resources
xz -dc samples/sample.img.xz > build/sample.img

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening the program on build/sample.img ..."
  exec build/bin/dravel --images-only --image build/sample.img
fi

cat <<'NOTE'
No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window
cannot be shown. Ways to see the program:
  - on a desktop:   build/bin/dravel --images-only --image build/sample.img
  - headless:       QT_QPA_PLATFORM=offscreen build/bin/dravel --images-only --image build/sample.img
  - pictures:       scripts/screenshots.sh   (writes docs/screenshots/*.png)
What the sample holds, through the command line:
NOTE
cli="build/bin/dravel-cli --images-only --image build/sample.img"
echo "== drive tree"
$cli disks
echo "== partitions (disk, partition, file system, first sector, end sector)"
$cli partitions
echo "== partition 1 of disk 0"
$cli info 0 1
echo "== its parameters"
$cli params 0 1
