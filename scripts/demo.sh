#!/bin/sh
# Installs what is needed, builds, and shows what the bundled sample disk
# image holds: the drive tree, its partitions and their parameters.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target dravel-cli
xz -dc samples/sample.img.xz > build/sample.img

cli="build/bin/dravel-cli --images-only --image build/sample.img"
echo "== drive tree"
$cli disks
echo "== partitions (disk, partition, file system, first sector, end sector)"
$cli partitions
echo "== partition 1 of disk 0"
$cli info 0 1
echo "== its parameters"
$cli params 0 1
