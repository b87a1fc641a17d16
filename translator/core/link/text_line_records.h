// Text-line records: a text the register prints inside a document, sent as a
// key record 'A', 19, L, kind, sub, the text, 0, '8' (L counts kind, sub, the
// text and the 0).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/key_records.h"

namespace quadrel {

// Kinds of text line.
constexpr std::uint8_t kTextLinePair = 1;      // command 14's two texts
constexpr std::uint8_t kTextLineField = 2;     // command 19
constexpr std::uint8_t kTextLinePlain = 3;     // command 20
constexpr std::uint8_t kTextLinePrint = 4;     // command 21: print lines, barcode rows, captions
constexpr std::uint8_t kTextLineDocument = 5;  // document texts of commands 23 and 25

// `text` in the register's character set, cut to the current print width.
std::string PrintLineBytes(std::string_view text);

// Adds one text-line record holding `ecrText` as it is.
void AddTextLine(KeyRecords& records, std::uint8_t kind, std::uint8_t sub, std::string_view ecrText);

// The four document lines of fields first..first+3: the first always (sub 0),
// the others (subs 1-3) when given.
void AddDocumentLines(KeyRecords& records, int firstSlot);

}  // namespace quadrel
