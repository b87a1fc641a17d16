#include "keyboard/option_table.h"

#include <optional>

#include "config/bcd_digits.h"
#include "config/config_places.h"
#include "config/table_images.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kNoOption = 0xFF;
constexpr int kOptionBlockBytes = 60;
constexpr int kLastOption = 27;
constexpr int kSwitchA = 16;  // option 17 follows it while on
constexpr int kAfterA = 17;
constexpr int kLines = 27;  // eight text lines follow it while on
constexpr int kSwitchB = 28;
constexpr int kFeatureSwitchB = 109;
constexpr int kLineFields = 8;
constexpr int kTextBytes = 3;
constexpr int kByteOption = 13;  // a binary byte; options 2 and 7 are one BCD byte
constexpr char kOn = '2';
constexpr int kNineDigitOption = 14;

// The digits of `digits` read in `base` (the register keys hexadecimal
// digits as decimal ones), wrapping as the register's counter does.
std::uint32_t Value(const std::string& digits, std::uint32_t base) {
  std::uint32_t value = 0;
  for (char c : digits)
    if (c >= '0' && c <= '9') value = value * base + static_cast<std::uint32_t>(c - '0');
  return value;
}

class OptionBlock {
 public:
  OptionBlock(const RegisterConfig& config, std::map<std::uint32_t, std::uint8_t>& memory)
      : config_(config), memory_(memory) {}

  // Block 5 may place an option the register does not key: option 14 needs
  // the nine-digit line, and model 6 has no option 1.
  bool Has(int option) const {
    if (option == kNineDigitOption && config_.Byte(Area::Identity, kNineDigitFlagByte) == 0) return false;
    if (option == 1 && ModelLetter(config_) == '6') return false;
    return config_.Byte(Area::Block5, option + 1) != kNoOption;
  }

  std::uint8_t Byte(int option, int offset = 0) const {
    const std::optional<std::uint32_t> address = Address(option, offset);
    if (!address) return 0;
    const auto placed = memory_.find(*address);
    return placed != memory_.end() ? placed->second
                                   : config_.Byte(Area::Block2, static_cast<int>(*address - Base()) + 1);
  }

  void Set(int option, int offset, std::uint8_t value) {
    if (const std::optional<std::uint32_t> address = Address(option, offset)) memory_[*address] = value;
  }

  // Nothing for a value that does not fit.
  void SetBytes(int option, const std::optional<std::vector<std::uint8_t>>& bytes) {
    for (std::size_t i = 0; bytes && i < bytes->size(); ++i) Set(option, static_cast<int>(i), (*bytes)[i]);
  }

  void Place(int option, const std::string& value) {
    if (option == 1) {
      for (int i = 0; i < kTextBytes; ++i)
        Set(option, i, static_cast<std::uint8_t>(i < static_cast<int>(value.size()) ? value[i] : ' '));
    } else if (option == kByteOption) {
      Set(option, 0, static_cast<std::uint8_t>(Value(value, 10)));
    } else if (option == 2 || option == 7) {
      SetBytes(option, PackBcd(std::to_string(Value(value, 10)), 1));
    } else if (option == kAfterA || option == 18) {
      const std::uint32_t digits = Value(value, 16);
      Set(option, 0, static_cast<std::uint8_t>(digits >> 8));
      Set(option, 1, static_cast<std::uint8_t>(digits));
    } else if (option == 21 || option == 22) {
      SetBytes(option, KeyedAmount(config_, value, config_.Byte(Area::Block4, kAmountBytesByte)));
    } else {
      Set(option, 0, static_cast<std::uint8_t>((Byte(option) & ~1) | (value == std::string(1, kOn) ? 1 : 0)));
    }
  }

 private:
  std::uint32_t Base() const { return config_.Block2Address(); }
  std::optional<std::uint32_t> Address(int option, int offset) const {
    const int position = config_.Byte(Area::Block5, option + 1) + offset;
    if (!Has(option) || position >= kOptionBlockBytes) return std::nullopt;
    return Base() + static_cast<std::uint32_t>(position);
  }

  const RegisterConfig& config_;
  std::map<std::uint32_t, std::uint8_t>& memory_;
};

bool Numeric(const std::string& value) {
  return !value.empty() && value.find_first_not_of("0123456789.") == std::string::npos;
}

}  // namespace

void PlaceOptions(const RegisterConfig& config, const std::vector<std::string>& fields,
                  std::map<std::uint32_t, std::uint8_t>& memory) {
  OptionBlock block(config, memory);
  std::size_t next = 0;
  auto field = [&]() -> std::string {
    const std::size_t at = next++;
    return at < fields.size() ? fields[at] : std::string();
  };
  bool switchA = block.Has(kSwitchA) && block.Byte(kSwitchA) != 0;
  bool switchB =
      config.FeatureLevel(kFeatureSwitchB) != 0 && block.Has(kSwitchB) && block.Byte(kSwitchB) != 0;
  for (int option = 1; option <= kLastOption; ++option) {
    if (!block.Has(option) || (option == kAfterA && !switchA)) continue;
    const std::string value = field();
    if (option == kSwitchA && !value.empty()) switchA = value[0] == kOn;
    if (option == kLines && !value.empty()) switchB = value == std::string(1, kOn);
    if (option == 1 ? !value.empty() : Numeric(value)) block.Place(option, value);
    if (option == kLines && switchB) next += kLineFields;
  }
}

}  // namespace ecrsim
