#include "commands/programming/options_table.h"

#include <string>
#include <string_view>

#include "language/command_field_values.h"
#include "link/option_block.h"
#include "link/register_checks.h"
#include "link/table_keys.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kOptionText = 1;
constexpr std::size_t kOptionTextBytes = 3;
constexpr int kOptionSwitchA = 16;  // its value decides whether option 17 is keyed
constexpr int kOptionAfterA = 17;
constexpr int kOptionKeptAsIs = 18;  // confirmed unchanged whatever is given
constexpr int kOptionLines = 27;     // a switch with eight text lines behind it
constexpr int kOptionSwitchB = 28;
constexpr int kFeatureSwitchB = 109;
constexpr int kLastKeyedOption = 27;
constexpr int kLinePieces = 8;
constexpr std::size_t kLinePieceChars = 16;
constexpr std::string_view kYes = "2";

bool NumberOption(int option) { return option == 2 || option == 7 || option == 13 || option == 21 || option == 22; }

// Option 27: its switch, then (when on) its eight lines.
void LinesOption(TableKeys& keys, bool switchB) {
  const std::string& given = FieldText(kOptionLines);
  std::string_view lines;
  if (given.size() > 1) {
    keys.NumberThen147(kYes);
    lines = given;
    switchB = true;
  } else if (given.size() == 1) {
    keys.DigitsThen147(kOptionLines);
    switchB = given == kYes;
  } else {
    keys.Confirm();
  }
  if (!switchB) return;
  for (int piece = 0; piece < kLinePieces; ++piece) {
    const std::size_t first = static_cast<std::size_t>(piece) * kLinePieceChars;
    keys.TextOf(first < lines.size() ? lines.substr(first, kLinePieceChars) : std::string_view());
  }
}

}  // namespace

int CmdProgramOptions() {
  EcrConfigRecord& ecr = CurrentRecord();
  if (const int failed = ReadOptionBlock(ecr)) return failed;
  bool switchA = HasOption(ecr, kOptionSwitchA) && OptionByte(ecr, kOptionSwitchA) != 0;
  const bool switchB = HasFeature(kFeatureSwitchB) && HasOption(ecr, kOptionSwitchB) &&
                       OptionByte(ecr, kOptionSwitchB) != 0;
  TableKeys keys;
  keys.Table("7");
  for (int option = 1; option <= kLastKeyedOption; ++option) {
    if (!HasOption(ecr, option)) continue;
    if (option == kOptionAfterA) {
      if (switchA) keys.HexDigits(option);
    } else if (option == kOptionText) {
      keys.Text(option, kOptionTextBytes);
    } else if (NumberOption(option)) {
      keys.Digits(option);
    } else if (option == kOptionKeptAsIs) {
      keys.Confirm();
    } else if (option == kOptionLines) {
      LinesOption(keys, switchB);
    } else {
      keys.DigitsThen147(option);
      if (option == kOptionSwitchA && FieldGiven(option)) switchA = FieldText(option).starts_with(kYes);
    }
  }
  return keys.End1().Queue();
}

}  // namespace quadrel
