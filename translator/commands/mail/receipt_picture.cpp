#include "commands/mail/receipt_picture.h"

#include <algorithm>
#include <cstdlib>

#include "commands/mail/nested_lines.h"
#include "commands/mail/picture_library.h"
#include "language/command_field_values.h"
#include "language/command_fields.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/capture_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kReceiptSlot = 1;
constexpr int kStemSlot = 2;
constexpr int kLastPictureSlot = 8;  // the slots the picture library gets

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The register's date answer: a quote, then day, month and year separated.
bool DateOfAnswer(const std::string& answer, std::string& date) {
  if (answer.size() < 9) return false;
  date = {answer[1], answer[2], answer[4], answer[5], answer[7], answer[8]};
  return AllDigits(date);
}

// A leading, then a trailing apostrophe of a slot.
void StripApostrophes(std::string& text) {
  if (!text.empty() && text.front() == '\'') text.erase(0, 1);
  if (!text.empty() && text.back() == '\'') text.pop_back();
}

// #1: the number of an earlier receipt of the day. Its number value 0 (or
// no digits) means the last one; other characters than digits would reach
// the nested journal line, so they are refused.
int ChooseReceipt(const std::string& wanted, LastReceipt& receipt) {
  if (wanted.empty() || std::strtoll(wanted.c_str(), nullptr, 10) == 0) return kResultOk;
  if (!AllDigits(wanted)) return kResultIllegalValue;
  if (std::stoll(receipt.number) < std::stoll(wanted)) return kResultIllegalValue;
  receipt.number = wanted;
  return kResultOk;
}

}  // namespace

int ReadLastReceipt(LastReceipt& receipt) {
  std::string counters, dateAnswer;
  int code = RunNestedLine("#71 #1=10", &counters);
  if (code != 0) return code;
  code = RunNestedLine("#71 #1=7", &dateAnswer);
  if (code != 0) return code;
  // A register with a general-totals block follows the number with a field
  // of that block; the field count tells a missing number from that field.
  const auto fields = 1 + std::count(counters.begin(), counters.end(), SeparatorChar());
  if (fields != (HasGeneralTotalsBlock(CurrentRecord()) ? 2 : 1)) return kResultIllegalValue;
  std::string number;
  GetNthField(counters, number, 1, SeparatorChar());
  if (!AllDigits(number) || number.size() > kReceiptNumberChars) return kResultIllegalValue;
  if (!DateOfAnswer(dateAnswer, receipt.date)) return kResultIllegalValue;
  receipt.number = number;
  return kResultOk;
}

int FetchReceiptLines(const LastReceipt& receipt) {
  std::string journal = "#72 #1=" + receipt.date + ", #2=" + receipt.date + ", #3=" + receipt.number +
                        ", #4=" + receipt.number + ", #6=";
  RunNestedLine(AppendQuoted(journal, kReceiptLinesFile));  // the picture shows what it gave
  std::string header = "#3 #1=4, #2=";
  return RunNestedLine(AppendQuoted(header, kHeaderLinesFile));
}

bool DrawReceiptPicture(const std::string& pictureName) {
  const pictor::DrawJournalPicture draw = PictureDrawer();
  if (!draw) return false;
  auto& slots = CommandFields().value;
  for (int slot = 1; slot <= kLastPictureSlot; ++slot) StripApostrophes(slots[slot]);
  draw(kReceiptLinesFile, pictureName.c_str(), CurrentEcrId().c_str(), slots[1].c_str(),
       slots[2].c_str(), slots[3].c_str(), slots[4].c_str(), slots[5].c_str(), slots[6].c_str(),
       slots[7].c_str(), slots[8].c_str(), CurrentFirmwareName().c_str());
  return true;  // what it returns says nothing the command relies on
}

int CmdReceiptPicture() {
  const std::string wanted = FieldText(kReceiptSlot);
  const std::string stem = FieldText(kStemSlot);
  // The name must hold the stem, a dot and any receipt number.
  if (wanted.size() > kReceiptNumberChars || stem.size() + 1 + kReceiptNumberChars > kPictureNameChars)
    return kResultIllegalValue;

  LastReceipt receipt;
  int code = ReadLastReceipt(receipt);
  if (code == 0) code = ChooseReceipt(wanted, receipt);
  if (code == 0) code = FetchReceiptLines(receipt);
  if (code != 0) return code;
  const std::string name = stem.empty() ? receipt.number + ".bmp" : stem + "." + receipt.number;
  if (!DrawReceiptPicture(name)) return kResultBatchFileOpenError;
  SetPendingReply("OK");
  return kResultOk;
}

}  // namespace quadrel
