# Fails when the dynamic section of PROGRAM names libstdc++: plinth defines
# its own std::cout, and libstdc++ would construct a second one over it.
execute_process(COMMAND readelf -d ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${PROGRAM}: ${err}")
endif()
if(out MATCHES "libstdc\\+\\+" OR out MATCHES "libc\\+\\+")
  message(FATAL_ERROR "${PROGRAM} needs a C++ standard library:\n${out}")
endif()
if(NOT out MATCHES "NEEDED")
  message(FATAL_ERROR "${PROGRAM} has no dynamic section to check:\n${out}")
endif()
