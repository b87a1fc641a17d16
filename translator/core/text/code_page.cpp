#include "text/code_page.h"

#include <algorithm>

#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kBlank = 0x20;

// Register byte and PC byte of one character the two sets share.
struct CharPair {
  std::uint8_t ecr;
  std::uint8_t pc;
};

// Nordic: CP850 against Windows-1252 (ü ä å Ä Å æ Æ ö Ö Ü ø Ø ß).
constexpr CharPair kNordic[] = {
    {0x81, 0xFC}, {0x84, 0xE4}, {0x86, 0xE5}, {0x8E, 0xC4}, {0x8F, 0xC5}, {0x91, 0xE6}, {0x92, 0xC6},
    {0x94, 0xF6}, {0x99, 0xD6}, {0x9A, 0xDC}, {0x9B, 0xF8}, {0x9D, 0xD8}, {0xE1, 0xDF},
};

// Portuguese: CP850 against Windows-1252 (Ç È º Á Â À Ã Ê Í Ó Ô Õ Ú). The
// register shows È at 0x90, where CP850 has É.
constexpr CharPair kPortuguese[] = {
    {0x80, 0xC7}, {0x90, 0xC8}, {0xA7, 0xBA}, {0xB5, 0xC1}, {0xB6, 0xC2}, {0xB7, 0xC0}, {0xC7, 0xC3},
    {0xD2, 0xCA}, {0xD6, 0xCD}, {0xE0, 0xD3}, {0xE2, 0xD4}, {0xE5, 0xD5}, {0xE9, 0xDA},
};

// Turkish: CP857 against Windows-1254 (Ç ü ç ı ö İ Ö Ü Ş ş Ğ ğ).
constexpr CharPair kTurkish[] = {
    {0x80, 0xC7}, {0x81, 0xFC}, {0x87, 0xE7}, {0x8D, 0xFD}, {0x94, 0xF6}, {0x98, 0xDD},
    {0x99, 0xD6}, {0x9A, 0xDC}, {0x9E, 0xDE}, {0x9F, 0xFE}, {0xA6, 0xD0}, {0xA7, 0xF0},
};

// A run of consecutive characters at the same place in both sets.
struct CharRange {
  std::uint8_t ecrFirst;
  std::uint8_t pcFirst;
  int count;
};

// Cyrillic: CP866 against Windows-1251, the letters А-Я а-я (Ё ё have no entry).
constexpr CharRange kCyrillic[] = {{0x80, 0xC0, 48}, {0xE0, 0xF0, 16}};

// Greek: CP737 against Windows-1253, the capitals Α-Ρ and Σ-Ω. The register has
// no small letters: α-ρ and σ-ω go out as their capitals (final ς has no entry).
constexpr CharRange kGreekCapitals[] = {{0x80, 0xC1, 17}, {0x91, 0xD3, 7}};
constexpr CharRange kGreekSmallToCapitals[] = {{0x80, 0xE1, 17}, {0x91, 0xF3, 7}};

ByteMap IdentityWithBlankHighHalf() {
  ByteMap map{};
  for (int b = 0; b < 256; ++b) map[b] = b < 128 ? static_cast<std::uint8_t>(b) : kBlank;
  return map;
}

CodePagePair EmptyPair() {
  return {IdentityWithBlankHighHalf(), IdentityWithBlankHighHalf()};
}

template <std::size_t N>
CodePagePair PairFromList(const CharPair (&list)[N]) {
  CodePagePair pair = EmptyPair();
  for (const CharPair& c : list) {
    pair.ecrToPc[c.ecr] = c.pc;
    pair.pcToEcr[c.pc] = c.ecr;
  }
  return pair;
}

template <std::size_t N>
void AddRanges(CodePagePair& pair, const CharRange (&ranges)[N], bool bothWays) {
  for (const CharRange& r : ranges) {
    for (int i = 0; i < r.count; ++i) {
      const auto ecr = static_cast<std::uint8_t>(r.ecrFirst + i);
      const auto pc = static_cast<std::uint8_t>(r.pcFirst + i);
      if (bothWays) pair.ecrToPc[ecr] = pc;
      pair.pcToEcr[pc] = ecr;
    }
  }
}

CodePageTables BuildTables() {
  CodePageTables built;
  built.pairs[static_cast<int>(CodePage::Nordic)] = PairFromList(kNordic);
  built.pairs[static_cast<int>(CodePage::Portuguese)] = PairFromList(kPortuguese);
  built.pairs[static_cast<int>(CodePage::Turkish)] = PairFromList(kTurkish);

  CodePagePair& cyrillic = built.pairs[static_cast<int>(CodePage::Cyrillic)] = EmptyPair();
  AddRanges(cyrillic, kCyrillic, true);

  CodePagePair& greek = built.pairs[static_cast<int>(CodePage::Greek)] = EmptyPair();
  AddRanges(greek, kGreekCapitals, true);
  AddRanges(greek, kGreekSmallToCapitals, false);
  return built;
}

// Built at load as well, so a conversion before the first TradInit is already right.
CodePageTables tables = BuildTables();

CodePageChoice ChooseFor(char modelLetter, int modelNumberN, int modelChar1IsLetter, bool toPc) {
  const auto table = [](CodePage page) { return CodePageChoice{TextConversion::Table, page}; };
  const CodePageChoice plain{};
  switch (modelLetter) {
    case '6':
    case 'A':
    case 'D':
    case 'H':
      return modelChar1IsLetter == 0 ? table(CodePage::Greek) : plain;
    case 'R':
      return modelChar1IsLetter == 0 ? table(CodePage::Cyrillic) : plain;
    case 'K':
      return table(CodePage::Turkish);
    case 'N':
      if (modelNumberN == 1) return table(CodePage::Nordic);
      if (modelNumberN == 2 || modelNumberN == 3) return table(CodePage::Portuguese);
      return plain;
    case 'C':
      return plain;
    default:
      // Other models print only the low half; what they send above it is unreadable.
      if (toPc && modelChar1IsLetter == 0) return {TextConversion::BlankHighBytes};
      return plain;
  }
}

// A plain copy ends at the first zero byte, as the register's texts do.
std::string PlainCopy(std::string_view text) {
  return std::string(text.substr(0, std::min(text.find('\0'), text.size())));
}

std::string Mapped(std::string_view text, const ByteMap& map) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[i] = static_cast<char>(map[static_cast<std::uint8_t>(text[i])]);
  }
  return out;
}

std::string Convert(std::string_view text, const CodePageChoice& choice, bool toPc, bool& converted) {
  converted = choice.conversion != TextConversion::PlainCopy;
  switch (choice.conversion) {
    case TextConversion::Table: {
      const CodePagePair& pair = tables.Pair(choice.page);
      return Mapped(text, toPc ? pair.ecrToPc : pair.pcToEcr);
    }
    case TextConversion::BlankHighBytes:
      return Mapped(text, IdentityWithBlankHighHalf());
    case TextConversion::PlainCopy:
      break;
  }
  return PlainCopy(text);
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void BuildCodePageTables() {
  tables = BuildTables();
}

const CodePageTables& CodePages() {
  return tables;
}

CodePageChoice EcrToPcChoice(char modelLetter, int modelNumberN, int modelChar1IsLetter) {
  return ChooseFor(modelLetter, modelNumberN, modelChar1IsLetter, true);
}

CodePageChoice PcToEcrChoice(char modelLetter, int modelNumberN, int modelChar1IsLetter) {
  return ChooseFor(modelLetter, modelNumberN, modelChar1IsLetter, false);
}

std::string EcrToPcText(std::string_view ecrBytes, const EcrConfigRecord& record) {
  bool converted = false;
  const CodePageChoice choice =
      EcrToPcChoice(record.ModelLetter, record.ModelNumberN, record.ModelChar1IsLetter);
  return Convert(ecrBytes, choice, true, converted);
}

std::string EcrToPcText(std::string_view ecrBytes, bool& converted) {
  const EcrConfigRecord& r = CurrentRecord();
  return Convert(ecrBytes, EcrToPcChoice(r.ModelLetter, r.ModelNumberN, r.ModelChar1IsLetter), true,
                 converted);
}

std::string EcrToPcText(std::string_view ecrBytes) {
  bool converted = false;
  return EcrToPcText(ecrBytes, converted);
}

std::string PcToEcrText(std::string_view pcText, bool& converted) {
  const EcrConfigRecord& r = CurrentRecord();
  return Convert(pcText, PcToEcrChoice(r.ModelLetter, r.ModelNumberN, r.ModelChar1IsLetter), false,
                 converted);
}

std::string PcToEcrText(std::string_view pcText) {
  bool converted = false;
  return PcToEcrText(pcText, converted);
}

std::string BytesToHex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0x0F]);
  }
  return hex;
}

bool HexToBytes(std::string_view hex, std::vector<std::uint8_t>& out) {
  out.clear();
  out.reserve(hex.size() / 2 + 1);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigitValue(hex[i]);
    if (high < 0) return false;
    if (i + 1 == hex.size()) {
      out.push_back(static_cast<std::uint8_t>(high << 4));
      return false;
    }
    const int low = HexDigitValue(hex[i + 1]);
    if (low < 0) return false;
    out.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return true;
}

}  // namespace quadrel
