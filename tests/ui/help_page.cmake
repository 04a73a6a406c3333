# Tests of the help button.
if(WIN32)
  # The decision and the exact shell call and box text, answers scripted.
  mpi_add_test(help_page_tests ${CMAKE_CURRENT_LIST_DIR}/help_page_test.cpp)
  target_link_libraries(help_page_tests PRIVATE mpi_help_page)
  target_include_directories(help_page_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endif()
