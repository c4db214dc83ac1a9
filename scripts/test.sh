#!/usr/bin/env bash
# Builds and runs every test through CTest, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
