# The product: 32-bit Windows, which every Windows user's machine runs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_mingw i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
