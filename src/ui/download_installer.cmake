# The installer download: its own libraries, linked into the window.

# The texts and arithmetic and the handlers of the HTTP client's events,
# free of windows.h: built and tested in both flavours.
add_library(mpi_download_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/download_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/download_log_writer.cpp
)
if(WIN32)
  target_sources(mpi_download_rules PRIVATE ${CMAKE_CURRENT_LIST_DIR}/download_upper_case_win32.cpp)
else()
  target_sources(mpi_download_rules PRIVATE ${CMAKE_CURRENT_LIST_DIR}/download_upper_case_portable.cpp)
endif()
target_include_directories(mpi_download_rules PUBLIC ${PROJECT_SOURCE_DIR}/src)
# The percentage sets its own rounding mode: keep the compiler from assuming
# the default one across that.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/download_text.cpp PROPERTIES COMPILE_OPTIONS -frounding-math)
target_link_libraries(mpi_download_rules PUBLIC mpi_http)

if(WIN32)
  # DownloadInstaller: the connectivity check, the target file, the GET.
  add_library(mpi_download_installer STATIC ${CMAKE_CURRENT_LIST_DIR}/download_installer.cpp)
  target_link_libraries(mpi_download_installer PUBLIC mpi_download_rules mpi_connectivity mpi_portable)
endif()
