// The register's single-byte character sets against the PC's ANSI code pages,
// and the hex text form of register bytes (BCD values, interaction data).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

struct EcrConfigRecord;

using ByteMap = std::array<std::uint8_t, 256>;

// One register set against one PC set, a table for each direction.
struct CodePagePair {
  ByteMap ecrToPc;
  ByteMap pcToEcr;
};

enum class CodePage { Nordic, Portuguese, Cyrillic, Greek, Turkish };
constexpr int kCodePageCount = 5;

// How a model converts in one direction.
enum class TextConversion { PlainCopy, Table, BlankHighBytes };

struct CodePageChoice {
  TextConversion conversion = TextConversion::PlainCopy;
  CodePage page = CodePage::Nordic;  // meaningful for TextConversion::Table only
};

struct CodePageTables {
  std::array<CodePagePair, kCodePageCount> pairs;
  const CodePagePair& Pair(CodePage page) const { return pairs[static_cast<int>(page)]; }
};

// Builds the five pairs (TradInit does this before anything is read from a register).
void BuildCodePageTables();
const CodePageTables& CodePages();

// Which conversion a model uses; model fields as in the configuration record.
CodePageChoice EcrToPcChoice(char modelLetter, int modelNumberN, int modelChar1IsLetter);
CodePageChoice PcToEcrChoice(char modelLetter, int modelNumberN, int modelChar1IsLetter);

// Register bytes -> PC text for the current record's model. A plain copy stops at
// the first zero byte; a converted text keeps every byte. `converted` says whether a
// table or the blanking rule was applied.
std::string EcrToPcText(std::string_view ecrBytes);
std::string EcrToPcText(std::string_view ecrBytes, bool& converted);
// The same for the model of `record` rather than the current one.
std::string EcrToPcText(std::string_view ecrBytes, const EcrConfigRecord& record);

// PC text -> register bytes for the current record's model; `converted` says whether
// a table was applied.
std::string PcToEcrText(std::string_view pcText);
std::string PcToEcrText(std::string_view pcText, bool& converted);

// Two uppercase hex digits a byte, high half first.
std::string BytesToHex(std::span<const std::uint8_t> bytes);

// Replaces `out` with one byte per pair of uppercase hex digits. Returns false on an
// odd length (the final digit still becomes one byte with a zero low half) or at the
// first digit that is not 0-9/A-F (the bytes before its pair stay in `out`).
bool HexToBytes(std::string_view hex, std::vector<std::uint8_t>& out);

}  // namespace quadrel
