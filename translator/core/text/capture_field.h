// The fields of data-capture lines: register values edited as the
// OutEditOptions say, each led by the SeparatorChar (none under options 1).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quadrel {

// EditCaptureField types.
constexpr int CAPTURE_BCD = 0;     // BCD digits, unsigned
constexpr int CAPTURE_SIGNED = 1;  // BCD digits with '+' or '-' (2 edits the same)
constexpr int CAPTURE_SIGNED_2 = 2;
constexpr int CAPTURE_TEXT = 3;  // register text in quotes
constexpr int CAPTURE_CODE = 4;  // article code in hex digits
constexpr int CAPTURE_BYTE = 5;  // one byte in decimal
constexpr int CAPTURE_WORD = 6;  // 16-bit little-endian word in decimal

// Appends one field of `type` made of `data` and returns `dst`. A first
// half-byte 0xD of a BCD value inverts `negative`; a negative field is led by '-', a signed
// one by '+' unless the options are 2. Under options 2 numbers lose their
// leading zeros. A zero byte of a text is written as a blank, so the text
// the host reads is never cut short.
std::string& EditCaptureField(std::string& dst, std::span<const std::uint8_t> data, bool negative, int type);

// Appends the register clock of five BCD bytes as a quoted "dd/mm/yy hh:mm"
// field.
std::string& EditCaptureClock(std::string& dst, std::span<const std::uint8_t, 5> clock);

// Appends `text` between QuoteChar quotes, a QuoteChar inside doubled; without
// quotes when QuoteChar is 0. Returns `dst`.
std::string& AppendQuoted(std::string& dst, std::string_view text);

// Appends register text converted to PC text, quoted as AppendQuoted does.
std::string& QuoteText(std::string& dst, std::string_view registerText);

}  // namespace quadrel
