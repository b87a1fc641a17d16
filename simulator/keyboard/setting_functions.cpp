#include "keyboard/setting_functions.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kConfirmKey = 145;
constexpr std::uint8_t kEndKey = 146;
constexpr std::uint8_t kTableKey = 147;
constexpr std::size_t kPercentageFields = 5;
constexpr int kMaxRecord = 255;

int RecordNumber(const std::string& digits) {
  if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int number = std::stoi(digits);
  return number <= kMaxRecord ? number : 0;
}

}  // namespace

void SettingFunctions::Open(int number) {
  function_ = number;
  record_ = number == kPercentagesFunction ? 1 : 0;
  field_ = 0;
  keptEntry_.clear();
}

bool SettingFunctions::Key(std::uint8_t key, const std::string& entry, const std::optional<std::string>& text,
                           bool& leave) {
  leave = false;
  if (key == kTableKey) {
    keptEntry_ = entry;
    return true;
  }
  if (key == kEndKey) {
    // Only table 4 ends with 146, and only once its record is chosen.
    leave = function_ == kTable4Function && record_ != 0;
    return leave;
  }
  if (key != kConfirmKey) return false;
  const std::string value = text ? *text : entry.empty() ? keptEntry_ : entry;
  keptEntry_.clear();
  if (record_ == 0) {
    record_ = RecordNumber(value);
    return record_ != 0;
  }
  // A field confirmed without a value stays as it was.
  std::vector<std::string>& fields = records_[{function_, record_}];
  if (fields.size() <= field_) fields.resize(field_ + 1);
  if (!value.empty()) fields[field_] = value;
  ++field_;
  leave = function_ == kPercentagesFunction && field_ == kPercentageFields;
  return true;
}

const std::vector<std::string>* SettingFunctions::Fields(int number, int record) const {
  const auto found = records_.find({number, record});
  return found == records_.end() ? nullptr : &found->second;
}

}  // namespace ecrsim
