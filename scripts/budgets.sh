#!/usr/bin/env bash
# Footprint budgets (sizes only, no timing): builds the library for each
# preset (default i386 and x86-64) and fails when a measure exceeds its
# budget. Every program is linked static with --gc-sections and stripped,
# as docs/performance.md measures them.
#
#   scripts/budgets.sh [PRESET...]       check the budgets
#   scripts/budgets.sh --regression      prove the check fails: links a
#       function-local static (the runtime's one-time guard, and with it the
#       exception machinery) into the cout program and expects a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

# Budgets in bytes.
COUT_OVER_PRINTF=4608        # hello_cout minus hello_printf
CONTAINERS_OVER_PRINTF=8192  # hello_containers minus hello_printf
VECTOR_OVER_EMPTY=1024       # hello_vector minus hello_empty
STREAM_UNITS_TEXT=4096       # .text of the stream units together
ALL_UNITS_TEXT=16384         # .text of every compiled unit

regression=false
if [ "${1:-}" = "--regression" ]; then
  regression=true
  shift
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

check() {  # name measured budget
  local verdict=ok
  if [ "$2" -gt "$3" ]; then
    verdict=OVER
    failed=1
  fi
  printf '  %-34s %7d  budget %7d  %s\n' "$1" "$2" "$3" "$verdict"
}

# size PROGRAM: stripped file size.
file_size() { strip "$1" && stat -c %s "$1"; }

# .text of object files: the code sections, one per function.
text_of() { size -A "$@" | awk '$1 == ".text" || $1 ~ /^\.text\./ { t += $2 } END { print t + 0 }'; }

cat >"$work/regression.cpp" <<'SRC'
struct Counter {
  Counter();
  int n;
};
Counter::Counter() : n(1) {}
static int Bump() {
  static Counter counter;  // guarded: __cxa_guard_acquire
  return ++counter.n;
}
int gBumped = Bump();
SRC

for preset in $(plinth_presets "$@"); do
  case $preset in
    i386*) arch=-m32 ;;
    *) arch=-m64 ;;
  esac
  plinth_build "$preset" >/dev/null
  lib=build/$preset/libplinth.a
  objs=build/$preset/CMakeFiles/plinth.dir/src
  echo "== $preset"
  link_c() { gcc $arch -O2 -static -Wl,--gc-sections "$1" -o "$2"; }
  link_cxx() {
    local out=$1
    shift
    local srcs=() s
    for s in "$@"; do
      g++ $arch -std=c++11 -O2 -fno-exceptions -Iinclude -c "$s" -o "$work/$(basename "$s").o"
      srcs+=("$work/$(basename "$s").o")
    done
    gcc $arch -static -Wl,--gc-sections "${srcs[@]}" "$lib" -lsupc++ -o "$out"
  }
  link_c bench/hello_printf.c "$work/printf"
  link_c bench/hello_empty.c "$work/empty"
  if $regression; then
    link_cxx "$work/cout" bench/hello_cout.cpp "$work/regression.cpp"
  else
    link_cxx "$work/cout" bench/hello_cout.cpp
  fi
  link_cxx "$work/containers" bench/hello_containers.cpp
  link_cxx "$work/vector" bench/hello_vector.cpp
  printf_size=$(file_size "$work/printf")
  empty_size=$(file_size "$work/empty")
  check "static cout program over printf" $(($(file_size "$work/cout") - printf_size)) $COUT_OVER_PRINTF
  check "with string and vector over printf" \
    $(($(file_size "$work/containers") - printf_size)) $CONTAINERS_OVER_PRINTF
  check "static vector program over empty C" $(($(file_size "$work/vector") - empty_size)) \
    $VECTOR_OVER_EMPTY
  stream_objs=()
  for unit in basic_ios ios_base ios_globals ostream stdio_filebuf streambuf; do
    stream_objs+=("$objs/$unit.cpp.o")
  done
  check ".text of the stream units" "$(text_of "${stream_objs[@]}")" $STREAM_UNITS_TEXT
  check ".text of all units" "$(text_of "$objs"/*.o)" $ALL_UNITS_TEXT
done

if $regression; then
  if [ $failed -eq 0 ]; then
    echo "the deliberate regression went unnoticed"
    exit 1
  fi
  echo "the deliberate regression was caught"
  exit 0
fi
[ $failed -eq 0 ] || echo "a budget is exceeded"
exit $failed
