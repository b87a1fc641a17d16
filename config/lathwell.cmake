# Lathwell.exe: the dialog over the form's rules, with its resources.
# Included from config/CMakeLists.txt in the win32 build.
enable_language(RC)

add_library(lathwell_win32 STATIC address_box.cpp message_box_sink.cpp port_form_dialog.cpp win32_registry.cpp
  win32_service_runner.cpp)
target_link_libraries(lathwell_win32 PUBLIC lathwell_model advapi32 comctl32 comdlg32 gdi32 user32)

add_executable(Lathwell WIN32 lathwell_main.cpp lathwell.rc)
target_link_libraries(Lathwell PRIVATE lathwell_win32)
set_source_files_properties(lathwell.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_CURRENT_SOURCE_DIR}/lathwell.manifest;${CMAKE_CURRENT_SOURCE_DIR}/port_form_ids.h")
