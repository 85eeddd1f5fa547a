# Shared by the build and test scripts: which presets to run, how to
# configure and build one of them, and how its programs run on this machine.

# Prints the presets to run: the arguments when given, otherwise i386 and
# x86-64, dropping i386 (with a one-line note on stderr) when this machine
# cannot configure it (no 32-bit toolchain) or cannot run its programs (no
# 32-bit kernel support and no qemu-i386). The build answers both questions
# (cmake/PlinthToolchain.cmake); its configure log stays in build/i386.log.
plinth_presets() {
  if [ "$#" -gt 0 ]; then
    echo "$@"
    return
  fi
  mkdir -p build
  if cmake --preset i386 >build/i386.log 2>&1 && [ "$(plinth_run_kind build/i386)" != no ]; then
    echo "i386 x86-64"
  else
    echo "i386 skipped: this machine cannot build or run i386 programs (see build/i386.log); install the 32-bit toolchain with 'apt-get install g++-multilib qemu-user'." >&2
    echo "x86-64"
  fi
}

plinth_build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

# Builds each preset to run (plinth_presets "$@") and runs CTest on it with
# the options that follow "--" in the arguments; false when any run failed.
#   plinth_build_and_test [PRESET...] -- [CTEST OPTION...]
plinth_build_and_test() {
  local presets=() preset status=0
  while [ "$#" -gt 0 ] && [ "$1" != -- ]; do
    presets+=("$1")
    shift
  done
  shift
  for preset in $(plinth_presets "${presets[@]}"); do
    echo "== $preset"
    plinth_build "$preset"
    ctest --preset "$preset" "$@" || status=1
  done
  return $status
}

# How the programs of the configured build in directory $1 run here:
# prints native, emulated or no.
plinth_run_kind() {
  (. "$1/plinth-run.env" && echo "$PLINTH_RUN")
}

# Prints the command that runs the programs of the build in directory $1:
# the emulator, or nothing when they run natively.
plinth_emulator() {
  (. "$1/plinth-run.env" && echo "$PLINTH_EMULATOR")
}
