#!/usr/bin/env bash
# Builds what the package holds (the program and its compressed documents, no tests or
# benchmarks) and makes the Debian package build/voltaria_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/as-user.sh
rerun_as_checkout_owner scripts/package.sh "$@"
scripts/build.sh voltaria package_compressed
cd build
cpack -G DEB
