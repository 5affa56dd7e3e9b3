# Cross toolchain: 64-bit Windows (x86-64) through mingw-w64, like the i686
# one. Used by the x64 sub-build of the top-level project (the BIOS library,
# the simulator and their tests).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain-common.cmake)
