# Windows flavours (win32, the product; win64, the same sources as a test
# flavour): the product and the Windows tests, all statically linked so that
# nothing but Windows' own DLLs is needed.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++
                 -Wl,--nxcompat -Wl,--dynamicbase)

# GoogleTest from Debian's sources, built for this target.
set(MPI_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${MPI_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Which Windows this tree is built for: scripts/wine-run reads it to pick
# Wine's loader (the 32-bit one, or wine64 for the 64-bit flavour).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(MPI_WINDOWS_FLAVOUR win64)
  set(MPI_MINGW_TARGET x86_64-w64-mingw32)
else()
  set(MPI_WINDOWS_FLAVOUR win32)
  set(MPI_MINGW_TARGET i686-w64-mingw32)
endif()
file(WRITE ${CMAKE_BINARY_DIR}/windows-flavour "${MPI_WINDOWS_FLAVOUR}\n")

# libcurl, cross-built from Debian's curl sources by scripts/build-curl-windows.
set(MPI_CURL_PREFIX ${CMAKE_BINARY_DIR}/deps/curl CACHE PATH "libcurl built for ${MPI_MINGW_TARGET}")
if(NOT EXISTS ${MPI_CURL_PREFIX}/lib/libcurl.a)
  message(FATAL_ERROR "libcurl for Windows is missing in ${MPI_CURL_PREFIX}: run scripts/build-curl-windows ${MPI_MINGW_TARGET} ${MPI_CURL_PREFIX}")
endif()
add_library(mpi_curl INTERFACE)
target_include_directories(mpi_curl SYSTEM INTERFACE ${MPI_CURL_PREFIX}/include)
target_compile_definitions(mpi_curl INTERFACE CURL_STATICLIB)
target_link_libraries(mpi_curl INTERFACE ${MPI_CURL_PREFIX}/lib/libcurl.a ws2_32 bcrypt advapi32 crypt32 secur32)

# Every test that runs under Wine. None is ever skipped: where this machine
# cannot run the flavour's programs, scripts/wine-run fails with the reason.
function(mpi_wine_test_properties name timeout)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout})
endfunction()

function(mpi_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  # A fresh Wine prefix and display per run; the suites inside share them.
  mpi_wine_test_properties(${name} 600)
endfunction()

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run --build ${CMAKE_BINARY_DIR})
