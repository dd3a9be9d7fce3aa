#!/bin/sh
# Runs every test: the normal build with warnings as errors, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

cmake -S . -B build -G Ninja -DDRAVEL_WERROR=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

# The sanitizer build reuses the reference images the first run unpacked.
cmake -S . -B build-asan -G Ninja -DDRAVEL_WERROR=ON -DDRAVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDRAVEL_SHARED_IMAGES="$(pwd)/build/shared-fixtures"
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j2

scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
