#include "commands/transfers/description_tables.h"

#include <string>
#include <vector>

#include "commands/transfers/transfer_run.h"
#include "config/ecr_config_read.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"
#include "text/code_page.h"
#include "text/out_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kLastDepartmentLine = 30;
constexpr int kSettingsLine = 31;
constexpr int kFirstFifthTableLine = 32;
constexpr int kFirstValueLine = 37;
constexpr int kFirstFourthTableLine = 87;
constexpr int kLinesWithoutFourthTable = 86;
constexpr int kLinesWithFourthTable = 110;
constexpr int kSettingsRecordBytes = 64;
constexpr int kEntryDigits = 3;
// Where the tables lie: base address and record size in the file table.
constexpr int kValueFile = 8;  // the records of A + 2 bytes that file 20 of the dump reads too
constexpr int kFifthTableFile = 10;
constexpr int kSettingsArea = 0;
constexpr int kFourthTableArea = 4;
constexpr int kModel6SettingsVersion = 38;  // later versions of model '6' keep the settings further on
constexpr int kFeatureLongSettings = 85;

// Where V and W lie in one read answer (answer byte 1 is the first byte read).
struct EntryRead {
  int address = 0;
  int bytes = 0;
  int vAt = 0;
  int vBytes = 2;
  int wAt = 0;
};

EntryRead DepartmentRead(const EcrConfigRecord& r, int i) {
  const int a = r.AmountBytes;
  int first = r.Block4Byte38 + r.Block4Byte57 + r.BcdBytesA + 2;
  if (r.ModelLetter == 'M') first += 2;
  if (IsModelIn(r.ModelLetter, "7F")) first += 5;
  return {Departments(r).Address(i), first + 3 * a, 1 + first, a, 1 + first + 2 * a};
}

EntryRead SettingsRead(const EcrConfigRecord& r) {
  const bool late6 = r.ModelLetter == '6' && r.Version > kModel6SettingsVersion;
  int wAt = 13;
  if (late6)
    wAt = 55;
  else if (IsModelIn(r.ModelLetter, "ADH"))
    wAt = r.FeatureLevels[kFeatureLongSettings] != 0 ? 47 : 45;
  return {r.AreaAddress[kSettingsArea], kSettingsRecordBytes, late6 ? 9 : 7, 2, wAt};
}

EntryRead EntryOf(const EcrConfigRecord& r, int i) {
  const int a = r.AmountBytes;
  if (i <= kLastDepartmentLine) return DepartmentRead(r, i);
  if (i == kSettingsLine) return SettingsRead(r);
  if (i < kFirstValueLine)
    return {r.FileAddress[kFifthTableFile] + (i - kFirstFifthTableLine) * r.FileAddress[kFifthTableFile + 1],
            3 + a, 1, 2, 4};
  if (i < kFirstFourthTableLine)
    return {r.FileAddress[kValueFile] + (i - kFirstValueLine) * (a + 2), a + 2, 1, 2, 3};
  return {r.AreaAddress[kFourthTableArea] + (i - kFirstFourthTableLine) * 2 * (a + 2), a + 2, 1, 2, 3};
}

std::string Hex(const FrameBufferData& answer, int at, int bytes) {
  return BytesToHex({answer.data.data() + at, static_cast<std::size_t>(bytes)});
}

// The key sequence that clears the tables on the register.
std::vector<std::uint8_t> ClearKeys(char model) {
  std::vector<std::uint8_t> keys = {'A', 0, 3, 14, 2, 147, 145};
  if (IsModelIn(model, "1234BS")) keys.push_back(145);
  return keys;
}

}  // namespace

int XferDescriptionTables(LineFile& data, LineFile* log, const TransferOptions&) {
  if (const int error = ReadEcrConfig(0)) return error;
  const EcrConfigRecord& r = CurrentRecord();
  const int lines = r.AreaAddress[kFourthTableArea] != 0 ? kLinesWithFourthTable : kLinesWithoutFourthTable;
  TransferRun run(data, log, lines);
  for (int i = 1; i <= lines; ++i) {
    std::string v, w;
    // Department lines past the register's count stay empty: no values of another entry.
    if (i > kLastDepartmentLine || i <= r.IdentityByte47) {
      const EntryRead entry = EntryOf(r, i);
      int error = 0;
      if (!ReadEcrMemory(static_cast<std::uint16_t>(entry.address), static_cast<std::uint8_t>(entry.bytes),
                         error))
        return run.Finish(error);
      v = Hex(FrameBuffer(), entry.vAt, entry.vBytes);
      w = Hex(FrameBuffer(), entry.wAt, r.AmountBytes);
    }
    std::string line;
    std::string number;
    EditOutField(line, PadLeft(number, std::to_string(i), kEntryDigits, '0'), 0);
    EditOutField(line, w, 1);
    EditOutField(line, v, i <= kLastDepartmentLine ? 3 : 0);
    if (!run.WriteDataLine(line, true)) break;
  }
  return run.Finish(0);
}

int ClearDescriptionTables() {
  const std::vector<std::uint8_t> keys = ClearKeys(CurrentRecord().ModelLetter);
  int error = 0;
  return SendEcrFrame(FRAME_PLAIN, keys.data(), static_cast<int>(keys.size()), error) ? 0 : error;
}

}  // namespace quadrel
