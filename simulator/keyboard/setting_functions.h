// The programming functions of position 4 that key settings outside the
// tables, field by field: each key 145 takes one field (the text keyed
// before it, else the entry, else the entry kept by a 147 before it).
// - The percentages (function 121): five fields, after which the function
//   ends by itself and the register is idle again.
// - The records of table 4 (function 3): the record number, then the
//   record's fields up to key 146, which ends the function.
// The fields are kept per function and record as keyed; a field confirmed
// without a value stays as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ecrsim {

constexpr int kPercentagesFunction = 121;
constexpr int kTable4Function = 3;

class SettingFunctions {
 public:
  // Function `number` is one of these.
  static bool Has(int number) { return number == kPercentagesFunction || number == kTable4Function; }
  void Open(int number);
  // Key 145, 146 or 147 with the entry and text keyed before it. False for
  // a key out of sequence; `leave` is set when the function ends.
  bool Key(std::uint8_t key, const std::string& entry, const std::optional<std::string>& text, bool& leave);
  // The fields of `record` of function `number` as keyed (the percentages are record 1).
  const std::vector<std::string>* Fields(int number, int record) const;

 private:
  int function_ = 0;
  int record_ = 0;  // 0 while table 4 waits for its record number
  std::size_t field_ = 0;
  std::string keptEntry_;
  std::map<std::pair<int, int>, std::vector<std::string>> records_;
};

}  // namespace ecrsim
