// File 10: the key maps as command-43 and command-54 lines, a macro key
// with its key sequence as a third field, so that the file replays the
// keyboard.
#include <cstdint>
#include <string>
#include <vector>

#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_writers.h"
#include "language/definition_tables.h"
#include "link/frame_exchange.h"
#include "link/key_map_frames.h"
#include "link/register_checks.h"
#include "link/register_link.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

enum KeyField : int { kFieldPosition = 1, kFieldKeyCode = 2, kFieldSequence = 3 };

constexpr int kKeyLockCode = 14;  // never programmed onto a position

struct KeyMapDump {
  int command;
  std::uint8_t frame;
  int highestSkipped;  // codes 0 to this one are not written (digits and their like)
};

constexpr KeyMapDump kFirstMap{43, kFirstKeyMapFrame, 11};
// The second map does not take code 12 either.
constexpr KeyMapDump kSecondMap{54, kSecondKeyMapFrame, 12};

// The answer's bytes after its letter.
std::vector<std::uint8_t> AnswerBytes() {
  const FrameBufferData& answer = FrameBuffer();
  if (answer.length <= 1) return {};
  return {answer.data.begin() + 1, answer.data.begin() + answer.length};
}

// A key by its [EQUTASTI] name, or by its code in numeric form or without a name.
std::string KeyWord(std::uint8_t code, bool numeric) {
  const LabelTableData& labels = LabelTable();
  const int label = labels.keyMap[code];
  return numeric || label == 0 ? std::to_string(code) : labels.labels[label].name;
}

// The quoted sequence of a macro key, every key followed by a blank; 0 or the read's code.
int MacroSequence(std::uint8_t code, bool numeric, std::string& quoted) {
  int error = 0;
  if (!SendFrame3('C', kMacroFrame, MacroNumber(code), error)) return error;
  quoted.assign(1, QuoteChar());
  for (const std::uint8_t key : AnswerBytes()) quoted += KeyWord(key, numeric) + ' ';
  quoted += QuoteChar();
  return 0;
}

int DumpKeyMap(LineFile& file, bool numeric, const KeyMapDump& map) {
  int error = 0;
  if (!SendFrame2('C', map.frame, error)) return error;
  // The macro reads replace the answer in the frame buffer: the map is kept aside.
  const std::vector<std::uint8_t> codes = AnswerBytes();
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const std::uint8_t code = codes[i];
    if (code <= map.highestSkipped || code == kKeyLockCode) continue;
    DumpLine line(map.command, numeric);
    line.Integer(kFieldPosition, static_cast<long long>(i) + 1).Value(kFieldKeyCode, KeyWord(code, numeric));
    if (IsMacroKey(code)) {
      std::string sequence;
      if (const int failed = MacroSequence(code, numeric, sequence)) return failed;
      line.Value(kFieldSequence, sequence);
    }
    if (const int failed = line.Write(file)) return failed;
  }
  return 0;
}

}  // namespace

int DumpKeyboardLayout(LineFile& file, bool numeric) {
  if (const int error = DumpKeyMap(file, numeric, kFirstMap)) return error;
  return HasSecondKeyMap() ? DumpKeyMap(file, numeric, kSecondMap) : 0;
}

}  // namespace quadrel
