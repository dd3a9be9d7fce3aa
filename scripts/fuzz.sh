#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a while
# (default 30 seconds), seeded with the start of the project's disk images.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-30}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DDRAVEL_FUZZ=ON -DDRAVEL_TESTS=OFF -DDRAVEL_GUI=OFF -DDRAVEL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
cmake --build build-fuzz --target fuzz_partition_walk fuzz_partition_parameters

seeds=build-fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds/walk" "$seeds/parameters"
for archive in tests/fixtures/images/*.img.xz samples/*.img.xz; do
  [ -e "$archive" ] || continue
  name=$(basename "$archive" .img.xz)
  # The tables and the first boot sector sit in the first 64 KiB.
  xz -dc "$archive" | head -c 65536 > "$seeds/walk/$name" || true
done

for target in walk parameters; do
  mkdir -p "build-fuzz/corpus/$target"
  echo "fuzz_partition_$target: ${seconds}s"
  ./build-fuzz/bin/fuzz_partition_$target -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
    "build-fuzz/corpus/$target" "$seeds/$target" 2>&1 | tail -n 12
done
