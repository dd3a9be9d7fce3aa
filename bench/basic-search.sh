#!/bin/sh
# Basic Search speed and memory against reading the same partition with dd.
#
# Builds (not committed) two ~2 GiB disk images, one FAT32 and one NTFS
# partition each, at two fill levels (a quarter and all of ~20,000 files in
# ~1,000 folders), warms the page cache, then times `dravel-cli basic` on
# each against `dd bs=1M` over the partition's bytes in the same run.
# Targets: FAT at most 1.3x the raw read; NTFS (which reads only the MFT)
# faster than the raw read; peak memory below 200 MiB. The two fill levels
# show the cost growing with the number of files, not with its square.
#
# Needs dosfstools, mtools, ntfs-3g (mkntfs and a FUSE mount, so root),
# sfdisk, python3 and /usr/bin/time.
#
# usage: bench/basic-search.sh [BUILD_DIR] [WORK_DIR]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
work=${2:-/tmp/dravel-bench}
cli="$build/bin/dravel-cli"
[ -x "$cli" ] || { echo "basic-search.sh: $cli is missing; build first" >&2; exit 1; }
for tool in mkfs.fat mcopy mkntfs ntfs-3g sfdisk python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "basic-search.sh: $tool is missing" >&2; exit 1; }
done
mkdir -p "$work"

disk_mib=2048
part_start=2048
part_sectors=$((disk_mib * 2048 - part_start))

# make_tree DIR FOLDERS FILES_PER_FOLDER: nested folders (tops of 20 each)
# holding small files of varied sizes.
make_tree() {
  rm -rf "$1" && mkdir -p "$1"
  python3 - "$1" "$2" "$3" <<'PY'
import os, random, sys
root, folders, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(7)
for f in range(folders):
    top = os.path.join(root, "Top %03d" % (f // 20))
    d = top if f % 20 == 0 else os.path.join(top, "Folder %05d" % f)
    os.makedirs(d, exist_ok=True)
    for i in range(per):
        with open(os.path.join(d, "file %05d-%02d.dat" % (f, i)), "wb") as out:
            out.write(rng.randbytes(rng.randint(100, 8000)))
PY
}

new_disk() {
  rm -f "$1" && truncate -s ${disk_mib}M "$1"
  printf 'label: dos\nstart=%s, size=%s, type=%s\n' "$part_start" "$part_sectors" "$2" | sfdisk -q "$1"
}

make_fat() {  # IMAGE TREE
  new_disk "$1" c
  mkfs.fat -F 32 -s 8 --offset "$part_start" "$1" $((part_sectors / 2)) >/dev/null
  MTOOLS_SKIP_CHECK=1 mcopy -s -i "$1@@$((part_start * 512))" "$2"/* ::/
}

make_ntfs() {  # IMAGE TREE
  new_disk "$1" 7
  part="$work/ntfs-part.img"
  rm -f "$part" && truncate -s $((part_sectors * 512)) "$part"
  mkntfs -F -q -Q -c 4096 -s 512 -p "$part_start" -H 255 -S 63 "$part" >/dev/null 2>&1
  mnt="$work/mnt" && mkdir -p "$mnt"
  ntfs-3g "$part" "$mnt"
  cp -r "$2"/. "$mnt"/
  umount "$mnt"
  dd if="$part" of="$1" bs=1M seek=1 conv=notrunc,sparse status=none
  rm -f "$part"
}

# seconds and peak KiB of a command, output discarded
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
    { cat "$work/stderr.txt" >&2; exit 1; }
  cat "$work/time.txt"
}

run_one() {  # LABEL IMAGE
  cat "$2" >/dev/null  # page cache
  raw=$(measure dd if="$2" of=/dev/null bs=1M skip=1 count=$((part_sectors / 2048)))
  scan=$(measure "$cli" --images-only --image "$2" basic 0 1)
  lines=$("$cli" --images-only --image "$2" basic 0 1 | wc -l)
  set -- "$1" $raw $scan "$lines"
  awk -v l="$1" -v r="$2" -v s="$4" -v m="$5" -v n="$6" 'BEGIN {
    printf "%-14s %8d lines  dd %6.2f s  basic %6.2f s  ratio %5.2f  peak %6.1f MiB\n", l, n, r, s, (r > 0 ? s / r : 0), m / 1024 }'
}

# Images already in WORK_DIR are reused (delete them to rebuild).
for fill in quarter full; do
  if [ "$fill" = quarter ]; then folders=250; else folders=1000; fi
  [ -e "$work/fat32-$fill.img" ] && [ -e "$work/ntfs-$fill.img" ] && continue
  make_tree "$work/tree" "$folders" 20
  make_fat "$work/fat32-$fill.img.part" "$work/tree" && mv "$work/fat32-$fill.img.part" "$work/fat32-$fill.img"
  make_ntfs "$work/ntfs-$fill.img.part" "$work/tree" && mv "$work/ntfs-$fill.img.part" "$work/ntfs-$fill.img"
done
[ "${BUILD_ONLY:-0}" = 1 ] && exit 0
echo "Basic Search of a ${disk_mib} MiB disk, one partition, against dd bs=1M of the partition (page cache):"
for fill in quarter full; do
  run_one "FAT32 $fill" "$work/fat32-$fill.img"
  run_one "NTFS $fill" "$work/ntfs-$fill.img"
done
if [ -x "$build/bin/dravel-bench-tree" ]; then
  echo "Tree building:"
  "$build/bin/dravel-bench-tree" 100000 400000
fi
