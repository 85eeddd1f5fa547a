# Shared by the build and test scripts: which presets to run, and how to
# configure and build one of them.

# Prints the presets to run: the arguments when given, otherwise i386 and
# x86-64, dropping i386 (with a one-line note on stderr) when this machine
# has no 32-bit toolchain.
plinth_presets() {
  if [ "$#" -gt 0 ]; then
    echo "$@"
    return
  fi
  if plinth_has_i386; then
    echo "i386 x86-64"
  else
    echo "i386 skipped: no 32-bit toolchain here; install it with 'apt-get install g++-multilib qemu-user'." >&2
    echo "x86-64"
  fi
}

# True when gcc can build and link a 32-bit program with libsupc++, and
# this machine can run it: natively, or under qemu-i386 when the kernel has
# no 32-bit support.
plinth_has_i386() {
  local dir ok=1
  dir=$(mktemp -d)
  printf 'int main(void) { return 0; }\n' >"$dir/t.c"
  if gcc -m32 "$dir/t.c" -o "$dir/t" -lsupc++ >/dev/null 2>&1; then
    if "$dir/t" >/dev/null 2>&1 || command -v qemu-i386 >/dev/null; then
      ok=0
    fi
  fi
  rm -rf "$dir"
  return $ok
}

plinth_build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}
