#!/usr/bin/env bash
# Sets up what is missing, builds the two programs (not the tests) and starts the window.
# Without a graphical display the program says so and names the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build -G Ninja
cmake --build build --target Tavrin tavrin-convert
exec build/bin/Tavrin
