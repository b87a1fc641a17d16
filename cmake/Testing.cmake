# Test helpers shared by every tests/ folder.
#   quadrel_add_gtest(name SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s] [FIXTURES ...])
# Native: one ctest entry per test case. Win32: one entry per executable, run
# under Wine through the rig's launcher inside the private prefix.

if(WIN32)
  set(WINE_RIG_DIR "${CMAKE_BINARY_DIR}/wine-rig")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/cmake/wine-run.sh;${WINE_RIG_DIR}")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # The rig: private prefix and Xvfb, made once per ctest run and taken down after.
  add_test(NAME wine_rig_up COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-rig.sh up ${WINE_RIG_DIR})
  set_tests_properties(wine_rig_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
  add_test(NAME wine_rig_down COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-rig.sh down ${WINE_RIG_DIR})
  set_tests_properties(wine_rig_down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# Makes a Wine test depend on the rig; every Wine test has a time-out.
function(quadrel_wine_test test_name)
  cmake_parse_arguments(W "" "TIMEOUT" "LABELS;FIXTURES" ${ARGN})
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 120)
  endif()
  set_tests_properties(${test_name} PROPERTIES FIXTURES_REQUIRED "wine;${W_FIXTURES}" TIMEOUT ${W_TIMEOUT}
    LABELS "win32;${W_LABELS}")
endfunction()

function(quadrel_add_gtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;FIXTURES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
    quadrel_wine_test(${name} TIMEOUT ${T_TIMEOUT} LABELS ${T_LABELS} FIXTURES ${T_FIXTURES})
  else()
    if(NOT T_TIMEOUT)
      set(T_TIMEOUT 60)
    endif()
    set(fixture_property)
    if(T_FIXTURES)
      set(fixture_property FIXTURES_REQUIRED "${T_FIXTURES}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "native;${T_LABELS}" ${fixture_property})
  endif()
endfunction()

# Checks after every link that a DLL's exports are undecorated.
function(quadrel_check_exports target)
  if(WIN32)
    find_program(MINGW_OBJDUMP i686-w64-mingw32-objdump REQUIRED)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:${target}> -DOBJDUMP=${MINGW_OBJDUMP}
              -P ${CMAKE_SOURCE_DIR}/cmake/CheckUndecoratedExports.cmake
      VERBATIM)
  endif()
endfunction()
