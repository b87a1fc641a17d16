#include "commands/dumps/dump_command.h"

#include <string>

#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_writers.h"
#include "config/ecr_config_read.h"
#include "files/line_file.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"

namespace quadrel {
namespace {

enum DumpSlot : int { kSlotFile = 1, kSlotName = 2, kSlotAppend = 3, kSlotSession = 4, kSlotNumeric = 5 };

constexpr int kOpenSessionCommand = 1;
constexpr int kCloseSessionCommand = 2;
constexpr int kNothingFile = 21;
constexpr int kMemoryFile = 9999;

struct FileWriter {
  int file;
  DumpWriter writer;            // nullptr: a file this translator does not dump yet
  bool (*present)() = nullptr;  // nullptr: every register has the file
};

constexpr FileWriter kWriters[] = {
    {1, DumpDepartments},
    {2, DumpTable2},
    {3, DumpVatRates},
    {4, DumpHeaderLines},
    {6, DumpOptions},
    {7, DumpCurrencies, HasCurrencyFile},
    {8, DumpGroups, HasGroupFile},
    {9, DumpTable15, HasTable15},
    {10, DumpKeyboardLayout},
    {11, DumpTable21, HasTable21},
    {20, DumpFile20},
    {21, nullptr},
    {22, DumpFile22},
    {23, DumpFile23},
    {24, DumpFile24},
    {30, DumpFile30, HasFile30},
    {31, DumpFile31, HasFile31},
    {99, DumpTotalsReport},
    {199, DumpTotalsReport2},
    {9999, DumpEcrMemory},
};

const FileWriter* FindFile(int number) {
  for (const FileWriter& entry : kWriters)
    if (entry.file == number) return &entry;
  return nullptr;
}

int WriteSessionLine(LineFile& file, const std::string& text) {
  return WriteLine(file, text) ? 0 : kResultBatchFileOpenError;
}

}  // namespace

int CmdDumpRegisterFile() {
  if (const int error = ReadEcrConfig(0)) return error;
  int number = 0;
  if (!FieldInteger(kSlotFile, number)) number = 0;
  // Every refusal comes before the output file is touched.
  const FileWriter* entry = FindFile(number);
  if (entry == nullptr) return kResultIllegalFileNumber;
  if (entry->writer == nullptr && entry->file != kNothingFile) return kResultInstructionNotSupported;
  if (entry->present != nullptr && !entry->present()) return kResultIllegalFileNumber;

  const int mode = FieldIsFlag(kSlotAppend) ? LINE_OPEN_ALWAYS | LINE_APPEND | LINE_READ_WRITE
                                            : LINE_CREATE_ALWAYS | LINE_READ_WRITE;
  LineFile file;
  if (!OpenLineFile(FieldText(kSlotName), mode, file, LINE_SLOT_UNBUFFERED)) return kResultBatchFileOpenError;
  const bool session = FieldIsFlag(kSlotSession) && entry->file != kMemoryFile;
  int result = 0;
  if (session) result = WriteSessionLine(file, CommandName(kOpenSessionCommand) + ' ' + FieldName(kOpenSessionCommand, 1));
  if (result == 0 && entry->writer != nullptr) result = entry->writer(file, FieldIsFlag(kSlotNumeric));
  // The session is closed after a failed table too, so the lines written replay.
  if (session) {
    const int closing = WriteSessionLine(file, CommandName(kCloseSessionCommand));
    if (result == 0) result = closing;
  }
  if (!file.Close() && result == 0) result = kResultBatchFileOpenError;
  return result;
}

}  // namespace quadrel
