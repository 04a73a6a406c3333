# The help button: its own library, linked into the window.
if(WIN32)
  add_library(mpi_help_page STATIC ${CMAKE_CURRENT_LIST_DIR}/help_page.cpp)
  target_include_directories(mpi_help_page PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(mpi_help_page PUBLIC mpi_connectivity mpi_message_box shell32)
endif()
