#!/usr/bin/env bash
# Runs the probes and the unit tests of a built preset (default x86-64)
# under valgrind memcheck; any error or leak fails. valgrind cannot run
# programs that this machine runs only under an emulator (i386 programs on
# kernels without 32-bit support): such a preset is skipped with a note.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

preset=${1:-x86-64}
plinth_build "$preset" >/dev/null
if [ "$(plinth_run_kind "build/$preset")" != native ]; then
  echo "valgrind: $preset skipped: its programs do not run natively here"
  exit 0
fi
dir="build/$preset/tests"
status=0
passed=0
failed=0
for exe in "$dir/stepprobe" "$dir/seqprobe" "$dir"/unit_*; do
  [ -x "$exe" ] || continue
  if valgrind -q --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect \
      "$exe" >/dev/null 2>"$exe.valgrind.log"; then
    passed=$((passed + 1))
  else
    echo "valgrind: $(basename "$exe") failed:"
    cat "$exe.valgrind.log"
    failed=$((failed + 1))
    status=1
  fi
done
echo "valgrind: $passed passed, $failed failed"
exit $status
