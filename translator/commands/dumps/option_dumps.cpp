// Files 6, 7 and 8: the option block the configuration holds, the currencies
// and the groups.
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <span>

#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_writers.h"
#include "language/result_codes.h"
#include "link/option_block.h"
#include "link/record_reads.h"
#include "link/register_checks.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kOptionCommand = 36;
constexpr int kCurrencyCommand = 37;
constexpr int kGroupCommand = 38;
constexpr int kOptionTextBytes = 3;
constexpr int kNameBytes = 10;

// The first option of each of the four lines, and one past the last.
constexpr std::array<int, 5> kOptionLines = {1, 9, 18, 27, 28};

// Option `k` written as its kind says, when the register has it.
void AddOption(DumpLine& line, const EcrConfigRecord& ecr, int k) {
  const std::optional<int> found = OptionPosition(ecr, k);
  if (!found) return;
  const std::span<const std::uint8_t> block(ecr.Block2Data);
  const std::size_t position = static_cast<std::size_t>(*found);
  auto bytes = [&](int count) {
    return block.subspan(position, std::min<std::size_t>(static_cast<std::size_t>(count), block.size() - position));
  };
  switch (k) {
    case 1:
      line.Text(k, bytes(kOptionTextBytes));
      break;
    case 2:
    case 7:
      line.Number(k, bytes(1));
      break;
    case 13:
      line.Integer(k, block[position]);
      break;
    case 17:
    case 18: {
      char hex[5];
      const auto two = bytes(2);
      std::snprintf(hex, sizeof hex, "%02X%02X", two[0], two.size() > 1 ? two[1] : 0);
      // As a text: bare hex digits with a letter would read back as a label.
      line.Quoted(k, hex);
      break;
    }
    case 21:
    case 22:
      line.Amount(k, bytes(ecr.AmountBytes));
      break;
    default:
      line.YesNo(k, block[position] & 0x01);
  }
}

// Fixed-size tables of names kept in the memory: `count` records from `base`.
int DumpNamedRecords(LineFile& file, bool numeric, int command, int base, int recordBytes, int count,
                     void (*fields)(DumpLine&, const RecordData&)) {
  RecordData r;
  for (int k = 1; k <= count; ++k) {
    if (int error = 0; !ReadRecordAt(base + (k - 1) * recordBytes, recordBytes, r, error)) return error;
    DumpLine line(command, numeric);
    line.Integer(1, k).Text(2, r.Bytes(0, kNameBytes));
    if (fields) fields(line, r);
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

int CurrencyRateBytes() { return CurrentRecord().ModelLetter == 'K' ? 6 : 4; }

void CurrencyFields(DumpLine& line, const RecordData& r) {
  constexpr int kRateDecimals = 3;
  const int rateBytes = CurrencyRateBytes();
  line.Fixed(3, r.Bytes(kNameBytes, rateBytes), kRateDecimals);
  line.Number(4, r.Bytes(kNameBytes + rateBytes, 3)).Number(5, r.Bytes(kNameBytes + rateBytes + 3, 1));
}

}  // namespace

int DumpOptions(LineFile& file, bool numeric) {
  const EcrConfigRecord& ecr = CurrentRecord();
  for (std::size_t i = 0; i + 1 < kOptionLines.size(); ++i) {
    DumpLine line(kOptionCommand, numeric);
    for (int k = kOptionLines[i]; k < kOptionLines[i + 1]; ++k) AddOption(line, ecr, k);
    if (line.Empty()) continue;
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

// A register without currencies for command 37 has no currency file, whatever
// its configuration places; each record has a number of three bytes and one
// of one byte after the rate.
int DumpCurrencies(LineFile& file, bool numeric) {
  constexpr int kCurrencies = 4;
  constexpr int kNumberBytes = 4;
  const int base = CurrentRecord().AreaAddress[1];
  if (base == 0 || !HasCurrencyTable()) return kResultIllegalFileNumber;
  const int recordBytes = kNameBytes + CurrencyRateBytes() + kNumberBytes;
  return DumpNamedRecords(file, numeric, kCurrencyCommand, base, recordBytes, kCurrencies, CurrencyFields);
}

int DumpGroups(LineFile& file, bool numeric) {
  constexpr int kGroups = 5;
  const EcrConfigRecord& ecr = CurrentRecord();
  if (!HasGroupTable()) return kResultIllegalFileNumber;
  const int recordBytes = ecr.AreaAddress[6] != 0 ? ecr.AreaAddress[6] : kNameBytes;
  return DumpNamedRecords(file, numeric, kGroupCommand, ecr.AreaAddress[5], recordBytes, kGroups, nullptr);
}

}  // namespace quadrel
