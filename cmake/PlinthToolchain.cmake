# How plinth's programs are compiled and linked.
#
# Programs link the C library and the language-support runtime (libsupc++)
# only. libstdc++ would bring a second std::cout whose start-up code builds
# its own stream in plinth's storage, so executables are linked by the C
# compiler driver, which adds no C++ library, with -lsupc++ added last, and
# the maths library that the C++ driver would add (<cmath>), as the
# installed package does.
set(CMAKE_CXX_LINK_EXECUTABLE
    "<CMAKE_C_COMPILER> <FLAGS> <CMAKE_CXX_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES> -lsupc++ -lm")

# How this build's programs run on this machine, decided here once for the
# tests and every script (tests, benchmark, examples, valgrind): natively,
# or under the user-mode emulator qemu-i386 (Debian package qemu-user) on
# x86-64 kernels built without 32-bit support, which refuse to execute i386
# programs. The answer goes to CMAKE_CROSSCOMPILING_EMULATOR for CTest and
# to ${CMAKE_BINARY_DIR}/plinth-run.env for the scripts (scripts/lib.sh
# reads it):
#   PLINTH_RUN=native|emulated|no   PLINTH_EMULATOR=<emulator or empty>
set(_plinth_run native)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(_plinth_run emulated)
else()
  set(_probe_dir ${CMAKE_BINARY_DIR}/CMakeFiles/plinth-exec-check)
  file(WRITE ${_probe_dir}/main.c "int main(void) { return 0; }\n")
  try_compile(_plinth_built ${_probe_dir}/build ${_probe_dir}/main.c
              COPY_FILE ${_probe_dir}/exec-check)
  execute_process(COMMAND ${_probe_dir}/exec-check RESULT_VARIABLE _plinth_ran
                  OUTPUT_QUIET ERROR_QUIET)
  if(_plinth_built AND NOT _plinth_ran EQUAL 0)
    set(_plinth_run no)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      find_program(PLINTH_QEMU_I386 qemu-i386)
      if(PLINTH_QEMU_I386)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${PLINTH_QEMU_I386})
        set(_plinth_run emulated)
        message(STATUS "i386 programs run under ${PLINTH_QEMU_I386}")
      endif()
    endif()
    if(_plinth_run STREQUAL "no")
      message(WARNING "This machine cannot run the programs of this build; for i386 install "
                      "qemu-user to run the tests")
    endif()
  endif()
endif()
list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " _plinth_emulator)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/plinth-run.env
     CONTENT "PLINTH_RUN=${_plinth_run}\nPLINTH_EMULATOR='${_plinth_emulator}'\n")

set(PLINTH_SANITIZERS address,undefined CACHE STRING "Sanitizers for PLINTH_SANITIZE")
# The C++ ABI pieces that the static sanitizer runtimes need from libsupc++
# in a program linked without libstdc++ (also offered to the package's
# users: plinth.pc's sanitizer_libs).
set(PLINTH_SANITIZER_LINK_SYMBOLS __dynamic_cast __cxa_demangle _ZTISt9type_info
    _ZTIN10__cxxabiv117__class_type_infoE _ZTIN10__cxxabiv120__si_class_type_infoE
    _ZTIN10__cxxabiv121__vmi_class_type_infoE)

if(PLINTH_SANITIZE)
  set(_plinth_san -fsanitize=${PLINTH_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_plinth_san})
  add_link_options(${_plinth_san})
  # The shared sanitizer runtimes load libstdc++; link them statically and
  # pull in the C++ ABI pieces they need from libsupc++.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_link_options(-static-libasan -static-libubsan)
  else()
    add_link_options(-static-libsan -fsanitize-link-c++-runtime)
  endif()
  foreach(_sym ${PLINTH_SANITIZER_LINK_SYMBOLS})
    add_link_options(-Wl,-u,${_sym})
  endforeach()
  # AddressSanitizer owns malloc: the tests' allocation-failure layer steps
  # aside under it.
  if(PLINTH_SANITIZERS MATCHES "address")
    add_compile_definitions(PLINTH_ASAN=1)
  endif()
endif()
