#!/usr/bin/env bash
# Measures plinth against libstdc++ and libc++ and writes docs/performance.md
# with its chart docs/performance.svg.
#
#   bench/run.sh            full run (about 3 minutes on 2 cores)
#   ROUNDS=1 REPS=1 bench/run.sh   quick smoke run
#
# Every program is built through CMake: one build per compiler and
# architecture below, whose bench/CMakeLists.txt defines the variants. The
# variants are timed interleaved round by round, best of ROUNDS x REPS
# repetitions, where their build's configuration found that they run
# natively (cmake/PlinthToolchain.cmake); i386 programs that run only under
# qemu-i386, whose timings mean nothing, are measured by an
# instruction-counting plugin instead. Work files go to build-bench/ (or
# $PLINTH_BENCH_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=${PLINTH_BENCH_DIR:-$ROOT/build-bench}
ROUNDS=${ROUNDS:-5}
REPS=${REPS:-3}
DATA=$OUT/data
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

# The builds: label (a compiler and its architecture flag, as the report
# names them), C compiler, C++ compiler, CMake toolchain file. Each is one
# CMake build of the project, whose bench/ directory defines the variants
# (bench/CMakeLists.txt): programs, names and libraries.
BUILDS=(
  "g++ -m64|gcc|g++|"
  "g++ -m32|gcc|g++|cmake/i386-linux.cmake"
  "clang++ -m64|clang|clang++|"
)

dir_of() { echo "$OUT/build-$(echo "$1" | tr ' +' '_p')"; }

# Configures and builds every build with the flags it measures: -O2, the
# library as the project builds it, the benchmark as C++17.
build_all() {
  note "building"
  local b label cc cxx toolchain dir args
  : >"$DATA/variants.tsv"
  for b in "${BUILDS[@]}"; do
    IFS='|' read -r label cc cxx toolchain <<<"$b"
    dir=$(dir_of "$label")
    args=(-DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx")
    [ -n "$toolchain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/$toolchain")
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE=$OPT \
      -DCMAKE_CXX_FLAGS_RELEASE=$OPT -DPLINTH_BUILD_TESTS=OFF "${args[@]}" >"$dir.log" 2>&1 ||
      { cat "$dir.log" >&2; exit 1; }
    cmake --build "$dir" >>"$dir.log" 2>&1 || { cat "$dir.log" >&2; exit 1; }
    # How this build's programs run here, as its configuration found out.
    . "$dir/plinth-run.env"
    awk -F'\t' -v run="$PLINTH_RUN" -v label="$label" 'BEGIN { OFS = "\t" }
      { print $0, run, label }' "$dir/bench/variants.tsv" >>"$DATA/variants.tsv"
  done
}

# variants_where AWK_CONDITION: the variants.tsv rows that meet it. Columns:
# 1 name, 2 library, 3 benchmark, 4 and 5 dynamic and static footprint
# programs, 6 how the build runs here (native, emulated, no), 7 build label.
variants_where() { awk -F'\t' "$1" "$DATA/variants.tsv"; }

run_timed() {
  local timed=() r i name bin
  mapfile -t timed < <(variants_where '$3 != "" && $6 == "native" { print $1 "\t" $3 }')
  : >"$DATA/times.tsv"
  for r in $(seq 1 "$ROUNDS"); do
    note "round $r of $ROUNDS"
    # Each round starts with another build, so none always runs first.
    for i in $(seq 0 $((${#timed[@]} - 1))); do
      IFS=$'\t' read -r name bin <<<"${timed[(i + r) % ${#timed[@]}]}"
      "$bin" -r "$REPS" -t 1000 | sed "s/^/$name\t$r\t/" >>"$DATA/times.tsv" ||
        note "warning: $name reported a wrong result"
    done
  done
}

# Programs this machine runs only under an emulator (i386 on a kernel
# without 32-bit support) are not timed: one repetition per case runs under
# the instruction-counting plugin, and the n-th count is the n-th case.
run_counted() {
  : >"$DATA/insns.tsv"
  local name bin label emulator
  while IFS=$'\t' read -r name bin label; do
    emulator=$(. "$(dir_of "$label")/plinth-run.env" && echo "$PLINTH_EMULATOR")
    note "counting instructions: $name"
    $emulator -plugin "$(dir_of "g++ -m64")/bench/insn_count.so,out=$OUT/counts.txt" "$bin" -r 1 \
      >"$OUT/cases.txt" || note "warning: $name reported a wrong result"
    grep -v '^total' "$OUT/counts.txt" | paste "$OUT/cases.txt" - |
      awk -F'\t' -v n="$name" '{ printf "%s\t%s\t%.4f\n", n, $1, $5 / $3 }' >>"$DATA/insns.tsv"
  done < <(variants_where '$3 != "" && $6 == "emulated" { print $1 "\t" $3 "\t" $7 }')
}

# Wall-clock seconds of one command.
seconds() {
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null
  t1=$(date +%s%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }' 
}

# The fastest of a sample's runs: a compile is never faster than its work,
# and anything else the machine does only slows it.
fastest() { sort -g | head -n 1; }

# The command that compiles object $2 of build directory $1, as the build
# runs it, without the dependency-file options.
compile_command() {
  (cd "$1" && ninja -t commands -s "${2#"$1"/}" | sed -E 's/ -MD -MT [^ ]+ -MF [^ ]+//')
}

compile_times() {
  note "compile times"
  : >"$DATA/compile.tsv"
  local b label dir sample object i words samples=$OUT/compile-samples.tsv
  local -A commands
  for b in "${BUILDS[@]}"; do
    label=${b%%|*}
    dir=$(dir_of "$label")
    : >"$samples"
    # The samples (bench/CMakeLists.txt) take turns, so a change of load
    # hits each alike.
    commands=()
    while IFS=$'\t' read -r sample object; do
      commands[$sample]=$(compile_command "$dir" "$object")
    done <"$dir/bench/compile-units.tsv"
    for i in 1 2 3 4 5 6 7; do
      for sample in "${!commands[@]}"; do
        read -r -a words <<<"${commands[$sample]}"
        printf '%s\t%s\n' "$sample" "$(cd "$dir" && seconds "${words[@]}")" >>"$samples"
      done
    done
    for sample in "${!commands[@]}"; do
      awk -v l="$sample" '$1 == l { print $2 }' "$samples" | fastest |
        sed "s/^/$label\t$sample\t/" >>"$DATA/compile.tsv"
    done
  done
}

# Strips a copy of program $1; prints its size.
stripped_size() {
  cp "$1" "$OUT/stripped" && strip "$OUT/stripped" && stat -c %s "$OUT/stripped"
}

footprint() {
  note "footprint"
  : >"$DATA/size.tsv"
  local lib dynamic static label arch
  # plinth, libstdc++ and the printf floor from the g++ builds, libc++ from
  # the clang++ one.
  while IFS=$'\t' read -r lib dynamic static label; do
    arch=${label##* }
    printf '%s\t%s\t%s\t%s\n' "$arch" "$lib" dynamic "$(stripped_size "$dynamic")" >>"$DATA/size.tsv"
    printf '%s\t%s\t%s\t%s\n' "$arch" "$lib" static "$(stripped_size "$static")" >>"$DATA/size.tsv"
  done < <(variants_where '$2 == "llvm" || $7 ~ /^g\+\+/ { print $2 "\t" $4 "\t" $5 "\t" $7 }')
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
    for o in "$(dir_of "g++ $arch")"/CMakeFiles/plinth.dir/src/*.o; do
      printf '%s\t%s\t%s\t%s\n' "$arch" "$(basename "$o" .cpp.o)" \
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
    printf 'i386 native\t%s\n' "$(variants_where '$1 ~ /^i386/ { n = $6 == "native" }
      END { print n ? "true" : "false" }')"
    printf 'rounds\t%s x %s repetitions\n' "$ROUNDS" "$REPS"
    printf 'date\t%s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
  } >"$DATA/machine.tsv"
}

ensure_packages
mkdir -p "$DATA"
build_all
machine
printf 'load before\t%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)" >>"$DATA/machine.tsv"
run_timed
run_counted
compile_times
footprint
note "footprint budgets"
scripts/budgets.sh --tsv "$DATA/budgets.tsv" >/dev/null || note "warning: a footprint budget is exceeded"
printf 'load after\t%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)" >>"$DATA/machine.tsv"
note "writing docs/performance.md"
python3 bench/report.py "$DATA" "$ROOT/docs"
