#include "events/data_capture_records.h"

#include <algorithm>

#include "events/event_record.h"
#include "state/library_state.h"
#include "text/capture_field.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kKindMask = 0x3F;
constexpr std::uint8_t kFlagBit6 = 0x40;
constexpr std::uint8_t kFlagBit7 = 0x80;
constexpr std::uint8_t kTextCodeMark = 0xFF;
constexpr std::size_t kTextCodeBytes = 20;
constexpr std::size_t kClockBytes = 5;
constexpr std::size_t kLongCodeBytes = 7;
constexpr std::size_t kTrailerTextBytes = 16;
constexpr int kFeatureExtraCounter = 77;  // records 4 and 27 carry a 3-byte counter

// Writes the fields of one record. Every read is checked against the record's
// end; a field that does not fit marks the record truncated and is skipped.
class CaptureLine {
 public:
  CaptureLine(std::span<const std::uint8_t> record, const EcrConfigRecord& config, bool flagged)
      : record_(record),
        amountBytes_(static_cast<std::size_t>(std::max(config.AmountBytes, 0))),
        codeBytes_(static_cast<std::size_t>(std::max(config.CodeBytes, 0))),
        flagged_(flagged),
        negative_(((record[0] & kFlagBit6) != 0) != ((record[0] & kFlagBit7) != 0)) {}

  std::size_t A() const { return amountBytes_; }
  bool N() const { return negative_; }
  std::size_t Length() const { return record_.size(); }
  bool Truncated() const { return truncated_; }
  const std::string& Text() const { return text_; }

  std::size_t Remaining(std::size_t p) const { return p < record_.size() ? record_.size() - p : 0; }
  // A byte a condition looks at; 0 past the end (the fields read there are
  // checked on their own).
  std::uint8_t ByteAt(std::size_t p) const { return p < record_.size() ? record_[p] : 0; }

  void Kind(int kind) {
    text_ += static_cast<char>('0' + kind / 10);
    text_ += static_cast<char>('0' + kind % 10);
  }
  void FD() {
    if (!flagged_) return;
    if (Library().options.OutEditOptions != 1 && SeparatorChar() != '\0') text_ += SeparatorChar();
    text_ += static_cast<char>('0' + ((record_[0] & kFlagBit7) != 0) + 2 * ((record_[0] & kFlagBit6) != 0));
  }
  void D(std::size_t p, std::size_t b) { Field(p, b, false, CAPTURE_BCD); }
  void S(std::size_t p, std::size_t b, bool s) { Field(p, b, s, CAPTURE_SIGNED); }
  void T(std::size_t p, std::size_t b) { Field(p, b, false, CAPTURE_TEXT); }
  void H(std::size_t p, std::size_t b) { Field(p, b, false, CAPTURE_CODE); }
  void B(std::size_t p) { Field(p, 1, false, CAPTURE_BYTE); }
  void W(std::size_t p) { Field(p, 2, false, CAPTURE_WORD); }
  void DT(std::size_t p) {
    if (!Fits(p, kClockBytes)) return;
    EditCaptureClock(text_, record_.subspan(p).first<kClockBytes>());
  }
  // An article code: a text code after a 0xFF mark, else C bytes of BCD.
  // Returns the position after it.
  std::size_t Code(std::size_t p) {
    if (ByteAt(p) == kTextCodeMark && p < record_.size()) {
      T(p + 1, kTextCodeBytes);
      return p + 1 + kTextCodeBytes;
    }
    H(p, codeBytes_);
    return p + codeBytes_;
  }
  // Whether a code starts at `p`: the register sends one when at least C
  // bytes (and at least its first byte) are left.
  bool CodeFollows(std::size_t p) const { return Remaining(p) >= std::max<std::size_t>(codeBytes_, 1); }

 private:
  bool Fits(std::size_t p, std::size_t b) {
    if (p <= record_.size() && b <= record_.size() - p) return true;
    truncated_ = true;
    return false;
  }
  void Field(std::size_t p, std::size_t b, bool negative, int type) {
    if (Fits(p, b)) EditCaptureField(text_, record_.subspan(p, b), negative, type);
  }

  std::span<const std::uint8_t> record_;
  std::size_t amountBytes_;
  std::size_t codeBytes_;
  bool flagged_;
  bool negative_;
  bool truncated_ = false;
  std::string text_;
};

void Kind3Fields(CaptureLine& l) {
  const std::size_t A = l.A();
  l.FD();
  const std::size_t q = l.Code(1);
  l.B(q);
  l.S(q + 1, A, l.N());
  l.S(q + 1 + A, A, l.N());
  const std::size_t e = q + 1 + 2 * A;
  if (l.Remaining(e) < A + 3) return;  // word, flag byte and amount
  l.W(e);
  l.S(e + 3, A, l.N() != (l.ByteAt(e + 2) == 0));
  if (l.Remaining(e + 3 + A) > 2) l.S(e + 3 + A, 3, l.N());
}

// Kinds 4 and 27 end alike: a counter on registers with feature 77, then a
// second amount when the record is long enough; `tail` is where the counter stands.
void CounterAndSecondAmount(CaptureLine& l, const EcrConfigRecord& config, std::size_t tail) {
  const std::size_t A = l.A();
  if (config.FeatureLevels[kFeatureExtraCounter] != 0) l.D(tail, 3);
  if (l.Length() >= A + tail + 3) l.S(tail + 3, A, false);
}

void Kind4Fields(CaptureLine& l, const EcrConfigRecord& config) {
  const std::size_t A = l.A();
  l.DT(A + 3);
  l.D(1, 2);
  l.S(3, A, false);
  CounterAndSecondAmount(l, config, A + 8);
  if (l.Length() >= 2 * A + 14) l.D(2 * A + 11, 3);
  if (l.Length() >= 2 * A + 30 && l.ByteAt(2 * A + 14) != ' ') l.T(2 * A + 14, kTrailerTextBytes);
}

void Kind27Fields(CaptureLine& l, const EcrConfigRecord& config) {
  const std::size_t A = l.A();
  l.DT(A + 5);
  l.D(1, 2);
  l.D(3, 2);
  l.S(5, A, false);
  CounterAndSecondAmount(l, config, A + 10);
  if (l.Length() >= 2 * A + 29 && l.ByteAt(2 * A + 13) != ' ') l.T(2 * A + 13, kTrailerTextBytes);
}

void Kind5Fields(CaptureLine& l) {
  const std::size_t A = l.A();
  l.D(1, l.Length() < 2 * A ? A : l.Length() / 2);
}

void Kind7Fields(CaptureLine& l) {
  const std::size_t A = l.A();
  if (l.Length() < A + 2) return;
  for (std::size_t p = 1; l.Remaining(p) >= A + 1; p += A + 1) {
    l.D(p, 1);
    l.S(p + 1, A, false);
  }
}

void Kind9Fields(CaptureLine& l) {
  const std::size_t A = l.A();
  l.FD();
  l.D(1, 2);
  l.S(3, A, l.N());
  if (l.CodeFollows(3 + A)) l.Code(3 + A);
}

void Kind11Fields(CaptureLine& l) {  // also kind 21
  const std::size_t A = l.A();
  l.FD();
  l.S(1, A, l.N());
  if (!l.CodeFollows(1 + A)) return;
  const std::size_t next = l.Code(1 + A);
  if (l.Remaining(next) > 1) l.W(next);
}

void Kind13Fields(CaptureLine& l) {
  l.DT(6);
  l.D(4, 2);
  l.D(3, 1);
  l.D(1, 2);
  if (l.Length() >= 11 + kLongCodeBytes) l.H(11, kLongCodeBytes);
}

void Kind15Fields(CaptureLine& l) {
  l.DT(10);
  l.B(1);
  l.D(2, 3);
  l.D(5, 1);
  l.D(5, 2);
  if (l.Length() >= 15 + kLongCodeBytes) l.H(15, kLongCodeBytes);
}

void Kind17Fields(CaptureLine& l) {  // also the head of kind 18
  const std::size_t A = l.A();
  l.D(1, 5);
  l.B(6);
  l.B(7);
  l.D(23, 2);
  l.S(25, A, l.N());
  l.S(25 + A, 3, l.N());
}

void Kind18Fields(CaptureLine& l) {
  const std::size_t A = l.A();
  Kind17Fields(l);
  const std::size_t e = 28 + A;
  l.B(e);
  l.S(e + 1, A, l.N() != (l.ByteAt(e) == 1));
  l.S(e + 1 + A, 3, l.N());
  if (l.Length() > 2 * A + 36) l.DT(e + 4 + A);
}

void Kind25Fields(CaptureLine& l) {
  const std::size_t A = l.A();
  l.FD();
  l.D(1, 2);
  l.D(3, 1);
  l.D(4, 3);
  l.S(7, A, l.N());
  l.D(7 + A, 2);
}

void Kind26Fields(CaptureLine& l) {
  l.DT(6);
  l.D(4, 2);
  l.D(11, 2);
  l.D(3, 1);
  l.D(1, 2);
  if (l.Length() >= 13 + kLongCodeBytes) l.H(13, kLongCodeBytes);
}

void KindFields(CaptureLine& l, int kind, const EcrConfigRecord& config) {
  const std::size_t A = l.A();
  switch (kind) {
    case 2:
      l.FD();
      l.B(1);
      l.S(2, A, l.N());
      l.S(2 + A, A, l.N());
      break;
    case 3:
      Kind3Fields(l);
      break;
    case 4:
      Kind4Fields(l, config);
      break;
    case 5:
      Kind5Fields(l);
      break;
    case 6:
    case 8:
    case 19:
      l.B(1);
      break;
    case 7:
      Kind7Fields(l);
      break;
    case 9:
      Kind9Fields(l);
      break;
    case 10:
      l.FD();
      l.D(1, 2);
      l.S(3, A, l.N());
      break;
    case 11:
    case 21:
      Kind11Fields(l);
      break;
    case 12:
    case 22:
      l.FD();
      l.S(1, A, l.N());
      break;
    case 13:
      Kind13Fields(l);
      break;
    case 14:
      l.D(1, 2);
      l.S(3, A, l.N());
      break;
    case 15:
      Kind15Fields(l);
      break;
    case 17:
      Kind17Fields(l);
      break;
    case 18:
      Kind18Fields(l);
      break;
    case 25:
      Kind25Fields(l);
      break;
    case 26:
      Kind26Fields(l);
      break;
    case 27:
      Kind27Fields(l, config);
      break;
    case 30:
      l.FD();
      break;
    default:
      break;  // the kind digits alone
  }
}

}  // namespace

std::string& FormatDataCaptureRecord(int ecr, std::string& dst, std::span<const std::uint8_t> record,
                                     int mode) {
  if (mode == CAPTURE_MODE_HEX) return dst += BytesToHex(record);
  if (record.empty()) return dst;
  const EcrConfigRecord& config = EventRecord(ecr);
  CaptureLine line(record, config, mode == CAPTURE_MODE_FLAGGED);
  const int kind = record[0] & kKindMask;
  line.Kind(kind);
  KindFields(line, kind, config);
  if (!line.Truncated()) dst += line.Text();
  return dst;
}

}  // namespace quadrel
