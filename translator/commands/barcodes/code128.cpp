#include "commands/barcodes/code128.h"

#include <optional>
#include <vector>

#include "commands/barcodes/dot_row.h"

namespace quadrel {
namespace {

// Bar and space widths in modules, bar first, for values 0-106.
constexpr std::string_view kPatterns[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

constexpr int kCodeC = 99, kCodeB = 100, kCodeA = 101;
constexpr int kFnc1 = 102, kFnc2 = 97, kFnc3 = 96, kShift = 98;
constexpr int kStartA = 103, kStop = 106, kCheckModulus = 103;
constexpr char kEscape = '{';

Code128Set OtherOfAB(Code128Set set) {
  return set == Code128Set::A ? Code128Set::B : Code128Set::A;
}

// The value of data byte `c` in `set` and what the caption shows for it.
std::optional<int> DataValue(unsigned char c, Code128Set set, std::string& caption) {
  switch (set) {
    case Code128Set::A:
      if (c > 0x5F) return std::nullopt;
      caption.push_back(c < 0x20 ? ' ' : static_cast<char>(c));
      return c < 0x20 ? c + 64 : c - 32;
    case Code128Set::B:
      if (c < 32 || c > 127) return std::nullopt;
      caption.push_back(static_cast<char>(c));
      return c - 32;
    case Code128Set::C:
      if (c > 99) return std::nullopt;
      caption.push_back(static_cast<char>('0' + c / 10));
      caption.push_back(static_cast<char>('0' + c % 10));
      return c;
  }
  return std::nullopt;
}

// The symbol of escape `e` in `set` (changing `set` for the code-set escapes).
std::optional<int> EscapeValue(char e, Code128Set& set) {
  switch (e) {
    case '1':
      return kFnc1;
    case '2':
      return kFnc2;
    case '3':
      return kFnc3;
    case '4':
      return set == Code128Set::A ? kCodeA : kCodeB;
    case 'A':
      set = Code128Set::A;
      return kCodeA;
    case 'B':
      set = Code128Set::B;
      return kCodeB;
    case 'C':
      set = Code128Set::C;
      return kCodeC;
    default:
      return std::nullopt;
  }
}

// The symbol values after the start, or nothing when the text is refused.
std::optional<std::vector<int>> DataSymbols(std::string_view text, Code128Set set, std::string& caption) {
  std::vector<int> symbols;
  bool shifted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool escape = text[i] == kEscape;
    if (escape && i + 1 == text.size()) return std::nullopt;
    if (escape && text[i + 1] != kEscape) {
      const char e = text[++i];
      if (shifted) return std::nullopt;  // a shift covers a data character only
      if (e == 'S') {
        if (set == Code128Set::C) return std::nullopt;
        symbols.push_back(kShift);
        shifted = true;
      } else {
        const std::optional<int> value = EscapeValue(e, set);
        if (!value) return std::nullopt;
        symbols.push_back(*value);
      }
      caption.push_back(' ');
      continue;
    }
    if (escape) ++i;  // {{ is one '{'
    const std::optional<int> value =
        DataValue(static_cast<unsigned char>(text[i]), shifted ? OtherOfAB(set) : set, caption);
    if (!value) return std::nullopt;
    symbols.push_back(*value);
    shifted = false;
  }
  if (shifted || symbols.empty()) return std::nullopt;
  return symbols;
}

void DrawSymbol(DotRow& dots, int value, int moduleDots) {
  bool bar = true;
  for (char width : kPatterns[value]) {
    const int elementDots = (width - '0') * moduleDots;
    if (bar)
      dots.Bar(elementDots);
    else
      dots.Space(elementDots);
    bar = !bar;
  }
}

}  // namespace

int EncodeCode128(std::span<std::uint8_t> row, std::string_view text, int moduleDots, Code128Set start,
                  std::string& caption) {
  caption.clear();
  Code128Set set = start;
  if (!text.empty() && text[0] == kEscape && text.size() > 1 && text[1] != kEscape) {
    if (text[1] < 'A' || text[1] > 'C') return 0;
    set = static_cast<Code128Set>(text[1] - 'A');
    text.remove_prefix(2);
  }
  const int startValue = kStartA + static_cast<int>(set);
  std::string shown(1, ' ');
  const std::optional<std::vector<int>> symbols = DataSymbols(text, set, shown);
  if (!symbols) return 0;

  DotRow dots(row);
  DrawSymbol(dots, startValue, moduleDots);
  int checksum = startValue;
  int weight = 1;
  for (int value : *symbols) {
    DrawSymbol(dots, value, moduleDots);
    checksum += weight++ * value;
  }
  DrawSymbol(dots, checksum % kCheckModulus, moduleDots);
  DrawSymbol(dots, kStop, moduleDots);
  if (dots.Overflowed()) return 0;
  caption = shown.substr(0, kCode128CaptionMax);
  return dots.Bytes();
}

}  // namespace quadrel
