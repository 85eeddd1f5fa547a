#!/usr/bin/env bash
# Builds the example programs (wordfreq and colstats) from an installed
# plinth, for each compiler: through CMake's find_package, twice through
# pkg-config and a plain Makefile (the second time with -nostdinc++),
# through the make snippet of docs/using.md as printed there (wordfreq; it
# must also stop when pkg-config finds no plinth), and with the sanitizers
# as docs/using.md links them. Checks that every program links without a
# C++ standard library and that it gives the expected results on the
# committed texts and on bad input.
#
#   examples/check.sh PREFIX [COMPILER...]
#
# PREFIX is where plinth was installed (cmake --install BUILD --prefix
# PREFIX). The compilers default to g++ and clang++, those that exist. A
# 32-bit installation is built with -m32. The programs run under the command
# in PLINTH_EMULATOR when it is set: scripts/package-check.sh passes on the
# answer of the build that installed PREFIX (qemu-i386 for i386 programs on
# a kernel that cannot run them).
set -euo pipefail

if [ "$#" -lt 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 PREFIX [COMPILER...]" >&2
  exit 2
fi
prefix=$(cd "$1" && pwd)
shift
src=$(cd "$(dirname "$0")/wordfreq" && pwd)
colstats=$(cd "$(dirname "$0")/colstats" && pwd)
docs=$(cd "$(dirname "$0")/../docs" && pwd)
data=$src/testdata
compilers=("$@")
if [ "${#compilers[@]}" -eq 0 ]; then
  for c in g++ clang++; do
    if command -v "$c" >/dev/null; then compilers+=("$c"); fi
  done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake_args=()
arch=64-bit
# grep reads all of it: with -q it may stop early and fail the pipe (SIGPIPE).
if readelf -h "$prefix"/lib*/libplinth.a | grep ELF32 >/dev/null; then
  arch=32-bit
  # pkg-config's flags carry -m32 already; CMake must be told.
  cmake_args+=(-DCMAKE_CXX_FLAGS=-m32)
fi

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect LABEL STATUS STDOUT_FILE STDERR_PATTERN STDIN_FILE -- COMMAND...
# Runs COMMAND and compares its exit status, its standard output with
# STDOUT_FILE and its standard error with the grep pattern (empty: no output).
expect() {
  local label=$1 status=$2 want_out=$3 want_err=$4 input=$5 rc=0
  shift 6
  "$@" <"$input" >"$work/out" 2>"$work/err" || rc=$?
  if [ "$rc" != "$status" ]; then
    fail "$label: exit status $rc, expected $status"
  fi
  if ! cmp -s "$work/out" "$want_out"; then
    fail "$label: unexpected output"
    diff "$want_out" "$work/out" | head -20 >&2 || true
  fi
  if [ -z "$want_err" ]; then
    if [ -s "$work/err" ]; then fail "$label: unexpected error output: $(head -c 300 "$work/err")"; fi
  elif ! grep -q -- "$want_err" "$work/err"; then
    fail "$label: error output lacks '$want_err': $(head -c 300 "$work/err")"
  fi
}

# The emulator's words, when there is one.
read -r -a run <<<"${PLINTH_EMULATOR:-}"

check_program() {
  local label=$1 exe=$2
  if readelf -d "$exe" | grep -E 'NEEDED.*lib(std)?c\+\+'; then
    fail "$label: links a C++ standard library"
  fi
  head -n 3 "$data/sample.expected" >"$work/top3"
  printf 'abc\0def\n' >"$work/binary"
  expect "$label sample" 0 "$data/sample.expected" "" /dev/null -- "${run[@]}" "$exe" "$data/sample.txt"
  expect "$label stdin" 0 "$work/top3" "" "$data/sample.txt" -- "${run[@]}" "$exe" -n 3
  expect "$label empty" 0 /dev/null "" /dev/null -- "${run[@]}" "$exe"
  expect "$label missing" 1 /dev/null "wordfreq: $work/missing: No such file or directory" /dev/null \
    -- "${run[@]}" "$exe" "$work/missing"
  expect "$label directory" 1 /dev/null "Is a directory" /dev/null -- "${run[@]}" "$exe" "$work"
  expect "$label binary" 1 /dev/null "binary data" "$work/binary" -- "${run[@]}" "$exe"
  expect "$label usage" 2 /dev/null "usage: wordfreq" /dev/null -- "${run[@]}" "$exe" -n many
  echo "checked: $label"
}

# The second tool reads files and standard input through the streams.
check_colstats() {
  local label="colstats, $1" exe=$2 cdata=$colstats/testdata
  if readelf -d "$exe" | grep -E 'NEEDED.*lib(std)?c\+\+'; then
    fail "$label: links a C++ standard library"
  fi
  expect "$label table" 0 "$cdata/table.expected" "" /dev/null -- "${run[@]}" "$exe" "$cdata/table.txt"
  expect "$label stdin" 0 "$cdata/table.expected" "" "$cdata/table.txt" -- "${run[@]}" "$exe"
  expect "$label csv" 0 "$cdata/table_csv.expected" "" "$cdata/table.csv" -- "${run[@]}" "$exe" -d , -
  expect "$label empty" 0 /dev/null "" /dev/null -- "${run[@]}" "$exe"
  expect "$label missing" 1 /dev/null "colstats: $work/missing: No such file or directory" /dev/null \
    -- "${run[@]}" "$exe" "$work/missing"
  expect "$label directory" 1 /dev/null "Is a directory" /dev/null -- "${run[@]}" "$exe" "$work"
  expect "$label usage" 2 /dev/null "usage: colstats" /dev/null -- "${run[@]}" "$exe" -d
  echo "checked: $label"
}

# Each example's source directory and the function that checks its program.
example_dir() { if [ "$1" = wordfreq ]; then echo "$src"; else echo "$colstats"; fi; }
example_check() { if [ "$1" = wordfreq ]; then echo check_program; else echo check_colstats; fi; }

for cxx in "${compilers[@]}"; do
  name=$(basename "$cxx")
  for example in wordfreq colstats; do
    build=$work/cmake-$example-$name
    if cmake -S "$(example_dir $example)" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" \
        -DCMAKE_PREFIX_PATH="$prefix" "${cmake_args[@]}" >"$work/log" 2>&1 &&
      cmake --build "$build" >>"$work/log" 2>&1; then
      "$(example_check $example)" "find_package, $name, $arch" "$build/$example"
    else
      cat "$work/log" >&2
      fail "$example, find_package, $name: build failed"
    fi
  done

  # Once as usual, and once with -nostdinc++: plinth's headers and the C
  # library's are all the program needs.
  for flags in "" -nostdinc++; do
    build=$work/make-$name$flags
    mkdir -p "$build"
    for example in wordfreq colstats; do
      if make -s -C "$(example_dir $example)" BUILD="$build" CXX="$cxx" \
          PKG_CONFIG_PATH="$prefix/lib/pkgconfig" CXXFLAGS="-O2 -Wall -Wextra $flags" \
          >"$work/log" 2>&1; then
        "$(example_check $example)" "pkg-config, $name, $arch${flags:+, $flags}" "$build/$example"
      else
        cat "$work/log" >&2
        fail "$example, pkg-config, $name${flags:+, $flags}: build failed"
      fi
    done
  done

  # The make snippet of docs/using.md as printed there: it builds with
  # PKG_CONFIG_PATH given to make, and stops when pkg-config finds no plinth.
  build=$work/doc-make-$name
  mkdir -p "$build"
  sed -n '/^```make$/,/^```$/{/^```/d;p}' "$docs/using.md" >"$build/Makefile"
  cp "$src/wordfreq.cpp" "$build/tool.cpp"
  if make -s -C "$build" CXX="$cxx" PKG_CONFIG_PATH="$prefix/lib/pkgconfig" >"$work/log" 2>&1; then
    check_program "docs/using.md make, $name, $arch" "$build/tool"
  else
    cat "$work/log" >&2
    fail "docs/using.md make, $name: build failed"
  fi
  if make -s -B -C "$build" CXX="$cxx" PKG_CONFIG_PATH="$work/nowhere" >"$work/log" 2>&1; then
    fail "docs/using.md make, $name: built without plinth"
  elif ! grep -q "pkg-config finds no plinth" "$work/log"; then
    fail "docs/using.md make, $name: no message: $(head -c 300 "$work/log")"
  fi

  # The sanitizer build of docs/using.md: compile as usual, link through the
  # C driver with the static runtimes and plinth.pc's sanitizer_libs.
  san=(-fsanitize=address,undefined -fno-omit-frame-pointer -g)
  if [ "$name" = clang++ ]; then
    link=(clang "${san[@]}" -static-libsan -fsanitize-link-c++-runtime)
  else
    link=(gcc "${san[@]}" -static-libasan -static-libubsan)
  fi
  build=$work/asan-$name
  mkdir -p "$build"
  # LeakSanitizer hangs at exit under qemu-i386: leaks are checked natively.
  leaks=1
  [ "${#run[@]}" -eq 0 ] || leaks=0
  for example in wordfreq colstats; do
    # shellcheck disable=SC2046 # pkg-config's words are meant to split
    if "$cxx" "${san[@]}" -c "$(example_dir $example)/$example.cpp" -o "$build/$example.o" \
        $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags plinth) >"$work/log" 2>&1 &&
      "${link[@]}" "$build/$example.o" -o "$build/$example" \
        $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --variable=sanitizer_libs plinth) \
        >>"$work/log" 2>&1; then
      ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=$leaks \
        "$(example_check $example)" "sanitizers, $name, $arch" "$build/$example"
    else
      head -20 "$work/log" >&2
      fail "$example, sanitizers, $name: build failed"
    fi
  done
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
