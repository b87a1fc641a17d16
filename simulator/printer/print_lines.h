// The lines the host prints one by one: output frames 'O' 11 (begin of a
// printout), 'O' 12 (end) and 'O' 13 (a text line, hex bytes or a row of
// graphic dots, with a repeat count in the repeat form), and the same lines
// as kind-4 text fields of key records. Text lines print as text, graphic
// rows as rows of dots.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ecrsim {

class Printer;

constexpr std::uint8_t kPrintLineField = 4;  // first byte of a key record's print-line field
constexpr std::uint8_t kRefuseBadLine = 3;   // a print-line frame too short for its form

// For an 'O' frame of the print lines: 0 when it printed (or began or ended a
// printout), the printer's fault code or kRefuseBadLine. Nothing for any
// other frame.
std::optional<std::uint8_t> PrintOutputFrame(Printer& printer, std::span<const std::uint8_t> frame);

// A key record's print-line field (kind 4, attribute, the line, 0): 0 or the
// printer's fault code.
int PrintFieldLine(Printer& printer, const std::string& field);

}  // namespace ecrsim
