# Tests of the installer download.

# The texts, the arithmetic and the event handlers, natively with sanitizers
# and under Wine (x87 percentage, the platform's upper-casing).
mpi_add_test(download_rules_tests ${CMAKE_CURRENT_LIST_DIR}/download_text_test.cpp
             ${CMAKE_CURRENT_LIST_DIR}/download_log_writer_test.cpp)
target_link_libraries(download_rules_tests PRIVATE mpi_download_rules)

if(WIN32)
  # DownloadInstaller against a real HTTP server in a private network, onto
  # simulated drives. The site script serves while the test program runs.
  include(${PROJECT_SOURCE_DIR}/tests/netns/netns.cmake)
  mpi_add_private_network_program(download_installer_wine_tests
                                  ${CMAKE_CURRENT_LIST_DIR}/download_installer_wine_test.cpp)
  target_link_libraries(download_installer_wine_tests PRIVATE mpi_download_installer mpi_wine_support)
  target_include_directories(download_installer_wine_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # The system's interpreter, as scripts/netns-run uses for its own server.
  find_program(MPI_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(NOT MPI_SYSTEM_PYTHON3)
    find_program(MPI_SYSTEM_PYTHON3 python3 REQUIRED)
  endif()
  add_test(NAME download_installer_wine_tests
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/netns-run --host ${MPI_PRODUCT_HOST} --
                   ${MPI_SYSTEM_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/download_site.py --port 80 --
                   ${PROJECT_SOURCE_DIR}/scripts/wine-run --build ${CMAKE_BINARY_DIR}
                   $<TARGET_FILE:download_installer_wine_tests>)
  set_tests_properties(download_installer_wine_tests PROPERTIES
    TIMEOUT 600
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9][0-9]* tests?\\."
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endif()
