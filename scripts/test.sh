#!/usr/bin/env bash
# Sets up what is missing, builds Tavrin and runs every test: once in a normal build with
# warnings as errors, once under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# Windows build of the core and tavrin-convert under Wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_SANITIZE=ON \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure -j2

scripts/test-windows.sh
