# AutoRun against a fake driver window, with real files in a scratch folder
# and the current user's registry in the rig's prefix.
# Included from tests/win/CMakeLists.txt.
quadrel_add_gtest(autorun_tests
  SOURCES autorun_fakes.cpp autorun_settings_test.cpp autorun_single_port_test.cpp autorun_spooler_test.cpp
  LIBS ravelin_autorun)
