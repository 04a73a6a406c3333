# Tests of the installer copy.

# Native (with sanitizers) and under Wine: the decisions alone.
mpi_add_test(installer_copy_rules_tests ${CMAKE_CURRENT_LIST_DIR}/installer_copy_rules_test.cpp)
target_link_libraries(installer_copy_rules_tests PRIVATE mpi_installer_copy_rules)

if(WIN32)
  # Real files on simulated drives, real kernel32 calls, the dialog answered
  # through the chooser seam.
  mpi_add_test(installer_copy_tests ${CMAKE_CURRENT_LIST_DIR}/installer_copy_test.cpp)
  target_link_libraries(installer_copy_tests PRIVATE mpi_installer_copy mpi_wine_support)

  # The real open-file dialog, answered from a second thread.
  mpi_add_test(installer_copy_dialog_tests ${CMAKE_CURRENT_LIST_DIR}/installer_copy_dialog_test.cpp)
  target_link_libraries(installer_copy_dialog_tests PRIVATE mpi_installer_copy mpi_wine_support)
endif()
