# Windows tests that need a network run in a private one (scripts/netns-run):
# the product host resolves to 127.0.0.1 and nothing leaves the machine.
# Their programs are never registered through mpi_add_test, which would run
# them in the machine's own network.
include_guard(DIRECTORY)

# The host the product talks to, read from its one definition.
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/product-host
                OUTPUT_VARIABLE MPI_PRODUCT_HOST OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/src/common/product.h)
# The system's interpreter, as scripts/netns-run uses for its own server.
find_program(MPI_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT MPI_SYSTEM_PYTHON3)
  find_program(MPI_SYSTEM_PYTHON3 python3 REQUIRED)
endif()
# A small static site to serve on port 80.
set(MPI_TEST_SITE ${CMAKE_CURRENT_LIST_DIR}/site)

# A GoogleTest program for the private network: built, not registered.
function(mpi_add_private_network_program name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE gtest_main)
endfunction()

# mpi_add_private_network_test(NAME TARGET program GTEST_FILTER pattern
#                              [SERVE folder] [HOSTS name...] [ARGS arg...])
# Runs the tests of `program` that match `pattern` under Wine in a private
# network where the product host (and HOSTS) resolve to 127.0.0.1; with SERVE,
# a static HTTP server serves `folder` on 127.0.0.1:80. Passes only when at
# least one test ran and none failed.
function(mpi_add_private_network_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TARGET;GTEST_FILTER;SERVE" "HOSTS;ARGS")
  set(options --host ${MPI_PRODUCT_HOST})
  foreach(host IN LISTS arg_HOSTS)
    list(APPEND options --host ${host})
  endforeach()
  if(arg_SERVE)
    list(APPEND options --serve ${arg_SERVE})
  endif()
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/netns-run ${options} --
                   ${PROJECT_SOURCE_DIR}/scripts/wine-run --build ${CMAKE_BINARY_DIR}
                   $<TARGET_FILE:${arg_TARGET}> --gtest_filter=${arg_GTEST_FILTER} ${arg_ARGS})
  mpi_wine_test_properties(${name} 600)
  set_tests_properties(${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9][0-9]* tests?\\."
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()
