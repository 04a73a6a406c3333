# Native flavour: the portable code, tested with sanitizers.
set(MPI_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(${MPI_SANITIZE})
add_link_options(${MPI_SANITIZE})

find_package(GTest REQUIRED)
find_package(CURL REQUIRED)
add_library(mpi_curl INTERFACE)
target_link_libraries(mpi_curl INTERFACE CURL::libcurl)

function(mpi_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
endfunction()
