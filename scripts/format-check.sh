#!/usr/bin/env bash
# Checks that the C++ sources follow .clang-format: prints every line that
# would change and exits 1, or prints nothing and exits 0. With --fix the
# files are rewritten instead. Files may be named as arguments; by default
# every C and C++ source under include/, src/, tests/, examples/ and bench/
# is checked.
set -euo pipefail
cd "$(dirname "$0")/.."

CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
mode=(--dry-run --Werror)
if [ "${1:-}" = "--fix" ]; then
  mode=(-i)
  shift
fi

if [ "$#" -gt 0 ]; then
  files=("$@")
else
  # The headers carry the standard names and have no extension.
  mapfile -t files < <(find include src tests examples bench -type f \
    \( -path 'include/*' -o -name '*.cpp' -o -name '*.c' -o -name '*.h' \) 2>/dev/null | sort)
fi
"$CLANG_FORMAT" --style=file "${mode[@]}" "${files[@]}"
