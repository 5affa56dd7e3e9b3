# Cross toolchain: 32-bit Windows (i686) through mingw-w64, posix thread model
# (GoogleTest's threading support needs it).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain-common.cmake)
