# The automation server and its clients. Included from tests/win/CMakeLists.txt.

# Ravelin's start-up and automation object over a fake port: the server the
# COM tests activate (registered in the rig's prefix only).
ravelin_add_server(RavelinFake SOURCES fake_port_session.cpp)

quadrel_add_gtest(ravelin_com_unit_tests
  SOURCES ravelin_switches_test.cpp tallis_event_queue_test.cpp
  LIBS ravelin_com)

add_library(tallis_test_client STATIC tallis_client.cpp server_process.cpp)
target_link_libraries(tallis_test_client PUBLIC ole32 oleaut32 uuid user32)

add_executable(tallis_vanishing_client tallis_vanishing_client.cpp)
target_link_libraries(tallis_vanishing_client PRIVATE tallis_test_client)

quadrel_add_gtest(tallis_com_tests
  SOURCES tallis_registration_test.cpp tallis_session_test.cpp tallis_events_test.cpp
  LIBS tallis_test_client advapi32
  TIMEOUT 300)
add_dependencies(tallis_com_tests RavelinFake tallis_vanishing_client)
target_compile_definitions(tallis_com_tests PRIVATE TALLIS_SERVER_FILE=L"RavelinFake.exe")

# The product server against the simulator. Both servers register the same
# class, so their tests take turns.
protocol_sim_test(tallis_ecrsim_tests SOURCES tallis_ecrsim_test.cpp TIMEOUT 300)
target_link_libraries(tallis_ecrsim_tests PRIVATE tallis_test_client advapi32)
target_compile_definitions(tallis_ecrsim_tests PRIVATE TALLIS_SERVER_FILE=L"Ravelin.exe")
add_dependencies(tallis_ecrsim_tests Ravelin Quadrel ecr_protocol)
# TradInit reads TALLIS.INI from the current folder: the server, started by
# COM, inherits the client's.
set_tests_properties(tallis_ecrsim_tests PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/Drivers
  RESOURCE_LOCK "ecrsim;tallis_server")
set_tests_properties(tallis_com_tests PROPERTIES RESOURCE_LOCK tallis_server)
set_tests_properties(tallis_com_tests PROPERTIES FIXTURES_REQUIRED wine)
set_tests_properties(tallis_ecrsim_tests PROPERTIES FIXTURES_REQUIRED "wine;ecrsim")

# The VBScript example, run with Wine's cscript against the product server.
add_test(NAME vbscript_session
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/vbscript_session.sh ${WINE_RIG_DIR} ${ECRSIM_STATE_DIR}
          ${CMAKE_BINARY_DIR}/bin ${CMAKE_SOURCE_DIR}/examples/session.vbs
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/Drivers)
quadrel_wine_test(vbscript_session)
set_tests_properties(vbscript_session PROPERTIES FIXTURES_REQUIRED "wine;ecrsim"
  RESOURCE_LOCK "ecrsim;tallis_server")

# COM round trips (see bench/README.md); run by hand, not part of the test run:
#   ctest -R ecrsim_up; wine bin/tallis_com_bench.exe  (with the rig's environment)
add_executable(tallis_com_bench tallis_com_bench.cpp)
target_link_libraries(tallis_com_bench PRIVATE tallis_test_client protocol_test_support advapi32)
add_dependencies(tallis_com_bench Ravelin)
