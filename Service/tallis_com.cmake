# The automation object, its type library and the COM server's start-up.
# Included from Service/CMakeLists.txt.
enable_language(RC)

# The type library, compiled from IDL with Wine's IDL files (oaidl.idl) and
# stdole2.tlb, then embedded in the program as resource TYPELIB 1.
find_program(RAVELIN_WIDL i686-w64-mingw32-widl REQUIRED)
set(RAVELIN_WIDL_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "Wine's IDL files")
set(RAVELIN_WIDL_TLB_DIR /usr/lib/i386-linux-gnu/wine/i386-windows CACHE PATH "stdole2.tlb")
set(TALLIS_TLB ${CMAKE_CURRENT_BINARY_DIR}/tallis_interface.tlb)
add_custom_command(OUTPUT ${TALLIS_TLB}
  COMMAND ${RAVELIN_WIDL} -I${RAVELIN_WIDL_IDL_DIR} -L${RAVELIN_WIDL_TLB_DIR} -t
          -o ${TALLIS_TLB} ${CMAKE_CURRENT_SOURCE_DIR}/tallis_interface.idl
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tallis_interface.idl
  VERBATIM)
add_library(ravelin_typelib OBJECT tallis_typelib.rc)
set_source_files_properties(tallis_typelib.rc PROPERTIES OBJECT_DEPENDS ${TALLIS_TLB})
target_include_directories(ravelin_typelib PRIVATE ${CMAKE_CURRENT_BINARY_DIR})

add_library(ravelin_com STATIC
  bstr_text.cpp
  class_factory.cpp
  com_registration.cpp
  command_switches.cpp
  dispatch_args.cpp
  event_queue.cpp
  event_sink.cpp
  server_module.cpp
  tallis_interface_impl.cpp)
target_include_directories(ravelin_com PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ravelin_com PUBLIC ole32 oleaut32 uuid advapi32 user32)

# A COM server program: Ravelin's start-up with the type library resource;
# `session_sources` define MakePortSession (the driver window, or a test's fake).
function(ravelin_add_server target)
  cmake_parse_arguments(S "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} WIN32 ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ravelin_main.cpp ${S_SOURCES}
                 $<TARGET_OBJECTS:ravelin_typelib>)
  target_link_libraries(${target} PRIVATE ravelin_com ${S_LIBS})
endfunction()
