#!/usr/bin/env bash
# Builds the program and its tests with the address and undefined-behaviour sanitizers into
# build-asan/ and runs the CTest suite there with leak detection on. Any undefined behaviour ends
# the test program that meets it. Arguments are passed to ctest (e.g. -R '^(audio|library)$').
# Reports that belong to the system's libraries are silenced by name in scripts/sanitize/*.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# -O1 and line tables only: reports keep their file and line, and the build takes half the time.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
# The program, the probe the sound tests run and the test programs; the benchmarks are not built.
targets=$(ninja -C build-asan -t targets all | sed -n 's/^\(test_[a-z]*\): .*/\1/p' | sort -u)
cmake --build build-asan --parallel "$(nproc)" --target voltaria voltaria-probe $targets

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=0:suppressions=$root/scripts/sanitize/asan.supp"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitize/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/scripts/sanitize/ubsan.supp"
cd build-asan
# The package test builds and installs the operator's package, which is never a sanitized build.
ctest --output-on-failure --parallel "$(nproc)" --timeout 1800 -E '^package$' "$@"
