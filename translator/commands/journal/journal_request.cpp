#include "commands/journal/journal_request.h"

#include <string_view>

#include "language/command_field_values.h"
#include "language/result_codes.h"

namespace quadrel {
namespace {

constexpr int kMaxFourDigits = 9999;  // numbers travel as four BCD digits

bool AllDigits(std::string_view text, std::size_t length) {
  if (text.size() != length) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A digits field of exactly `length` characters when given, else `fallback`.
bool DigitsField(int slot, std::size_t length, std::string& out, const std::string& fallback) {
  if (!FieldGiven(slot)) {
    out = fallback;
    return true;
  }
  out = FieldText(slot);
  return AllDigits(out, length);
}

// A number field within [low, high] when given, else `fallback`.
bool NumberField(int slot, int low, int high, int& out, int fallback) {
  if (!FieldGiven(slot)) {
    out = fallback;
    return true;
  }
  return FieldInteger(slot, out) && out >= low && out <= high;
}

int ReadFields(JournalRequest& r) {
  if (!DigitsField(1, 6, r.fromDate, "")) return kResultIllegalValue;
  if (FieldGiven(2) && !FieldGiven(1)) return kResultIllegalValue;
  if (!DigitsField(2, 6, r.toDate, r.fromDate)) return kResultIllegalValue;
  if (!NumberField(3, 0, kMaxFourDigits, r.fromDocument, 0)) return kResultIllegalValue;
  if (!NumberField(4, r.fromDocument, kMaxFourDigits, r.toDocument, r.fromDocument))
    return kResultIllegalValue;
  r.secondFamily = FieldSwitchOn(5);
  r.direct = FieldSwitchOn(13);
  if (r.secondFamily && r.direct) return kResultVersionNotSupported;
  r.outputFile = FieldText(6);
  r.bit7 = FieldSwitchOn(7);
  r.bit8 = FieldSwitchOn(8);
  r.bit9 = FieldSwitchOn(9);
  if (!DigitsField(10, 4, r.fromTime, "0000")) return kResultIllegalValue;
  if (!DigitsField(11, 4, r.toTime, "2359")) return kResultIllegalValue;
  r.withTimes = FieldSwitchOn(12);
  if (r.withTimes && r.direct) return kResultVersionNotSupported;
  if (!NumberField(14, 0, 255, r.documentKind, 0)) return kResultIllegalValue;
  r.optionBit0 = FieldSwitchOn(15);
  r.formFeedLines = FieldSwitchOn(16);
  if (!NumberField(17, 0, 3, r.option, 0)) return kResultIllegalValue;
  if (!NumberField(18, 1, kMaxFourDigits, r.fromClosure, 0)) return kResultIllegalValue;
  if (!NumberField(19, r.fromClosure, kMaxFourDigits, r.toClosure, r.fromClosure)) return kResultIllegalValue;
  if (FieldGiven(19) && !FieldGiven(18)) return kResultIllegalValue;
  return 0;
}

}  // namespace

int ReadJournalRequest(int journalLevel, JournalRequest& r) {
  r = JournalRequest{};
  if (const int error = ReadFields(r)) return error;
  if (r.direct && journalLevel < 1) return kResultVersionNotSupported;
  if (r.fromDate.empty() == !r.ByClosures()) return kResultIllegalValue;
  if (r.ByClosures() && (!r.direct || journalLevel < 2)) return kResultVersionNotSupported;
  const bool documents = FieldGiven(3) || FieldGiven(4);
  if (documents && (r.fromDate != r.toDate || r.fromClosure != r.toClosure)) return kResultIllegalInstruction;
  if (r.withTimes && (r.bit8 || r.bit9)) return kResultIllegalInstruction;
  return 0;
}

}  // namespace quadrel
