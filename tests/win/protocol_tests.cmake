# Tests of the protocol library and the translator loader, under Wine, against
# a simulator the ecrsim fixture starts on free loopback ports.
set(ECRSIM_STATE_DIR ${CMAKE_BINARY_DIR}/ecrsim-fixture)
add_test(NAME ecrsim_up
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/ecrsim_fixture.sh up ${ECRSIM_STATE_DIR} ${WINE_RIG_DIR}
          $<TARGET_FILE:ecrsim_program>)
set_tests_properties(ecrsim_up PROPERTIES FIXTURES_SETUP ecrsim FIXTURES_REQUIRED wine TIMEOUT 60)
add_test(NAME ecrsim_down
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/ecrsim_fixture.sh down ${ECRSIM_STATE_DIR} ${WINE_RIG_DIR})
set_tests_properties(ecrsim_down PROPERTIES FIXTURES_CLEANUP ecrsim FIXTURES_REQUIRED wine TIMEOUT 60)

add_library(protocol_test_support STATIC protocol_test_support.cpp)
target_include_directories(protocol_test_support PUBLIC
  ${CMAKE_SOURCE_DIR}/standins/protocol ${CMAKE_SOURCE_DIR})
target_compile_definitions(protocol_test_support PUBLIC
  ECRSIM_PORTS_FILE="Z:${ECRSIM_STATE_DIR}/ports"
  ECRSIM_STATE_DIR="Z:${ECRSIM_STATE_DIR}")
target_link_libraries(protocol_test_support PUBLIC ws2_32)

# Tests that talk to the fixture's simulator take turns: they queue faults on it.
function(protocol_sim_test name)
  quadrel_add_gtest(${name} ${ARGN} LIBS protocol_test_support)
  add_dependencies(${name} ecr_protocol ecrsim_program)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "wine;ecrsim" RESOURCE_LOCK ecrsim)
endfunction()

protocol_sim_test(protocol_link_tests SOURCES protocol_link_test.cpp)
protocol_sim_test(protocol_line_tests SOURCES protocol_line_test.cpp)

# The translator loader. Each folder holds the translator files one group of
# its tests needs; the same test program runs in each of them.
add_executable(translator_loader_tests translator_loader_test.cpp)
target_link_libraries(translator_loader_tests PRIVATE ravelin_core protocol_test_support GTest::gtest_main)
add_dependencies(translator_loader_tests Quadrel ecr_protocol ecrsim_program)

function(translator_double variant names)
  set(folder ${CMAKE_BINARY_DIR}/bin/loader-${variant})
  add_library(translator_double_${variant} SHARED translator_double.cpp translator_double_${variant}.def)
  target_include_directories(translator_double_${variant} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(translator_double_${variant} PROPERTIES PREFIX "" OUTPUT_NAME Quadrel
    RUNTIME_OUTPUT_DIRECTORY ${folder} ARCHIVE_OUTPUT_DIRECTORY ${folder}/lib)
  foreach(name IN LISTS names)
    add_custom_command(TARGET translator_double_${variant} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:translator_double_${variant}> ${folder}/${name})
  endforeach()
  add_custom_target(translator_loader_tests_${variant} ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:translator_loader_tests> ${folder}/
    DEPENDS translator_loader_tests translator_double_${variant})
endfunction()
translator_double(full "QuadrelRT.dll;Quadrel2000.dll")
translator_double(no_confstr "")
translator_double(no_tradinit "")

function(translator_loader_test name folder filter)
  add_test(NAME ${name}
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${WINE_RIG_DIR} ${folder}/translator_loader_tests.exe
            --gtest_filter=${filter}
    WORKING_DIRECTORY ${folder})
  quadrel_wine_test(${name})
endfunction()
set(LOADER_DIR ${CMAKE_BINARY_DIR}/bin/loader)
translator_loader_test(translator_loader_file_names ${CMAKE_BINARY_DIR}/bin LoaderFileNameTest.*)
translator_loader_test(translator_loader_double ${LOADER_DIR}-full
  "LoaderDoubleTest.*-*MissingFile*:*WithoutGetEcrConfStr*:*WithoutTradInit*:*OneLibraryReference*")
translator_loader_test(translator_loader_one_reference ${LOADER_DIR}-full "*OneLibraryReference*")
translator_loader_test(translator_loader_no_confstr ${LOADER_DIR}-no_confstr "*MissingFile*:*WithoutGetEcrConfStr*")
translator_loader_test(translator_loader_no_tradinit ${LOADER_DIR}-no_tradinit "*WithoutTradInit*")
# The definitions files are found in the working folder, as TradInit is given bare names.
translator_loader_test(translator_loader_full_road ${CMAKE_BINARY_DIR}/bin LoaderFullRoadTest.*)
set_tests_properties(translator_loader_full_road PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/Drivers
  FIXTURES_REQUIRED "wine;ecrsim" RESOURCE_LOCK ecrsim)
