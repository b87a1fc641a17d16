# Fails the build when a DLL exports a decorated name (name@N or _name): every
# library crossing a boundary here exports plain __stdcall names from a .def file.
# Usage: cmake -DDLL=path -DOBJDUMP=path -P CheckUndecoratedExports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(.*)" table "${dump}")
if(NOT table)
  message(FATAL_ERROR "${DLL} has no export table")
endif()
# The table ends at the first blank line; each entry reads "[   n] name".
string(FIND "${CMAKE_MATCH_1}" "\n\n" table_end)
string(SUBSTRING "${CMAKE_MATCH_1}" 0 ${table_end} table)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" names "${table}")
foreach(entry ${names})
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${entry}")
  if(name MATCHES "@" OR name MATCHES "^_")
    message(FATAL_ERROR "${DLL} exports a decorated name: ${name}")
  endif()
endforeach()
