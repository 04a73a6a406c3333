# The test flavour: the same sources for 64-bit Windows, which Debian's
# wine64 runs at native speed on kernels that refuse 32-bit code. Not shipped.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
