#include "config/chip_card_fields.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "config/config_text_fields.h"
#include "link/register_link.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kSavedBytesMinAnswer = 76;
constexpr int kSavedBytesCount = 5;
constexpr std::uint8_t kCardStateBusy = 3;  // the enquiry shows it as "card present, not ready" (1)

// What the card data of 'C' 4 decide for the rest of the text.
struct CardData {
  int extraRecords = 0;  // the signed count: above 0 the card text is the long one
  std::optional<std::array<std::uint8_t, kSavedBytesCount>> savedAmount;
};

// The card data fields of 'C' 4 (amounts `d` bytes wide); nullopt when a field lies beyond the answer.
std::optional<CardData> CardFields(ConfigTextFields& f, int d) {
  const int p = 26 + d;
  if (!(f.RawHex(2, 5) && f.RawHex(7, 1) && f.SignedByte(8) && f.RawHex(9, 3) && f.Text(12, 10) &&
        f.Word(22) && f.RawHex(24, 2) && f.Bcd(26, d) && f.RawHex(p, 3) && f.RawHex(p + 3, 1) &&
        f.RawHex(p + 4, 3) && f.SignedByte(p + 7) && f.Text(p + 8, 16) && f.SignedByte(p + 24))) {
    return std::nullopt;
  }
  CardData card;
  card.extraRecords = static_cast<std::int8_t>(f.Byte(p + 24));
  if (card.extraRecords > 0 && !(f.RawHex(p + 25, 8) && f.Text(p + 33, 20))) return std::nullopt;
  if (f.AnswerLength() >= kSavedBytesMinAnswer && f.Fits(p + 53, kSavedBytesCount)) {
    card.savedAmount.emplace();
    std::ranges::copy(f.Bytes(p + 53, kSavedBytesCount), card.savedAmount->begin());
  }
  return card;
}

// Loads the frame answer, with the enquiry's view of the card state.
void UseCardAnswer(ConfigTextFields& fields, ChipCardStyle style) {
  fields.UseFrameAnswer();
  if (style != ChipCardStyle::Enquiry || fields.Byte(1) != kCardStateBusy) return;
  std::vector<std::uint8_t> answer(fields.Bytes(0, fields.AnswerLength()).begin(),
                                   fields.Bytes(0, fields.AnswerLength()).end());
  answer[1] = 1;
  fields.UseAnswer(answer);
}

}  // namespace

std::optional<std::string> ChipCardFields(const EcrConfigRecord& record, ChipCardStyle style) {
  ConfigTextFields fields(record);
  int error = 0;
  if (!SendFrame2('C', 4, error)) return std::nullopt;
  UseCardAnswer(fields, style);
  if (!fields.UnsignedByte(1)) return std::nullopt;
  if (fields.Byte(1) != 0) return fields.Finish(kChipCardTextChars);  // no card in the reader

  const std::optional<CardData> card = CardFields(fields, record.AmountBytes);
  if (!card) return std::nullopt;

  if (!SendFrame2('C', 5, error)) return std::nullopt;
  fields.UseFrameAnswer();
  if (!fields.Fits(1, 1)) return std::nullopt;
  if (fields.Byte(1) != 0) return fields.Finish(kChipCardTextChars);
  if (!fields.Text(2, card->extraRecords < 1 ? 24 : 120)) return std::nullopt;

  if (card->savedAmount) {
    fields.UseAnswer(*card->savedAmount);
    if (style == ChipCardStyle::Enquiry) {
      fields.BcdAmount(0, kSavedBytesCount, record.Decimals);
    } else {
      fields.Bcd(0, kSavedBytesCount);
    }
  }
  return fields.Finish(kChipCardTextChars);
}

}  // namespace quadrel
