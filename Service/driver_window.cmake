# The driver window: protocol library loader, logical port, register events,
# line statistics and tray icon. Included from Service/CMakeLists.txt.
enable_language(RC)

# Libraries are looked up in the program's own folder first, never in the
# current directory: the translator loader uses the same rule.
add_library(ravelin_program_library STATIC program_library.cpp)
target_include_directories(ravelin_program_library PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ravelin_core PUBLIC ravelin_program_library)

add_library(ravelin_window STATIC
  client_slots.cpp
  line_graph.cpp
  line_statistics.cpp
  main_form.cpp
  main_form_layout.cpp
  port_settings.cpp
  port_types.cpp
  protocol_driver.cpp
  register_events.cpp
  translator_events.cpp
  tray_icon.cpp)
target_include_directories(ravelin_window PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ravelin_window PUBLIC ravelin_core ravelin_autorun advapi32 gdi32 shell32 user32)

# The tray icon's frames reach every program that links the window.
add_library(ravelin_window_icons OBJECT driver_window.rc)
target_sources(ravelin_window INTERFACE $<TARGET_OBJECTS:ravelin_window_icons>)

# The product: the COM server with the driver window as its port session.
ravelin_add_server(Ravelin SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/driver_window_session.cpp LIBS ravelin_window)
