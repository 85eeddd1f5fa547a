#!/usr/bin/env bash
# Builds and runs the whole test suite under CTest for i386 and x86-64 (or
# the presets named as arguments, e.g. i386-clang or x86-64-asan).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

plinth_build_and_test "$@" -- -j 2
