// The register character sets: every listed character both ways, checked
// against the C library's own code-page converters, everything else blank;
// which model takes which table; the hex text form of bytes.
#include "text/code_page.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "state/ecr_config.h"

namespace quadrel {
namespace {

// The byte of one character (given in UTF-8) in a single-byte code page; -1 when it has none.
int ByteIn(const std::string& utf8Char, const char* codePage) {
  iconv_t cd = iconv_open(codePage, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
  std::string in = utf8Char;
  char out[4] = {};
  char* inPtr = in.data();
  char* outPtr = out;
  std::size_t inLeft = in.size();
  std::size_t outLeft = sizeof out;
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1) || sizeof out - outLeft != 1) return -1;
  return static_cast<std::uint8_t>(out[0]);
}

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | c >> 6);
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | c >> 12);
    s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

std::vector<char32_t> Range(char32_t first, char32_t last, std::set<char32_t> without = {}) {
  std::vector<char32_t> chars;
  for (char32_t c = first; c <= last; ++c) {
    if (!without.contains(c)) chars.push_back(c);
  }
  return chars;
}

struct PairCase {
  const char* name;
  CodePage page;
  const char* ecrSet;
  const char* pcSet;
  std::vector<char32_t> bothWays;         // characters mapped in both directions
  std::vector<char32_t> capitalsOfSmall;  // PC small letters sent as the capital one below them
};

std::vector<PairCase> PairCases() {
  return {
      {"Nordic",
       CodePage::Nordic,
       "CP850",
       "CP1252",
       {U'ü', U'ä', U'å', U'Ä', U'Å', U'æ', U'Æ', U'ö', U'Ö', U'Ü', U'ø', U'Ø', U'ß'},
       {}},
      {"Portuguese",
       CodePage::Portuguese,
       "CP850",
       "CP1252",
       {U'Ç', U'º', U'Á', U'Â', U'À', U'Ã', U'Ê', U'Í', U'Ó', U'Ô', U'Õ', U'Ú'},
       {}},
      {"Cyrillic", CodePage::Cyrillic, "CP866", "CP1251", Range(U'А', U'я'), {}},
      {"Greek", CodePage::Greek, "CP737", "CP1253", Range(U'Α', U'Ω', {0x3A2}), Range(U'α', U'ω', {U'ς'})},
      {"Turkish",
       CodePage::Turkish,
       "CP857",
       "CP1254",
       {U'Ç', U'ü', U'ç', U'ı', U'ö', U'İ', U'Ö', U'Ü', U'Ş', U'ş', U'Ğ', U'ğ'},
       {}},
  };
}

class CodePageTablesTest : public ::testing::TestWithParam<PairCase> {
 protected:
  void SetUp() override { BuildCodePageTables(); }
};

TEST_P(CodePageTablesTest, ListedCharactersMapBothWaysAndEveryOtherHighByteIsBlank) {
  const PairCase& c = GetParam();
  const CodePagePair& pair = CodePages().Pair(c.page);
  std::set<int> ecrMapped;
  std::set<int> pcMapped;
  auto expectPair = [&](int ecr, int pc, bool bothWays, const std::string& what) {
    ASSERT_GE(ecr, 0x80) << what;
    ASSERT_GE(pc, 0x80) << what;
    if (bothWays) {
      EXPECT_EQ(pair.ecrToPc[ecr], pc) << what;
      ecrMapped.insert(ecr);
    }
    EXPECT_EQ(pair.pcToEcr[pc], ecr) << what;
    pcMapped.insert(pc);
  };
  for (char32_t ch : c.bothWays) {
    expectPair(ByteIn(Utf8(ch), c.ecrSet), ByteIn(Utf8(ch), c.pcSet), true, Utf8(ch));
  }
  for (std::size_t i = 0; i < c.capitalsOfSmall.size(); ++i) {
    const char32_t small = c.capitalsOfSmall[i];
    expectPair(ByteIn(Utf8(c.bothWays[i]), c.ecrSet), ByteIn(Utf8(small), c.pcSet), false, Utf8(small));
  }
  if (c.page == CodePage::Portuguese) expectPair(0x90, ByteIn(Utf8(U'È'), c.pcSet), true, "È at 0x90");

  EXPECT_EQ(ecrMapped.size(), c.bothWays.size() + (c.page == CodePage::Portuguese ? 1 : 0));
  for (int b = 0; b < 256; ++b) {
    const int ownOrBlank = b < 0x80 ? b : 0x20;
    if (!ecrMapped.contains(b)) {
      EXPECT_EQ(pair.ecrToPc[b], ownOrBlank) << c.name << " register byte " << b;
    }
    if (!pcMapped.contains(b)) {
      EXPECT_EQ(pair.pcToEcr[b], ownOrBlank) << c.name << " PC byte " << b;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FivePairs, CodePageTablesTest, ::testing::ValuesIn(PairCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CodePageTables, CharactersWithoutEntryBecomeBlanks) {
  BuildCodePageTables();
  const CodePagePair& cyrillic = CodePages().Pair(CodePage::Cyrillic);
  EXPECT_EQ(cyrillic.ecrToPc[ByteIn(Utf8(U'Ё'), "CP866")], 0x20);
  EXPECT_EQ(cyrillic.pcToEcr[ByteIn(Utf8(U'ё'), "CP1251")], 0x20);
  const CodePagePair& greek = CodePages().Pair(CodePage::Greek);
  EXPECT_EQ(greek.pcToEcr[ByteIn(Utf8(U'ς'), "CP1253")], 0x20);
  // CP850's É sits where the Portuguese register keeps È.
  EXPECT_EQ(CodePages().Pair(CodePage::Portuguese).pcToEcr[ByteIn(Utf8(U'É'), "CP1252")], 0x20);
}

// Conversions of the current record's model.
class EcrTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildCodePageTables();
    ResetAllEcrRecords();
    SetCurrentRecordSlot(1);
  }
  void TearDown() override { ResetAllEcrRecords(); }

  void Model(char letter, int numberN = 0, int char1IsLetter = 0) {
    EcrConfigRecord& r = EcrRecord(1);
    r.ModelLetter = letter;
    r.ModelNumberN = numberN;
    r.ModelChar1IsLetter = char1IsLetter;
  }
  static std::string In(const char* codePage, const std::u32string& text) {
    std::string out;
    for (char32_t c : text) out += static_cast<char>(c < 0x80 ? c : ByteIn(Utf8(c), codePage));
    return out;
  }
};

TEST(CodePageChoiceTest, EachModelTakesItsTable) {
  struct Case {
    char model;
    int numberN;
    int char1IsLetter;
    TextConversion toPc;
    TextConversion toEcr;
    CodePage page;
  };
  const auto table = TextConversion::Table;
  const auto plain = TextConversion::PlainCopy;
  const auto blank = TextConversion::BlankHighBytes;
  const Case cases[] = {
      {'6', 0, 0, table, table, CodePage::Greek},      {'A', 0, 0, table, table, CodePage::Greek},
      {'D', 0, 0, table, table, CodePage::Greek},      {'H', 0, 0, table, table, CodePage::Greek},
      {'H', 0, 1, plain, plain, CodePage::Greek},      {'R', 0, 0, table, table, CodePage::Cyrillic},
      {'R', 0, 1, plain, plain, CodePage::Cyrillic},   {'K', 0, 0, table, table, CodePage::Turkish},
      {'K', 0, 1, table, table, CodePage::Turkish},    {'N', 1, 0, table, table, CodePage::Nordic},
      {'N', 2, 0, table, table, CodePage::Portuguese}, {'N', 3, 1, table, table, CodePage::Portuguese},
      {'N', 0, 0, plain, plain, CodePage::Nordic},     {'N', 4, 0, plain, plain, CodePage::Nordic},
      {'C', 0, 0, plain, plain, CodePage::Nordic},     {'T', 0, 0, blank, plain, CodePage::Nordic},
      {'T', 0, 1, plain, plain, CodePage::Nordic},     {'S', 0, 0, blank, plain, CodePage::Nordic},
  };
  for (const Case& c : cases) {
    const CodePageChoice toPc = EcrToPcChoice(c.model, c.numberN, c.char1IsLetter);
    const CodePageChoice toEcr = PcToEcrChoice(c.model, c.numberN, c.char1IsLetter);
    const std::string what = std::string("model ") + c.model + " N " + std::to_string(c.numberN) +
                             " letter " + std::to_string(c.char1IsLetter);
    EXPECT_EQ(toPc.conversion, c.toPc) << what;
    EXPECT_EQ(toEcr.conversion, c.toEcr) << what;
    if (c.toPc == table) {
      EXPECT_EQ(toPc.page, c.page) << what;
    }
    if (c.toEcr == table) {
      EXPECT_EQ(toEcr.page, c.page) << what;
    }
  }
}

TEST_F(EcrTextTest, NordicWordGoesOutInTheRegisterSetAndComesBack) {
  Model('N', 1);
  const std::string word = In("CP1252", U"Grüße");
  bool converted = false;
  const std::string sent = PcToEcrText(word, converted);
  EXPECT_TRUE(converted);
  EXPECT_EQ(sent, std::string("\x47\x72\x81\xE1\x65"));
  EXPECT_EQ(EcrToPcText(sent), word);
}

TEST_F(EcrTextTest, EuroSignBecomesBlankOnEveryTableModel) {
  const std::string euro = "\x80";
  for (const auto& [letter, n] : {std::pair{'N', 1}, {'N', 2}, {'K', 0}, {'R', 0}, {'A', 0}}) {
    Model(letter, n);
    EXPECT_EQ(PcToEcrText("1" + euro), "1 ") << letter << n;
  }
}

TEST_F(EcrTextTest, GreekSmallLettersArriveAsCapitals) {
  Model('D');
  const std::string sent = PcToEcrText(In("CP1253", U"αβγ ΔΕ"));
  EXPECT_EQ(sent, In("CP737", U"ΑΒΓ ΔΕ"));
  EXPECT_EQ(EcrToPcText(sent), In("CP1253", U"ΑΒΓ ΔΕ"));
}

TEST_F(EcrTextTest, UnlistedModelBlanksHighBytesReadButSendsTextUnchanged) {
  Model('T');
  const std::string text = std::string("A\x81\xE1z\xFF", 5);
  bool converted = false;
  EXPECT_EQ(PcToEcrText(text, converted), text);
  EXPECT_FALSE(converted);
  EXPECT_EQ(EcrToPcText(text, converted), "A  z ");
  EXPECT_TRUE(converted);
  Model('T', 0, 1);
  EXPECT_EQ(EcrToPcText(text, converted), text);
  EXPECT_FALSE(converted);
}

TEST_F(EcrTextTest, PlainCopyStopsAtZeroWhileTablesKeepEveryByte) {
  const std::string withZero("AB\0CD", 5);
  Model('C');
  EXPECT_EQ(EcrToPcText(withZero), "AB");
  EXPECT_EQ(PcToEcrText(withZero), "AB");
  Model('K');
  EXPECT_EQ(EcrToPcText(withZero), withZero);
  EXPECT_EQ(PcToEcrText(withZero), withZero);
}

TEST_F(EcrTextTest, RecordOverloadUsesThatRecordsModel) {
  Model('C');
  EcrConfigRecord other{};
  other.ModelLetter = 'R';
  EXPECT_EQ(EcrToPcText("\x80\xE0", other), In("CP1251", U"Ар"));
}

TEST(HexText, BytesBecomeTwoUppercaseDigitsAndBackForEveryValue) {
  std::vector<std::uint8_t> all(256);
  for (int b = 0; b < 256; ++b) all[b] = static_cast<std::uint8_t>(b);
  const std::string hex = BytesToHex(all);
  ASSERT_EQ(hex.size(), 512u);
  EXPECT_EQ(hex.substr(0x42 * 2, 2), "42");
  EXPECT_EQ(hex.substr(0xAF * 2, 2), "AF");
  std::vector<std::uint8_t> back;
  EXPECT_TRUE(HexToBytes(hex, back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(BytesToHex({}), "");
}

TEST(HexText, OddLengthsAndBadDigits) {
  std::vector<std::uint8_t> out = {9, 9, 9};
  EXPECT_TRUE(HexToBytes("0A1B", out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x0A, 0x1B}));

  EXPECT_FALSE(HexToBytes("0A1", out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x0A, 0x10}));
  EXPECT_FALSE(HexToBytes("F", out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0xF0}));

  EXPECT_FALSE(HexToBytes("0a", out));  // lowercase is no digit here
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(HexToBytes("12G4", out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x12}));
  EXPECT_FALSE(HexToBytes("123 ", out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x12}));
  EXPECT_FALSE(HexToBytes(std::string_view("1\0", 2), out));

  EXPECT_TRUE(HexToBytes("", out));
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace quadrel
