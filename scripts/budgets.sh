#!/usr/bin/env bash
# Footprint budgets (sizes only, no timing): builds each preset (default
# i386 and x86-64) and fails when a measure exceeds its budget. The
# programs are the build's own (bench/CMakeLists.txt: static, with
# --gc-sections), stripped, as docs/performance.md measures them.
#
#   scripts/budgets.sh [PRESET...]       check the budgets
#   scripts/budgets.sh --tsv FILE [PRESET...]   also write each measure as
#       "preset, measure, bytes, budget" (bench/report.py shows them)
#   scripts/budgets.sh --regression      prove the check fails: measures the
#       cout program with a function-local static added (the runtime's
#       one-time guard, and with it the exception machinery) and expects a
#       failure.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

# Budgets in bytes.
COUT_OVER_PRINTF=4096        # hello_cout minus hello_printf
CONTAINERS_OVER_PRINTF=8192  # hello_containers minus hello_printf
VECTOR_OVER_EMPTY=1024       # hello_vector minus hello_empty
GETLINE_OVER_FGETS=16384     # hello_getline minus hello_fgets
STREAM_UNITS_TEXT=6144       # .text of the stream units together (with the get area)
INPUT_UNITS_TEXT=12288       # .text of the input units: istream, cin, sstream, fstream
CORE_UNITS_TEXT=16384        # .text of every compiled unit but the input units
UNUSED_IN_COUT=0             # input and clog symbols linked into the program that only writes

regression=false
tsv=""
if [ "${1:-}" = "--regression" ]; then
  regression=true
  shift
elif [ "${1:-}" = "--tsv" ]; then
  tsv=$2
  shift 2
  : >"$tsv"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

check() {  # name measured budget
  local verdict=ok
  [ -z "$tsv" ] || printf '%s\t%s\t%s\t%s\n' "$preset" "$1" "$2" "$3" >>"$tsv"
  if [ "$2" -gt "$3" ]; then
    verdict=OVER
    failed=1
  fi
  printf '  %-42s %7d  budget %7d  %s\n' "$1" "$2" "$3" "$verdict"
}

# size PROGRAM: stripped file size.
file_size() { strip "$1" && stat -c %s "$1"; }

# .text of object files: the code sections, one per function.
text_of() { size -A "$@" | awk '$1 == ".text" || $1 ~ /^\.text\./ { t += $2 } END { print t + 0 }'; }

for preset in $(plinth_presets "$@"); do
  plinth_build "$preset" >/dev/null
  objs=build/$preset/CMakeFiles/plinth.dir/src
  echo "== $preset"
  # The programs, as the build made them (bench/CMakeLists.txt).
  size_of() {
    cp "$(awk -F'\t' -v n="$1" '$1 == n { print $2 }' "build/$preset/bench/footprint.tsv")" \
      "$work/program"
    file_size "$work/program"
  }
  # Before file_size strips it: a program that only writes to cout links no
  # input and nothing of clog.
  unused_symbols=$(nm "$(awk -F'\t' '$1 == "cout" { print $2 }' "build/$preset/bench/footprint.tsv")" |
    grep -cE 'St7istream|kestrel13stdio_filebuf|St9stringbuf|St7filebuf|St4clog' || true)
  printf_size=$(size_of printf)
  cout=cout
  $regression && cout=guarded
  check "static cout program over printf" $(($(size_of $cout) - printf_size)) $COUT_OVER_PRINTF
  check "with string and vector over printf" $(($(size_of containers) - printf_size)) \
    $CONTAINERS_OVER_PRINTF
  check "static vector program over empty C" $(($(size_of vector) - $(size_of empty))) \
    $VECTOR_OVER_EMPTY
  check "getline and cout over fgets and fputs" $(($(size_of getline) - $(size_of fgets))) \
    $GETLINE_OVER_FGETS
  stream_objs=()
  for unit in basic_ios clog ios_base ios_globals ostream stdio_filebuf streambuf; do
    stream_objs+=("$objs/$unit.cpp.o")
  done
  check ".text of the stream units" "$(text_of "${stream_objs[@]}")" $STREAM_UNITS_TEXT
  input_objs=()
  for unit in istream cin sstream fstream; do
    input_objs+=("$objs/$unit.cpp.o")
  done
  check ".text of the input units" "$(text_of "${input_objs[@]}")" $INPUT_UNITS_TEXT
  check "input and clog symbols in the cout program" "$unused_symbols" $UNUSED_IN_COUT
  # The input units are budgeted above: what the input streams added to
  # the library, charged only to programs that read.
  core_objs=()
  for obj in "$objs"/*.o; do
    case " ${input_objs[*]} " in *" $obj "*) ;; *) core_objs+=("$obj") ;; esac
  done
  check ".text of all other units" "$(text_of "${core_objs[@]}")" $CORE_UNITS_TEXT
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
