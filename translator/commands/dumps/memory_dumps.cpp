// Files 30 and 9999: separated values of the file-30 records, and the
// register's whole memory as hexadecimal lines.
#include <cstdio>
#include <string>

#include "commands/dumps/dump_progress.h"
#include "commands/dumps/dump_writers.h"
#include "language/result_codes.h"
#include "link/record_reads.h"
#include "state/ecr_config.h"
#include "text/code_page.h"
#include "text/out_field.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kFile30Request = 14;
constexpr int kFile30Bytes = 5;
constexpr int kMemoryLines = 32768;

int File30Count() {
  return CurrentRecord().Block3Word73;
}

}  // namespace

bool HasFile30() {
  return File30Count() > 0;
}

int DumpFile30(LineFile& file, bool) {
  const int total = File30Count();
  RecordData r;
  std::string line;
  int count = 0;
  for (int k = 1; k <= total; ++k) {
    const std::uint8_t frame[] = {'C', kFile30Request, static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(k >> 8)};
    int status = 0;
    int error = 0;
    if (!ReadStatusRecord(frame, kFile30Bytes, r, status, error)) return error != 0 ? error : kResultIllegalFileNumber;
    EditOutField(line, std::to_string(k), 0);
    EditOutField(line, BytesToHex(r.Bytes(0, kFile30Bytes)), 0);
    if (const int failed = WriteDumpLine(file, line, count, total)) return failed;
  }
  return 0;
}

int DumpEcrMemory(LineFile& file, bool) {
  RecordData r;
  std::string line;
  int count = 0;
  for (int i = 0; i < kMemoryLines; ++i) {
    const std::uint32_t address = static_cast<std::uint32_t>(i) * kMemoryImageBlockBytes;
    if (int error = 0; !ReadMemoryImageBlock(address, r, error)) return error;
    char head[8];
    std::snprintf(head, sizeof head, "%06X:", static_cast<unsigned>(address));
    line = head + BytesToHex(r.Bytes(0, kMemoryImageBlockBytes));
    if (const int failed = WriteDumpLine(file, line, count, kMemoryLines)) return failed;
  }
  return 0;
}

}  // namespace quadrel
