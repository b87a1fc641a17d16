// Event tests: the translator fixture with register 1's configuration record
// valid (5-byte amounts, 6-byte codes), and register bytes written as hex.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "state/ecr_config.h"
#include "translator_fixture.h"

namespace quadrel_test {

// "82 05 00" -> {0x82, 0x05, 0x00}; blanks are ignored.
inline std::vector<std::uint8_t> FromHex(std::string_view text) {
  std::vector<std::uint8_t> out;
  int high = -1;
  for (const char c : text) {
    if (c == ' ') continue;
    const int digit = c <= '9' ? c - '0' : c - 'A' + 10;
    if (high < 0) {
      high = digit;
    } else {
      out.push_back(static_cast<std::uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  return out;
}

inline std::vector<std::uint8_t> TextBytes(std::string_view text) {
  return {text.begin(), text.end()};
}

}  // namespace quadrel_test

class EventTest : public TranslatorTest {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    quadrel::EcrConfigRecord& record = quadrel::EcrRecord(1);
    record.EcrNumber = 1;
    record.Decimals = 2;
  }
};
