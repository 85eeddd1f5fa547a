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

# Some x86-64 kernels are built without 32-bit support and refuse to execute
# i386 programs. There the tests run i386 programs under the user-mode
# emulator qemu-i386 (Debian package qemu-user).
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(_probe_dir ${CMAKE_BINARY_DIR}/CMakeFiles/plinth-exec-check)
  file(WRITE ${_probe_dir}/main.c "int main(void) { return 0; }\n")
  try_compile(_plinth_built ${_probe_dir}/build ${_probe_dir}/main.c
              COPY_FILE ${_probe_dir}/exec-check)
  execute_process(COMMAND ${_probe_dir}/exec-check RESULT_VARIABLE _plinth_ran
                  OUTPUT_QUIET ERROR_QUIET)
  if(_plinth_built AND NOT _plinth_ran EQUAL 0)
    find_program(PLINTH_QEMU_I386 qemu-i386)
    if(PLINTH_QEMU_I386)
      set(CMAKE_CROSSCOMPILING_EMULATOR ${PLINTH_QEMU_I386})
      message(STATUS "i386 programs run under ${PLINTH_QEMU_I386}")
    else()
      message(WARNING "This kernel cannot run i386 programs; install qemu-user to run the tests")
    endif()
  endif()
endif()

set(PLINTH_SANITIZERS address,undefined CACHE STRING "Sanitizers for PLINTH_SANITIZE")

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
  foreach(_sym __dynamic_cast __cxa_demangle _ZTISt9type_info
          _ZTIN10__cxxabiv117__class_type_infoE _ZTIN10__cxxabiv120__si_class_type_infoE
          _ZTIN10__cxxabiv121__vmi_class_type_infoE)
    add_link_options(-Wl,-u,${_sym})
  endforeach()
  # AddressSanitizer owns malloc: the tests' allocation-failure layer steps
  # aside under it.
  if(PLINTH_SANITIZERS MATCHES "address")
    add_compile_definitions(PLINTH_ASAN=1)
  endif()
endif()
