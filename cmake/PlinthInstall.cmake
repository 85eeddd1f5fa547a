# Installation and packaging.
#
# The headers carry the standard names (string, vector, ...), so they go to
# <prefix>/include/plinth, outside every compiler's default search path, and
# reach a consumer only through the package's include directory. The package
# is offered twice with the same flags: as a CMake config package giving the
# imported target plinth::plinth, and as plinth.pc for pkg-config.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Must match the INSTALL_INTERFACE include directory of plinth_headers.
set(PLINTH_INSTALL_INCLUDEDIR include/plinth)
set(PLINTH_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/plinth)
set(PLINTH_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# How a consumer links. Its link driver is g++ or clang++, which would add
# libstdc++ and with it a second std::cout built over plinth's storage.
# -nodefaultlibs drops every default library; the group puts back the C
# library, the language-support runtime and the compiler's own runtime (the
# static unwinder libgcc_eh, so nothing new is needed at run time). A group
# is order-proof, also for -static, and as one -Wl item no tool reorders,
# splits or drops its parts. --gc-sections drops the library's functions the
# program never calls (the units are built one section per function).
set(PLINTH_LINK_OPTIONS -nodefaultlibs -Wl,--gc-sections)
set(PLINTH_LINK_RUNTIME "-Wl,--start-group,-lsupc++,-lm,-lc,-lgcc,-lgcc_eh,--end-group")

# In this tree programs are linked by the C driver instead, so the options
# apply to installed consumers only.
target_link_options(plinth INTERFACE "$<INSTALL_INTERFACE:${PLINTH_LINK_OPTIONS}>")
target_link_libraries(plinth INTERFACE "$<INSTALL_INTERFACE:${PLINTH_LINK_RUNTIME}>")
set_target_properties(plinth_headers PROPERTIES EXPORT_NAME headers)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ DESTINATION ${PLINTH_INSTALL_INCLUDEDIR})
install(TARGETS plinth plinth_headers EXPORT plinthTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT plinthTargets NAMESPACE plinth:: DESTINATION ${PLINTH_INSTALL_CMAKEDIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/plinthConfig.cmake.in
  ${PROJECT_BINARY_DIR}/plinthConfig.cmake INSTALL_DESTINATION ${PLINTH_INSTALL_CMAKEDIR})
# The library is built for one architecture: a 32-bit build is not offered to
# a 64-bit consumer, nor the reverse.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/plinthConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/plinthConfig.cmake
              ${PROJECT_BINARY_DIR}/plinthConfigVersion.cmake
        DESTINATION ${PLINTH_INSTALL_CMAKEDIR})

# plinth.pc finds its prefix from its own location, so an installed tree can
# be moved. The link flags are the ones above, spelled for a command line. A
# 32-bit build built with -m32 asks the same of its consumers, which nothing
# else would check.
list(JOIN PLINTH_LINK_OPTIONS " " PLINTH_PC_LINK_OPTIONS)
set(PLINTH_PC_ARCH "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND " ${CMAKE_CXX_FLAGS} " MATCHES " -m32 ")
  set(PLINTH_PC_ARCH "-m32 ")
endif()
# A program built with the sanitizers links through the C driver instead
# (docs/using.md): its variable sanitizer_libs names the library, the
# language-support runtime and the pieces of it the sanitizer runtimes need.
list(TRANSFORM PLINTH_SANITIZER_LINK_SYMBOLS PREPEND "-Wl,-u," OUTPUT_VARIABLE _plinth_pc_symbols)
list(JOIN _plinth_pc_symbols " " PLINTH_PC_SANITIZER_SYMBOLS)
file(RELATIVE_PATH PLINTH_PC_TO_PREFIX /${PLINTH_INSTALL_PKGCONFIGDIR} /)
string(REGEX REPLACE "/$" "" PLINTH_PC_TO_PREFIX ${PLINTH_PC_TO_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/plinth.pc.in ${PROJECT_BINARY_DIR}/plinth.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/plinth.pc DESTINATION ${PLINTH_INSTALL_PKGCONFIGDIR})
