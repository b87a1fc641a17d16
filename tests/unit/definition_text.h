// Loads a definitions file written from a text, for tests of the loader and of
// everything that reads its tables.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "language/definition_file.h"
#include "language/definition_tables.h"

namespace quadrel::test_support {

// Writes `text` byte for byte to a file of its own and returns the path.
inline std::string WriteDefinitionText(std::string_view text) {
  static int counter = 0;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("quadrel_defs_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".ini");
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

inline bool LoadDefinitionText(std::string_view text) {
  const std::string path = WriteDefinitionText(text);
  const bool loaded = LoadDefinitionFile(path);
  std::filesystem::remove(path);
  return loaded;
}

// The definitions file the product ships, as the tests of its commands read it.
inline std::string ShippedDefinitionsPath() {
  return std::string(QUADREL_SOURCE_DIR) + "/definitions/TALLIS.INI";
}

inline bool LoadShippedDefinitions() {
  return LoadDefinitionFile(ShippedDefinitionsPath());
}

// A test suite whose commands run against the shipped definitions, loaded once
// for the suite.
template <class Base = ::testing::Test>
class WithShippedDefinitions : public Base {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(LoadShippedDefinitions()); }
  static void TearDownTestSuite() { ClearDefinitionTables(); }
};

}  // namespace quadrel::test_support
