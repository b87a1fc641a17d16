# cmake -DFINDINGS=<prefix> -P expect_finding.cmake <fuzz command...>
# Runs a fuzz command that must find its planted fault: the run has to fail and
# leave its input under <prefix>*.
set(command "")
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 0 ${last})
  if(found_script)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "-P")
    set(skip_script TRUE)
  elseif(skip_script)
    set(found_script TRUE)
  endif()
endforeach()

file(GLOB old "${FINDINGS}*")
if(old)
  file(REMOVE ${old})
endif()
execute_process(COMMAND ${command} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "the planted fault did not fail the fuzz run:\n${output}")
endif()
file(GLOB left "${FINDINGS}*")
if(NOT left)
  message(FATAL_ERROR "the fuzz run failed (${result}) but left no input at ${FINDINGS}*:\n${output}")
endif()
message(STATUS "failed as it must (${result}), input left: ${left}")
file(REMOVE ${left})  # checked; findings/ keeps only real ones
