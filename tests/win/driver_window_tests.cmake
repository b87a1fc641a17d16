# Tests of the driver window: its plain decisions, and the window itself
# opening ports and handling register events against the ecrsim fixture.
# Included after protocol_tests.cmake (the fixture and protocol_test_support).

quadrel_add_gtest(driver_logic_tests SOURCES driver_logic_test.cpp LIBS ravelin_window)
add_dependencies(driver_logic_tests ecr_protocol)

# A protocol library whose OpenProt fails, under the name of its port type.
add_library(refusing_protocol SHARED refusing_protocol.cpp refusing_protocol.def)
set_target_properties(refusing_protocol PROPERTIES PREFIX "" OUTPUT_NAME "RavelinRefusing")
quadrel_check_exports(refusing_protocol)

# The port opens read TALLIS.INI from the current directory unless an
# installation folder is set: run where the definitions files are.
protocol_sim_test(driver_window_tests SOURCES driver_window_test.cpp LABELS gui)
target_link_libraries(driver_window_tests PRIVATE ravelin_window)
add_dependencies(driver_window_tests Quadrel refusing_protocol stdcall_probe)
set_tests_properties(driver_window_tests PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/Drivers)

# The window on the rig's display: labels after traffic, the tray icon, a screenshot.
add_executable(driver_window_host driver_window_host.cpp)
target_link_libraries(driver_window_host PRIVATE ravelin_window protocol_test_support)
add_dependencies(driver_window_host ecr_protocol Quadrel)
add_test(NAME driver_window_gui
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/driver_window_gui.sh ${WINE_RIG_DIR} ${ECRSIM_STATE_DIR}
          $<TARGET_FILE:driver_window_host> ${CMAKE_BINARY_DIR}/driver-window.png
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/Drivers)
quadrel_wine_test(driver_window_gui LABELS gui)
set_tests_properties(driver_window_gui PROPERTIES FIXTURES_REQUIRED "wine;ecrsim" RESOURCE_LOCK ecrsim)
