#!/usr/bin/env bash
# Installs plinth to a temporary prefix for x86-64 and i386, then builds the
# example from that prefix through find_package and through pkg-config,
# checks that it links without a C++ standard library and that it prints
# the expected results (examples/check.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for arch in $(plinth_presets); do
  toolchain=()
  [ "$arch" = i386 ] && toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/i386-linux.cmake)
  echo "== install $arch"
  cmake -S . -B "$tmp/build-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPLINTH_BUILD_TESTS=OFF -DPLINTH_BUILD_BENCH=OFF "${toolchain[@]}" >/dev/null
  cmake --build "$tmp/build-$arch" >/dev/null
  cmake --install "$tmp/build-$arch" --prefix "$tmp/$arch" >/dev/null
  PLINTH_EMULATOR=$(plinth_emulator "$tmp/build-$arch") examples/check.sh "$tmp/$arch"
done
