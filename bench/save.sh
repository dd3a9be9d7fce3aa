#!/bin/sh
# Saving speed and memory: `dravel-cli save` of a whole partition against
# `cp -r` copying the same files (the save's own output) in the same run,
# everything from the page cache.
#
# Uses the 2 GiB FAT32 and NTFS images bench/basic-search.sh builds in
# WORK_DIR (builds them when missing), and builds one more FAT32 image that
# holds a single 1 GiB file, to show that memory does not grow with the size
# of a file. Target: the save's throughput at least 70% of cp's; peak
# memory independent of file size.
#
# The save's time includes its Basic Search; the scan alone (`basic`) is
# shown beside it, and the throughput of the writing alone (save minus
# scan) against cp's.
#
# usage: bench/save.sh [BUILD_DIR] [WORK_DIR]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
work=${2:-/tmp/dravel-bench}
cli="$build/bin/dravel-cli"
[ -x "$cli" ] || { echo "save.sh: $cli is missing; build first" >&2; exit 1; }
for tool in mkfs.fat mcopy sfdisk /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "save.sh: $tool is missing" >&2; exit 1; }
done
mkdir -p "$work"
for fill in quarter full; do
  if [ ! -e "$work/fat32-$fill.img" ] || [ ! -e "$work/ntfs-$fill.img" ]; then
    BUILD_ONLY=1 sh bench/basic-search.sh "$build" "$work"
  fi
done

disk_mib=2048
part_start=2048
part_sectors=$((disk_mib * 2048 - part_start))
if [ ! -e "$work/fat32-large.img" ]; then
  img="$work/fat32-large.img.part"
  rm -f "$img" && truncate -s ${disk_mib}M "$img"
  printf 'label: dos\nstart=%s, size=%s, type=c\n' "$part_start" "$part_sectors" | sfdisk -q "$img"
  mkfs.fat -F 32 -s 8 --offset "$part_start" "$img" $((part_sectors / 2)) >/dev/null
  head -c 1G /dev/urandom >"$work/large.bin"
  MTOOLS_SKIP_CHECK=1 mcopy -i "$img@@$((part_start * 512))" "$work/large.bin" ::/large.bin
  rm -f "$work/large.bin"
  mv "$img" "$work/fat32-large.img"
fi

# seconds and peak KiB of a command, output discarded
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
    { cat "$work/stderr.txt" >&2; exit 1; }
  cat "$work/time.txt"
}

# The best of three runs of a command (the machine may be shared): the
# shortest time and the largest peak; CLEAN runs before each.
best() {  # CLEAN COMMAND...
  clean=$1 && shift
  times=""
  for _ in 1 2 3; do
    sh -c "$clean"
    times="$times$(measure "$@")
"
  done
  printf '%s' "$times" | sort -n | awk 'NR == 1 { t = $1 } $2 > m { m = $2 } END { print t, m }'
}

run_one() {  # LABEL IMAGE
  out="$work/saved" copy="$work/copied"
  rm -rf "$out" "$copy"
  cat "$2" >/dev/null  # page cache
  scan=$(best true "$cli" --images-only --image "$2" basic 0 1)
  save=$(best "rm -rf '$out' && mkdir -p '$out'" "$cli" --images-only --image "$2" save 0 1 "$out")
  bytes=$(du -sb "$out" | cut -f1)
  files=$(find "$out" -type f | wc -l)
  cp=$(best "rm -rf '$copy'" cp -r "$out" "$copy")
  rm -rf "$out" "$copy"
  set -- "$1" $scan $save $cp "$bytes" "$files"
  awk -v l="$1" -v sc="$2" -v sv="$4" -v m="$5" -v cp="$6" -v cm="$7" -v b="$8" -v n="$9" 'BEGIN {
    mib = b / 1048576
    w = sv - sc
    printf "%-13s %6d files %7.1f MiB  save %5.2f s (scan %4.2f s)  cp -r %5.2f s  throughput vs cp: save %4.0f%%, writing alone %4.0f%%  peak %5.1f MiB (cp %4.1f MiB)\n",
      l, n, mib, sv, sc, cp, (sv > 0 ? 100 * cp / sv : 0), (w > 0 ? 100 * cp / w : 0), m / 1024, cm / 1024 }'
}

echo "Save of a ${disk_mib} MiB disk's partition against cp -r of the saved files (page cache):"
for fill in quarter full; do
  run_one "FAT32 $fill" "$work/fat32-$fill.img"
  run_one "NTFS $fill" "$work/ntfs-$fill.img"
done
run_one "FAT32 1 GiB" "$work/fat32-large.img"
