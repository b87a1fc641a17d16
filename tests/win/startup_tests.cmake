# Ravelin's start-up: registration from any folder, the running server, and
# AutoRun end to end against the simulator. Included from tests/win/CMakeLists.txt.

# The product in a folder with a blank in its name.
set(BLANK_DIR "${CMAKE_BINARY_DIR}/bin/Ravelin Copy")
add_custom_target(ravelin_blank_copy ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BLANK_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Ravelin> $<TARGET_FILE:Quadrel> ${BLANK_DIR}/
  DEPENDS Ravelin Quadrel
  VERBATIM)

quadrel_add_gtest(startup_com_tests SOURCES startup_com_test.cpp LIBS tallis_test_client advapi32 TIMEOUT 180)
add_dependencies(startup_com_tests Ravelin ravelin_blank_copy)
target_compile_definitions(startup_com_tests PRIVATE RAVELIN_COPY_FOLDER=L"Ravelin Copy")
set_tests_properties(startup_com_tests PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK tallis_server)

# The spooler reads the settings of port 1 and the user's AutoRun values;
# TradInit finds TALLIS.INI in the working folder the server inherits.
protocol_sim_test(startup_spooler_tests SOURCES startup_spooler_test.cpp TIMEOUT 300)
target_link_libraries(startup_spooler_tests PRIVATE advapi32 user32)
target_link_libraries(startup_spooler_tests PRIVATE ravelin_window)
add_dependencies(startup_spooler_tests Ravelin Quadrel ecr_protocol)
set_tests_properties(startup_spooler_tests PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/Drivers
  RESOURCE_LOCK "ecrsim;tallis_server;translator_settings")
