#include "commands/journal/journal_export_signed.h"

#include <cstdio>
#include <cstring>

#include "commands/journal/file_sha1.h"
#include "files/binary_file.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/capture_field.h"

namespace quadrel {
namespace {

constexpr int kClosureSlot = 1;
constexpr int kFolderSlot = 2;
constexpr int kMaxClosure = 9999;

// A closure number goes verbatim into a command line and two file names:
// digits only, so neither can be redirected.
bool IsClosureNumber(const std::string& text) {
  if (text.empty() || text.size() > 8 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const int value = std::stoi(text);
  return value >= 1 && value <= kMaxClosure;
}

// The register's identity becomes part of a file name: nothing that would
// lead the file into another folder or is not allowed in a name.
bool IsFileNamePart(const std::string& text) {
  for (const unsigned char c : text) {
    if (c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
  }
  return true;
}

}  // namespace

SignedExportNames MakeSignedExportNames(const std::string& folder, const std::string& id,
                                        const std::string& closure) {
  std::string base = folder;
  // Windows takes either slash; a folder ending in one needs no other.
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
  base += id + "_" + closure;
  return {base + ".txt", base + ".sh1"};
}

int CmdJournalExportSigned() {
  if (CurrentRecord().ModelLetter != '2') return kResultVersionNotSupported;
  SendKeyBatch(0, nullptr, 0);

  // Read before the nested line replaces this command's fields.
  const std::string closure = FieldText(kClosureSlot);
  const std::string folder = FieldText(kFolderSlot);
  const std::string id = CurrentRecord().EcrId;
  // Quotes in the folder are doubled in the nested line; without quoting a
  // separator in it would cut the line short.
  const bool unquotable = QuoteChar() == '\0' && folder.find_first_of(",;") != std::string::npos;
  if (!IsClosureNumber(closure) || unquotable) return kResultIllegalValue;
  if (!IsFileNamePart(id)) return kResultBatchFileOpenError;

  const SignedExportNames names = MakeSignedExportNames(folder, id, closure);
  // A checksum left from an earlier export must not stand beside a new text.
  std::remove(names.checksum.c_str());
  std::string line = "#72 #13=2, #18=" + closure + ", #6=";
  const int read = TradExecCommand(AppendQuoted(line, names.journal));
  if (read != 0) return read;

  const std::optional<std::string> digest = FileSha1Hex(names.journal);
  if (!digest || !WriteFileBytes(names.checksum, *digest + "\r\n")) {
    std::remove(names.checksum.c_str());
    return kResultBatchFileOpenError;
  }
  return kResultOk;
}

}  // namespace quadrel
