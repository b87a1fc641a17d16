#include "display_lines.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/key_records.h"
#include "link/register_checks.h"
#include "link/register_link.h"
#include "link/text_line_records.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"
#include "text/code_page.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

enum DisplayField : int {
  kFieldTextA = 1,
  kFieldTextB = 2,
  kFieldClear = 3,
  kFieldWide = 4,
  kFieldLineA1 = 5,
  kFieldLineA2 = 6,
  kFieldLineB1 = 7,
  kFieldLineB2 = 8,
  kFieldTwoLines = 9,
  kFieldNotice = 10,
};

constexpr std::size_t kTextAMax = 12;
constexpr std::size_t kTextBMax = 16;
constexpr int kFeatureDisplay = 99;
constexpr std::uint8_t kOutputFrame = 'O';
constexpr std::uint8_t kLineA1 = 1, kLineA2 = 2, kLineB1 = 4, kLineB2 = 5;
constexpr std::uint8_t kTwoLineFrame = 9, kNarrowTwoLineFrame = 6;
constexpr std::uint8_t kDisplayControl = 10, kDisplayControlEnd = 12;
constexpr char kCarriageReturn = '\r';

// The first lines of the last #7 and #8, kept for the two-line display;
// empty until first set (they then show as zero bytes).
std::array<std::string, 2> rememberedLines;

struct Widths {
  int a = 0;
  int b = 0;
};

Widths DisplayWidths() {
  const EcrConfigRecord& current = CurrentRecord();
  const EcrConfigRecord& record = current.EcrNumber != 0 ? current : EcrRecord(0);
  return {record.TextWidthA, record.TextWidthB};
}

bool WideTextHost() {
  const HostInfoRecord* info = Library().host.info;
  return info && info->wideText != 0;
}

std::string Fit(std::string_view ecrText, int width, char fill = ' ') {
  std::string line;
  return PadRight(line, ecrText, width, fill);
}

// Two lines of `width`: up to the first CR or `width` characters, then from
// after the CR (or the next character) up to the next CR or `width`.
std::pair<std::string, std::string> SplitTwoLines(std::string_view text, int width) {
  const std::size_t limit = width > 0 ? static_cast<std::size_t>(width) : 0;
  auto take = [&](std::string_view& rest) {
    const std::size_t end = std::min(rest.find(kCarriageReturn), std::min(limit, rest.size()));
    std::string line = Fit(PcToEcrText(rest.substr(0, end)), width);
    rest.remove_prefix(end < rest.size() && rest[end] == kCarriageReturn ? end + 1 : end);
    return line;
  };
  std::string_view rest = text;
  std::string first = take(rest);
  std::string second = take(rest);
  return {std::move(first), std::move(second)};
}

// Sends 'O', `code` and `text`; false with `error` set when it failed.
bool SendDisplayFrame(std::uint8_t code, const std::string& text, int& error) {
  std::string frame(1, static_cast<char>(kOutputFrame));
  frame.push_back(static_cast<char>(code));
  frame += text;
  if (frame.size() > kMaxFrameLength) {
    error = kResultInternalError;
    return false;
  }
  return SendEcrFrame(FRAME_PLAIN, reinterpret_cast<const std::uint8_t*>(frame.data()),
                      static_cast<int>(frame.size()), error);
}

bool SendLine(std::uint8_t code, int slot, int width, int& error) {
  return SendDisplayFrame(code, Fit(PcToEcrText(FieldText(slot)), width), error);
}

bool SendRememberedLines(int width, int& error) {
  return SendDisplayFrame(kTwoLineFrame,
                          Fit(rememberedLines[0], width, '\0') + Fit(rememberedLines[1], width, '\0'), error);
}

bool SendSplit(std::uint8_t code, int slot, int width, int& error) {
  const auto [first, second] = SplitTwoLines(FieldText(slot), width);
  return SendDisplayFrame(code, first + second, error);
}

// The kind-1 text line of #1 and #2.
int QueueTextPair() {
  Executor().StopOnRecordError = 1;
  const bool clear = FieldIsFlag(kFieldClear);
  const bool wide = FieldIsFlag(kFieldWide);
  const std::uint8_t attribute = clear && wide ? 6 : wide ? 4 : clear ? 2 : 0;
  std::string body = PcToEcrText(FieldText(kFieldTextA)).substr(0, kTextAMax);
  body.push_back('\0');
  body += PcToEcrText(FieldText(kFieldTextB)).substr(0, kTextBMax);
  KeyRecords keys;
  AddTextLine(keys, kTextLinePair, attribute, body);
  return keys.Queue();
}

// Lines 1, 2, 4 and 5; in two-line mode #7 and #8 also go to the two-line display.
bool SendSingleLines(const Widths& widths, bool twoLineMode, int& error) {
  if (FieldGiven(kFieldLineA1) && !SendLine(kLineA1, kFieldLineA1, widths.a, error)) return false;
  if (FieldGiven(kFieldLineA2) && !SendLine(kLineA2, kFieldLineA2, widths.a, error)) return false;
  const std::pair<int, std::uint8_t> lowerLines[] = {{kFieldLineB1, kLineB1}, {kFieldLineB2, kLineB2}};
  for (std::size_t i = 0; i < 2; ++i) {
    const auto [slot, code] = lowerLines[i];
    if (!FieldGiven(slot)) continue;
    if (!SendLine(code, slot, widths.b, error)) return false;
    if (!twoLineMode) continue;
    rememberedLines[i] = SplitTwoLines(FieldText(slot), widths.b).first;
    if (!SendRememberedLines(widths.b, error)) return false;
  }
  return true;
}

int SendDisplayLines() {
  const Widths widths = DisplayWidths();
  const bool sendControl = FieldIsFlag(kFieldClear);
  bool controlSent = false;
  int error = 0;
  auto sendControlOnce = [&]() {
    if (!sendControl || controlSent) return true;
    controlSent = true;
    return SendFrame3(kOutputFrame, kDisplayControl, kDisplayControlEnd, error);
  };

  if (FieldGiven(kFieldLineA1) || FieldGiven(kFieldLineA2) || FieldGiven(kFieldLineB1) ||
      FieldGiven(kFieldLineB2)) {
    if (!HasFeature(kFeatureDisplay)) return kResultInstructionNotSupported;
    const bool twoLineMode = FieldIsFlag(kFieldWide) || WideTextHost();
    if (!SendSingleLines(widths, twoLineMode, error) || !sendControlOnce()) return error;
  }
  if (FieldGiven(kFieldTwoLines)) {
    if (!HasFeature(kFeatureDisplay)) return kResultInstructionNotSupported;
    if (!SendSplit(kTwoLineFrame, kFieldTwoLines, widths.b, error) || !sendControlOnce()) return error;
  }
  if (FieldGiven(kFieldNotice)) {
    const bool wideHost = WideTextHost();
    if (wideHost && !HasFeature(kFeatureDisplay)) return kResultInstructionNotSupported;
    const std::uint8_t code = wideHost ? kTwoLineFrame : kNarrowTwoLineFrame;
    if (!SendSplit(code, kFieldNotice, widths.b, error) || !sendControlOnce()) return error;
  }
  return 0;
}

}  // namespace

int CmdTextAndOutputLines() {
  if (FieldGiven(kFieldTextA) || FieldGiven(kFieldTextB)) {
    if (const int queued = QueueTextPair()) return queued;
  }
  return SendDisplayLines();
}

}  // namespace quadrel
