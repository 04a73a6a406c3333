# Tests of the help button.
if(WIN32)
  # The decision and the exact shell call and box text, answers scripted.
  mpi_add_test(help_page_tests ${CMAKE_CURRENT_LIST_DIR}/help_page_test.cpp)
  target_link_libraries(help_page_tests PRIVATE mpi_help_page)
  target_include_directories(help_page_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)

  # The button as the window calls it: real wininet, shell and box, in a
  # private network with and without the site answering.
  include(${PROJECT_SOURCE_DIR}/tests/netns/netns.cmake)
  mpi_add_private_network_program(help_page_wine_tests ${CMAKE_CURRENT_LIST_DIR}/help_page_wine_test.cpp)
  target_link_libraries(help_page_wine_tests PRIVATE mpi_help_page)
  mpi_add_private_network_test(help_page_site_listening TARGET help_page_wine_tests
                               GTEST_FILTER PrivateNetworkWithServer.* SERVE ${MPI_TEST_SITE})
  mpi_add_private_network_test(help_page_site_silent TARGET help_page_wine_tests
                               GTEST_FILTER PrivateNetworkWithoutServer.*)
endif()
