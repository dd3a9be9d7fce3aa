#!/bin/sh
# Regenerates docs/screenshots/: the main window and the Basic and Deep Search
# windows with the project's disk images attached, and a finished Basic Search
# of sample.img's FAT32 partition (basic-search-result.png), drawn headless.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target dravel-screenshots dravel_fixture_images
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen build/bin/dravel-screenshots docs/screenshots \
  build/fixtures/sample.img build/fixtures/mbr-mixed.img build/fixtures/gpt-mixed.img
