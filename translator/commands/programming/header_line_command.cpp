#include "commands/programming/header_line_command.h"

#include <algorithm>
#include <string>

#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_checks.h"
#include "link/register_link.h"
#include "link/table_keys.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "text/code_page.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kNineDigitSlot = 9;
constexpr int kMaxHeaderSlot = 8;

bool NineDigits(const std::string& text) {
  return text.size() == kNineDigitLineBytes &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the register's bytes at `address` differ from slot `slot`, both
// without trailing blanks. False with `error` set when the read fails; the
// record is then marked unread so that the next command reads it again.
bool Differs(int address, int length, int slot, bool& differs, int& error) {
  if (!ReadEcrMemory(static_cast<std::uint16_t>(address), static_cast<std::uint8_t>(length), error)) {
    CurrentRecord().EcrNumber = 0;
    error = kResultConfigReadError;
    return false;
  }
  const FrameBufferData& answer = FrameBuffer();
  std::string held(reinterpret_cast<const char*>(answer.data.data()) + 1, static_cast<std::size_t>(length));
  std::string given = PcToEcrText(FieldText(slot));
  TrimRight(held);
  TrimRight(given);
  differs |= held != given;
  return true;
}

}  // namespace

int CmdProgramHeaderLine() {
  const EcrConfigRecord& ecr = CurrentRecord();
  const HeaderLineLayout layout = HeaderLines(ecr);
  const int lines = std::min(layout.count, kMaxHeaderSlot);
  const bool compareLines = HasFeature(11) || ecr.ModelLetter == 'Z';
  // Without a way to compare, the lines are sent every time, unless the
  // nine-digit line is given: then its difference decides.
  bool changed = !compareLines && !(layout.hasNineDigitLine && FieldGiven(kNineDigitSlot));
  int error = 0;
  // An empty nine-digit line is left as it is, so that a header dump, which
  // does not hold one, can be replayed.
  if (layout.hasNineDigitLine && FieldGiven(kNineDigitSlot)) {
    if (!NineDigits(FieldText(kNineDigitSlot))) return kResultIllegalValue;
    if (!Differs(layout.nineDigitAddress, kNineDigitLineBytes, kNineDigitSlot, changed, error)) return error;
  }
  for (int line = 1; compareLines && line <= lines; ++line)
    if (FieldGiven(line) &&
        !Differs(layout.base + (line - 1) * layout.lineBytes, layout.lineBytes, line, changed, error))
      return error;
  if (!changed) return 0;
  TableKeys keys;
  keys.Table("4");
  if (layout.hasNineDigitLine) keys.Text(kNineDigitSlot);
  for (int line = 1; line <= lines; ++line) keys.Text(line);
  keys.End1();
  if (compareLines) keys.Confirm();
  Executor().StopOnRecordError = 1;
  return keys.Queue();
}

}  // namespace quadrel
