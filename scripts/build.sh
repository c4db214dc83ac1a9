#!/usr/bin/env bash
# Configures build/ (Release with debug info, Ninja) and builds the named targets, everything
# (the program, the tests, the benchmarks) when none is named. Run as root in an ordinary
# user's checkout, it builds as that user.
# Usage: scripts/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/as-user.sh
rerun_as_checkout_owner scripts/build.sh "$@"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build build --parallel "$(nproc)" "${targets[@]}"
