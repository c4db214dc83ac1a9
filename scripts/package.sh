#!/usr/bin/env bash
# Builds the program and makes the Debian package build/voltaria_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
cpack -G DEB
