#include "commands/transfers/article_lines.h"

#include <string_view>

#include "language/command_line_form.h"
#include "records/article_record.h"
#include "state/library_state.h"
#include "text/bcd_text.h"
#include "text/code_page.h"
#include "text/out_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kArticleCommand = 51;
constexpr int kFirstNumberSlot = 3;
constexpr int kSecondNumberSlot = 4;
constexpr int kClassSlot = 5;
constexpr int kExtraFirstSlot = 12;
constexpr int kExtraSecondSlot = 13;
constexpr int kNumberDigits = 5;
constexpr int kExtraDecimals = 3;
constexpr std::size_t kLongCodeBytes = 7;  // a code this wide is written as its last 13 digits
constexpr int kOptionsNoFill = 2;  // OutEditOptions that leave out the blanks of a class without digit

std::string Trimmed(std::string text) {
  TrimRight(text);
  return text;
}

std::string Chars(ByteSpan bytes) {
  return {bytes.begin(), bytes.end()};
}

int Word(ByteSpan bytes) {
  return bytes[0] | bytes[1] << 8;
}

std::string Decimal(int value, int width) {
  std::string out;
  return PadLeft(out, std::to_string(value), width, '0');
}

std::string Amount(ByteSpan bcd, int decimals) {
  std::string out;
  return BcdToDecimalText(out, bcd, decimals);
}

// A field written as it stands and followed by the separator, as
// EditOutField does for a number: the class code's hex digits may be 'B' or
// 'D', which it would turn into an exponent or a sign.
void AppendPlainField(std::string& line, std::string_view text) {
  line += text;
  const char separator = SeparatorChar();
  if (Library().options.OutEditOptions != 1 && separator != '\0') line += separator;
}

std::string ClassText(ByteSpan pair) {
  std::string text = BytesToHex(pair.first(1));
  if (pair[1] != 0)
    text += 'I' + std::to_string(pair[1] - 1);
  else if (Library().options.OutEditOptions != kOptionsNoFill)
    text += "  ";
  return text;
}

void AppendTrailingValues(std::string& line, const DownloadedArticle& a) {
  if (!a.fourth.empty()) EditOutField(line, BytesToHex(a.fourth), 1);
  if (!a.extraFirst.empty()) {
    EditOutField(line, BytesToHex(a.extraFirst), 3);
    EditOutField(line, BytesToHex(a.extraSecond), 1);
  }
}

}  // namespace

bool SplitArticleRecord(ByteSpan record, const ArticleGeometry& g, bool codesOnly, DownloadedArticle& out) {
  const auto code = static_cast<std::size_t>(g.codeBytes);
  std::size_t body = 0;
  if (!codesOnly) {
    const auto layout = ArticleLayout(g);
    body = static_cast<std::size_t>(RecordSize(layout));
    if (g.fourthValue)
      body -= static_cast<std::size_t>(g.fourthBytes);  // read below with the trailing values
  }
  const auto fourth = static_cast<std::size_t>(g.fourthValue ? g.fourthBytes : 0);
  const auto extraFirst = static_cast<std::size_t>(g.extraGroup ? g.fourthBytes : 0);
  const auto extraSecond = static_cast<std::size_t>(g.extraGroup ? g.extraBytes : 0);
  if (record.size() < code + body + fourth + extraFirst + extraSecond) return false;

  out = DownloadedArticle{};
  out.codesOnly = codesOnly;
  out.code = record.first(code);
  std::size_t at = code;
  auto take = [&](std::size_t bytes) {
    const ByteSpan field = record.subspan(at, bytes);
    at += bytes;
    return field;
  };
  if (!codesOnly) {
    const auto p = static_cast<std::size_t>(g.priceBytes);
    out.description = take(static_cast<std::size_t>(g.descriptionBytes));
    out.firstNumber = take(2);
    out.secondNumber = take(2);
    out.classPair = take(2);
    for (ByteSpan& price : out.prices) price = take(p);
  }
  out.fourth = take(fourth);
  out.extraFirst = take(extraFirst);
  out.extraSecond = take(extraSecond);
  return true;
}

std::string ArticleCodeText(ByteSpan code, const ArticleGeometry& geometry) {
  return geometry.alphanumeric ? Trimmed(Chars(code)) : BytesToHex(code);
}

std::string ArticleValuesLine(const DownloadedArticle& a, const ArticleGeometry& g) {
  std::string line;
  EditOutField(line, ArticleCodeText(a.code, g), g.alphanumeric ? OUT_FIELD_TEXT : 0);
  if (!a.codesOnly) {
    EditOutField(line, Trimmed(EcrToPcText(Chars(a.description))), OUT_FIELD_TEXT);
    EditOutField(line, Decimal(Word(a.firstNumber), kNumberDigits), 0);
    EditOutField(line, Decimal(Word(a.secondNumber), kNumberDigits), 0);
    AppendPlainField(line, ClassText(a.classPair));
    for (const ByteSpan& price : a.prices) EditOutField(line, BytesToHex(price), 0);
  }
  AppendTrailingValues(line, a);
  return line;
}

std::string ArticleCommandLine(const DownloadedArticle& a, const ArticleGeometry& g) {
  CommandLineText line(kArticleCommand);
  if (g.alphanumeric) {
    line.AddQuoted(kArticleCodeSlot, ArticleCodeText(a.code, g));
  } else {
    std::string digits;
    line.Add(kArticleCodeSlot, a.code.size() == kLongCodeBytes
                                   ? BcdToDecimalText(digits, a.code, BCD_RAW_DIGITS)
                                   : BytesToHex(a.code));
  }
  if (!a.codesOnly) {
    line.AddQuoted(kArticleDescriptionSlot, Trimmed(EcrToPcText(Chars(a.description))));
    line.Add(kFirstNumberSlot, std::to_string(Word(a.firstNumber)));
    line.Add(kSecondNumberSlot, std::to_string(Word(a.secondNumber)));
    // The article command reads the class as hex digits and the class digit as one.
    line.AddQuoted(kClassSlot, BytesToHex(a.classPair.first(1)));
    line.AddQuoted(kArticleClassDigitSlot, BytesToHex(a.classPair.last(1)).substr(1));
    for (int i = 0; i < 3; ++i)
      line.Add(kArticleFirstPriceSlot + i, Amount(a.prices[i], BCD_REGISTER_DECIMALS));
  }
  // The article command takes the fourth value as its digits.
  if (!a.fourth.empty()) line.Add(kArticleFourthValueSlot, BytesToHex(a.fourth));
  if (!a.extraFirst.empty()) {
    line.Add(kExtraFirstSlot, Amount(a.extraFirst, kExtraDecimals));
    line.Add(kExtraSecondSlot, Amount(a.extraSecond, BCD_REGISTER_DECIMALS));
  }
  return line.Text();
}

}  // namespace quadrel
