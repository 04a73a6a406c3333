# Tests of the copy button's action.
if(WIN32)
  mpi_add_test(copy_action_tests ${CMAKE_CURRENT_LIST_DIR}/copy_action_test.cpp)
  target_link_libraries(copy_action_tests PRIVATE mpi_ui mpi_wine_support)
  target_include_directories(copy_action_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)

  # A download that raises needs the product host to answer "refused": only
  # inside a private network.
  include(${PROJECT_SOURCE_DIR}/tests/netns/netns.cmake)
  mpi_add_private_network_program(copy_action_network_tests
                                  ${CMAKE_CURRENT_LIST_DIR}/copy_action_network_test.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/form_fixture.cpp)
  target_link_libraries(copy_action_network_tests PRIVATE mpi_ui mpi_wine_support)
  target_include_directories(copy_action_network_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  mpi_add_private_network_test(copy_action_refused_download TARGET copy_action_network_tests
                               GTEST_FILTER RefusedDownloadTest.*)
endif()
