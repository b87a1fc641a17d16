# AutoRun: the command-file spooler that the driver window's timer drives,
# its settings, its log view, and the quiet notifier of a "/p" process.
# Included from Service/CMakeLists.txt.
add_library(ravelin_autorun STATIC
  autorun_log_view.cpp
  autorun_settings.cpp
  autorun_spooler.cpp
  log_notifier.cpp)
target_include_directories(ravelin_autorun PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ravelin_autorun PUBLIC quadrel_platform advapi32)
