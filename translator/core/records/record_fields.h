// The field forms the article and O-file records are built from: BCD values,
// 16-bit numbers, texts and the article code, and the geometry of the
// register's article file that sizes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

using RecordBytes = std::vector<std::uint8_t>;

// Widths (in bytes) and flags of the current register's records, from its
// file information and programming data.
struct ArticleGeometry {
  int codeBytes = 0;  // the article code field
  int descriptionBytes = 0;
  int numericCodeBytes = 0;  // BCD bytes of a code taken as a number; 0: never a number
  int priceBytes = 0;
  int fourthBytes = 0;        // the fourth value
  bool alphanumeric = false;  // the register takes codes as text
  bool fourthValue = false;   // the record carries the fourth value
  bool extraGroup = false;    // a read record ends with two more values (fourthBytes, extraBytes)
  int extraBytes = 0;         // the second value of that group
  int amountBytes = 0;        // the O-file record's two amounts
};

ArticleGeometry CurrentArticleGeometry();

// Appends `digits` as a BCD field of `width` bytes, zero-padded on the left.
// kResultNotNumericField for anything but digits, kResultNumericFieldIllegal
// when they do not fit: a value is never cut.
int AppendBcd(RecordBytes& out, std::string_view digits, int width);

// Appends a decimal number 0..65535 low byte first (empty is 0); the same
// refusals as AppendBcd.
int AppendWord(RecordBytes& out, std::string_view number);

// Appends a decimal number 0..`max` as one byte (empty is 0).
int AppendSmallNumber(RecordBytes& out, std::string_view number, int max);

// Appends `text` in the register's character set, cut or blank-padded to `width`.
void AppendText(RecordBytes& out, std::string_view text, int width);

// An article code as the register receives it: as a number (BCD on numeric
// registers, zero-padded digits on alphanumeric ones) or as text.
struct ArticleCode {
  std::string text;
  bool asNumber = false;
};

// How the code parameter `code` is written; `quoted` when it was written in quotes.
ArticleCode ReadArticleCode(std::string_view code, bool quoted, const ArticleGeometry& geometry);

// Appends the code field of exactly `codeBytes` bytes, or returns
// kResultArticleCodeInvalid for a code the register cannot take.
int AppendArticleCode(RecordBytes& out, const ArticleCode& code, const ArticleGeometry& geometry);

}  // namespace quadrel
