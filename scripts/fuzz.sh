#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a while
# (default 30 seconds), seeded with pieces of the project's disk images.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-30}
targets="fuzz_partition_walk fuzz_partition_parameters fuzz_fat_directory fuzz_mft_record"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DDRAVEL_FUZZ=ON -DDRAVEL_TESTS=OFF -DDRAVEL_GUI=OFF -DDRAVEL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
# shellcheck disable=SC2086
cmake --build build-fuzz --target $targets

seeds=build-fuzz/seeds
rm -rf "$seeds"
for target in $targets; do mkdir -p "$seeds/$target" "build-fuzz/corpus/$target"; done

# slice IMAGE OFFSET LENGTH OUT
slice() { dd if="$1" of="$4" bs=1 skip="$2" count="$3" status=none 2>/dev/null || true; }

for archive in tests/fixtures/images/*.img.xz samples/*.img.xz; do
  [ -e "$archive" ] || continue
  name=$(basename "$archive" .img.xz)
  image="$seeds/$name.img"
  xz -dc "$archive" > "$image"
  # The tables and the first boot sector sit in the first 64 KiB.
  head -c 65536 "$image" > "$seeds/fuzz_partition_walk/$name"
  # Directory sectors: a "." entry (name, ten blanks, directory attribute).
  n=0
  for offset in $(grep -obUaP '\.          \x10' "$image" | cut -d: -f1 | head -n 8); do
    slice "$image" "$((offset / 512 * 512))" 2048 "$seeds/fuzz_fat_directory/$name-$n"
    n=$((n + 1))
  done
  # MFT records: "FILE" at a sector start.
  n=0
  for offset in $(grep -obUaP 'FILE0' "$image" | cut -d: -f1 | head -n 24); do
    [ $((offset % 512)) -eq 0 ] || continue
    slice "$image" "$offset" 1024 "$seeds/fuzz_mft_record/$name-$n"
    n=$((n + 1))
  done
  rm -f "$image"
done

for target in $targets; do
  echo "$target: ${seconds}s"
  ./build-fuzz/bin/$target -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
    "build-fuzz/corpus/$target" "$seeds/$target" 2>&1 | tail -n 12
done
