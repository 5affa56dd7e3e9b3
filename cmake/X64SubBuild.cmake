# The x64 sub-build, part of every build: its own build folder build/x64, its
# outputs in build/bin/x64 and build/tests/x64. Built every time (make finds
# out in a moment that nothing changed), so that edits reach both builds.
find_program(MINGW_X64_CXX x86_64-w64-mingw32-g++-posix)
if(NOT MINGW_X64_CXX)
    message(FATAL_ERROR "x86_64-w64-mingw32-g++-posix is missing: run tools/dev setup")
endif()
include(ExternalProject)
set(X64_BIN ${CMAKE_BINARY_DIR}/bin/x64)
# "shipped" leaves out the 64-bit test programs and GoogleTest: a rebuild
# that only compares what ships (tests/release/build-twice.sh) is then much
# shorter.
set(X64_TARGET all CACHE STRING "What the x64 sub-build builds: all, or shipped")
if(NOT CMAKE_GENERATOR MATCHES "Makefiles")
    message(FATAL_ERROR "The x64 sub-build is driven by make: configure with the cross preset")
endif()
ExternalProject_Add(x64
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/x64
    PREFIX ${CMAKE_BINARY_DIR}/x64/external
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-x86_64-mingw.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DOUTPUT_ROOT=${CMAKE_BINARY_DIR}
               -DGOOGLETEST_SOURCE_DIR=${GOOGLETEST_SOURCE_DIR}
    BUILD_COMMAND $(MAKE) ${X64_TARGET} # $(MAKE): it shares the outer build's jobs
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${X64_BIN}/wzkWmiBios.dll ${X64_BIN}/libwzkWmiBios.dll.a
                     ${X64_BIN}/wzkWmiBios.lib ${X64_BIN}/wzkFirmwareSim.dll)
