# The installer copy: its own library, linked into the window.

# Decisions of the copy action and the installer copy, free of windows.h:
# built and tested in both flavours.
add_library(mpi_installer_copy_rules STATIC ${CMAKE_CURRENT_LIST_DIR}/copy_action_rules.cpp)
target_include_directories(mpi_installer_copy_rules PUBLIC ${PROJECT_SOURCE_DIR}/src)

if(WIN32)
  # The copy itself and OpenDialog1, the chooser the window hands it.
  add_library(mpi_installer_copy STATIC
    ${CMAKE_CURRENT_LIST_DIR}/installer_copy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_dialog.cpp
  )
  target_link_libraries(mpi_installer_copy PUBLIC mpi_installer_copy_rules comdlg32)
endif()
