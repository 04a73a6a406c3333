# The help button: its own library, linked into the window.
if(WIN32)
  # The tool's message boxes. Whoever gets here first defines the target; the
  # window links the same one.
  if(NOT TARGET mpi_message_box)
    add_library(mpi_message_box STATIC
      ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
      ${CMAKE_CURRENT_LIST_DIR}/error_text.cpp
    )
    target_include_directories(mpi_message_box PUBLIC ${PROJECT_SOURCE_DIR}/src)
  endif()

  add_library(mpi_help_page STATIC ${CMAKE_CURRENT_LIST_DIR}/help_page.cpp)
  target_include_directories(mpi_help_page PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(mpi_help_page PUBLIC mpi_connectivity mpi_message_box shell32)
endif()
