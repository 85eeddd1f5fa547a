#!/usr/bin/env bash
# Measures plinth against libstdc++ and libc++ and writes docs/performance.md
# with its chart docs/performance.svg.
#
#   bench/run.sh            full run (about 5 minutes on 2 cores)
#   ROUNDS=1 REPS=1 bench/run.sh   quick smoke run
#
# x86-64 builds are timed natively, interleaved round by round, best of
# ROUNDS x REPS repetitions. i386 builds are timed too when this kernel runs
# i386 programs; when it does not, they run under qemu-i386, whose timings
# mean nothing, and an instruction-counting plugin measures them instead.
# Work files go to build-bench/ (or $PLINTH_BENCH_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=${PLINTH_BENCH_DIR:-$ROOT/build-bench}
ROUNDS=${ROUNDS:-5}
REPS=${REPS:-3}
DATA=$OUT/data
CXXSTD=-std=c++17
OPT=-O2

note() { printf '== %s\n' "$*" >&2; }

# The peers, the chart tool and the 32-bit toolchain come from Debian.
ensure_packages() {
  local missing=()
  [ -d /usr/include/c++/v1 ] || [ -n "$(ls -d /usr/lib/llvm-*/include/c++/v1 2>/dev/null)" ] ||
    missing+=(libc++-dev libc++abi-dev)
  command -v gnuplot >/dev/null || missing+=(gnuplot-nox)
  [ -e "$(gcc -m32 -print-file-name=libsupc++.a)" ] && [ "$(gcc -m32 -print-file-name=libsupc++.a)" != libsupc++.a ] ||
    missing+=(g++-multilib)
  command -v qemu-i386 >/dev/null || missing+=(qemu-user)
  [ ${#missing[@]} -eq 0 ] && return
  if [ "$(id -u)" = 0 ]; then
    note "installing ${missing[*]}"
    apt-get update -q >/dev/null && apt-get install -y -q "${missing[@]}" >/dev/null
  else
    echo "bench/run.sh needs: apt-get install ${missing[*]}" >&2
    exit 1
  fi
}

# build_plinth DIR CXX ARCHFLAG: libplinth.a with the project's own flags.
build_plinth() {
  local dir=$1 cxx=$2 arch=$3 f
  mkdir -p "$dir/obj"
  for f in src/*.cpp; do
    "$cxx" $arch -std=c++11 $OPT -fno-exceptions -ffunction-sections -fdata-sections -Iinclude \
      -c "$f" -o "$dir/obj/$(basename "$f" .cpp).o"
  done
  rm -f "$dir/libplinth.a"
  ar rcs "$dir/libplinth.a" "$dir"/obj/*.o
}

# link_program LIB CXX CC ARCHFLAG SOURCE OUTPUT [LINKFLAGS...]
# Builds SOURCE against LIB (plinth, gnu or llvm) the way its users would.
link_program() {
  local lib=$1 cxx=$2 cc=$3 arch=$4 src=$5 out=$6
  shift 6
  case $lib in
    plinth)
      "$cxx" $arch $CXXSTD $OPT -fno-exceptions -Iinclude -c "$src" -o "$out.o"
      "$cc" $arch "$@" "$out.o" "$OUT/$cxx${arch}/libplinth.a" -lsupc++ -o "$out" ;;
    gnu)  "$cxx" $arch $CXXSTD $OPT "$src" -o "$out" "$@" ;;
    llvm) "$cxx" -stdlib=libc++ $arch $CXXSTD $OPT "$src" -o "$out" "$@" ;;
  esac
}

i386_native() {
  printf 'int main(void){return 0;}\n' >"$OUT/t.c"
  gcc -m32 "$OUT/t.c" -o "$OUT/t32" && "$OUT/t32" 2>/dev/null
}

# Variants: name, library, C++ compiler, C compiler, architecture flag.
VARIANTS_X64=(
  "x86-64 plinth g++|plinth|g++|gcc|-m64"
  "x86-64 libstdc++ g++|gnu|g++|gcc|-m64"
  "x86-64 plinth clang++|plinth|clang++|clang|-m64"
  "x86-64 libc++ clang++|llvm|clang++|clang|-m64"
)
VARIANTS_I386=(
  "i386 plinth g++|plinth|g++|gcc|-m32"
  "i386 libstdc++ g++|gnu|g++|gcc|-m32"
)

bin_of() { echo "$OUT/bin/$(echo "$1" | tr ' +' '_p')"; }

build_all() {
  note "building"
  mkdir -p "$OUT/bin"
  build_plinth "$OUT/g++-m64" g++ -m64
  build_plinth "$OUT/g++-m32" g++ -m32
  build_plinth "$OUT/clang++-m64" clang++ -m64
  local v name lib cxx cc arch
  for v in "${VARIANTS_X64[@]}" "${VARIANTS_I386[@]}"; do
    IFS='|' read -r name lib cxx cc arch <<<"$v"
    link_program "$lib" "$cxx" "$cc" "$arch" bench/bench.cpp "$(bin_of "$name")"
  done
  gcc -O2 -shared -fPIC bench/insn_count.c -o "$OUT/insn_count.so"
}

run_timed() {
  local timed=("${VARIANTS_X64[@]}") r i name
  $I386_NATIVE && timed+=("${VARIANTS_I386[@]}")
  : >"$DATA/times.tsv"
  for r in $(seq 1 "$ROUNDS"); do
    note "round $r of $ROUNDS"
    # Each round starts with another build, so none always runs first.
    for i in $(seq 0 $((${#timed[@]} - 1))); do
      name=${timed[(i + r) % ${#timed[@]}]%%|*}
      "$(bin_of "$name")" -r "$REPS" -t 1000 | sed "s/^/$name\t$r\t/" >>"$DATA/times.tsv" ||
        note "warning: $name reported a wrong result"
    done
  done
}

# One repetition per case under the plugin: the n-th count is the n-th case.
run_counted() {
  : >"$DATA/insns.tsv"
  $HAVE_QEMU || return 0
  local v name bin
  for v in "${VARIANTS_I386[@]}"; do
    name=${v%%|*}
    bin=$(bin_of "$name")
    note "counting instructions: $name"
    qemu-i386 -plugin "$OUT/insn_count.so,out=$OUT/counts.txt" "$bin" -r 1 >"$OUT/cases.txt" ||
      note "warning: $name reported a wrong result"
    grep -v '^total' "$OUT/counts.txt" | paste "$OUT/cases.txt" - |
      awk -F'\t' -v n="$name" '{ printf "%s\t%s\t%.4f\n", n, $1, $5 / $3 }' >>"$DATA/insns.tsv"
  done
}

# Wall-clock seconds of one command.
seconds() {
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null
  t1=$(date +%s%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }' 
}

median5() { sort -g | sed -n 3p; }

compile_times() {
  note "compile times"
  : >"$DATA/compile.tsv"
  local row cxx arch lib flags src i samples=$OUT/compile-samples.tsv
  # Two references for reading plinth's time: a unit with nothing but main
  # (the compiler and its code generator starting up), and plinth's headers
  # around that same main (what reading them adds).
  printf 'int main() { return 0; }\n' >"$OUT/main_only.cpp"
  printf '#include <string>\n#include <vector>\n#include <iostream>\nint main() { return 0; }\n' \
    >"$OUT/headers_only.cpp"
  for row in "g++ -m64" "g++ -m32" "clang++ -m64"; do
    read -r cxx arch <<<"$row"
    : >"$samples"
    # The libraries take turns, so a change of load hits each alike. "empty"
    # is an empty unit: the cost of starting the compiler at all.
    for i in 1 2 3 4 5; do
      for lib in plinth gnu llvm empty main headers; do
        src=bench/compile_unit.cpp
        case $lib in
          plinth) flags="-fno-exceptions -Iinclude" ;;
          gnu) flags="" ;;
          llvm) [ "$cxx" = clang++ ] || continue; flags="-stdlib=libc++" ;;
          empty) flags="-x c++" src=/dev/null ;;
          main) flags="" src=$OUT/main_only.cpp ;;
          headers) flags="-fno-exceptions -Iinclude" src=$OUT/headers_only.cpp ;;
        esac
        printf '%s\t%s\n' $lib "$(seconds "$cxx" $arch $CXXSTD $OPT $flags -c $src -o "$OUT/unit.o")" \
          >>"$samples"
      done
    done
    for lib in plinth gnu llvm empty main headers; do
      grep -q "^$lib" "$samples" || continue
      awk -v l=$lib '$1 == l { print $2 }' "$samples" | median5 |
        sed "s/^/$cxx $arch\t$lib\t/" >>"$DATA/compile.tsv"
    done
  done
}

stripped_size() { strip "$1" && stat -c %s "$1"; }

footprint() {
  note "footprint"
  : >"$DATA/size.tsv"
  local arch link lib cxx cc extra out
  # Every program is linked with --gc-sections, as the installed package links
  # plinth's users, so the C library's unused parts drop out of both sides.
  for arch in -m32 -m64; do
    for link in dynamic static; do
      extra=(-Wl,--gc-sections)
      [ $link = static ] && extra+=(-static)
      out="$OUT/bin/hello_printf$arch$link"
      gcc $arch $OPT bench/hello_printf.c -o "$out" "${extra[@]}"
      printf '%s\t%s\t%s\t%s\n' "$arch" printf "$link" "$(stripped_size "$out")" >>"$DATA/size.tsv"
      for lib in plinth gnu llvm; do
        cxx=g++ cc=gcc
        if [ $lib = llvm ]; then
          [ $arch = -m64 ] || continue
          cxx=clang++ cc=clang
          [ $link = static ] && extra+=(-lc++abi -lpthread)
        fi
        out="$OUT/bin/hello_$lib$arch$link"
        link_program $lib $cxx $cc $arch bench/hello_cout.cpp "$out" "${extra[@]}"
        printf '%s\t%s\t%s\t%s\n' "$arch" $lib $link "$(stripped_size "$out")" >>"$DATA/size.tsv"
      done
    done
  done
  # The C++ runtime's demangler, which a static program carries along with
  # the one-time guard (its error path reaches the verbose terminate handler).
  : >"$DATA/runtime.tsv"
  for arch in -m32 -m64; do
    printf '%s\tdemangler\t%s\n' "$arch" "$(size "$(gcc $arch -print-file-name=libsupc++.a)" |
      awk '$6 == "cp-demangle.o" { print $1 + $2 }')" >>"$DATA/runtime.tsv"
  done
  # Text of each compiled unit: the code sections (one per function), and all
  # read-only sections.
  : >"$DATA/units.tsv"
  local o
  for arch in -m32 -m64; do
    for o in "$OUT/g++$arch"/obj/*.o; do
      printf '%s\t%s\t%s\t%s\n' "$arch" "$(basename "$o" .o)" \
        "$(size -A "$o" | awk '$1 == ".text" || $1 ~ /^\.text\./ { t += $2 } END { print t + 0 }')" \
        "$(size "$o" | awk 'NR == 2 { print $1 }')" >>"$DATA/units.tsv"
    done
  done
}

machine() {
  {
    printf 'cpu\t%s\n' "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
    printf 'cores\t%s\n' "$(nproc)"
    printf 'kernel\t%s\n' "$(uname -sr)"
    printf 'os\t%s\n' "$(. /etc/os-release && echo "$PRETTY_NAME")"
    printf 'g++\t%s\n' "$(g++ --version | head -1)"
    printf 'clang++\t%s\n' "$(clang++ --version | head -1)"
    printf 'glibc\t%s\n' "$(ldd --version | head -1)"
    printf 'libc++\t%s\n' "$(dpkg-query -W -f '${Version}' 'libc++-dev*' 2>/dev/null | head -1)"
    printf 'qemu\t%s\n' "$(qemu-i386 --version 2>/dev/null | head -1)"
    printf 'i386 native\t%s\n' "$I386_NATIVE"
    printf 'rounds\t%s x %s repetitions\n' "$ROUNDS" "$REPS"
    printf 'date\t%s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
  } >"$DATA/machine.tsv"
}

ensure_packages
mkdir -p "$DATA"
I386_NATIVE=false
i386_native && I386_NATIVE=true
HAVE_QEMU=false
! $I386_NATIVE && command -v qemu-i386 >/dev/null && HAVE_QEMU=true
build_all
machine
printf 'load before\t%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)" >>"$DATA/machine.tsv"
run_timed
run_counted
compile_times
footprint
printf 'load after\t%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)" >>"$DATA/machine.tsv"
note "writing docs/performance.md"
python3 bench/report.py "$DATA" "$ROOT/docs"
