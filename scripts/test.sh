#!/usr/bin/env bash
# Builds and runs every test through CTest, headless, as the build's owner (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/as-user.sh
rerun_as_checkout_owner scripts/test.sh "$@"
scripts/build.sh
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
