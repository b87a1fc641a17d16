#include "printer/print_lines.h"

#include <algorithm>
#include <vector>

#include "printer/printer.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kBeginPrintout = 11, kEndPrintout = 12, kPrintLine = 13;
constexpr std::uint8_t kHighBit = 0x80;
constexpr std::uint8_t kGraphicAttribute = 0x04;
constexpr std::size_t kHeaderBytes = 4;  // 'O', code, form, attribute

// `bytes` at `offset` bytes from the left, `count` times.
void PrintRows(Printer& printer, std::uint8_t offset, std::uint8_t count,
               std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> row(offset, 0);
  row.insert(row.end(), bytes.begin(), bytes.end());
  for (int i = 0; i < count; ++i) printer.PrintDots(row);
}

void PrintText(Printer& printer, std::uint8_t position, std::span<const std::uint8_t> text) {
  printer.Print(std::string(position, ' ') + std::string(text.begin(), text.end()));
}

}  // namespace

std::optional<std::uint8_t> PrintOutputFrame(Printer& printer, std::span<const std::uint8_t> frame) {
  if (frame.size() < 2) return std::nullopt;
  const std::uint8_t code = frame[1] & static_cast<std::uint8_t>(~kHighBit);
  if (code != kBeginPrintout && code != kEndPrintout && code != kPrintLine) return std::nullopt;
  if (code != kPrintLine) return frame.size() == 3 ? 0 : kRefuseBadLine;
  if (printer.fault) return printer.fault;

  const bool repeatForm = frame.size() > 2 && frame[2] == 1;
  const std::size_t first = kHeaderBytes + (repeatForm ? 2 : 1);  // the count, the offset
  if (frame.size() < first) return kRefuseBadLine;
  const std::span<const std::uint8_t> line = frame.subspan(first);
  if (frame[3] & kGraphicAttribute)
    PrintRows(printer, frame[first - 1], repeatForm ? frame[kHeaderBytes] : 1, line);
  else
    PrintText(printer, frame[first - 1], line);
  return 0;
}

int PrintFieldLine(Printer& printer, const std::string& field) {
  if (printer.fault) return printer.fault;
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(field.data()),
                                            field.size());
  if (bytes.size() < 3) return 0;
  const std::uint8_t attribute = bytes[1];
  const std::span<const std::uint8_t> line = bytes.subspan(2, bytes.size() - 3);  // up to the closing 0
  if (line.empty()) return 0;  // begin and end of a printout, an empty line's attribute
  if (attribute & kGraphicAttribute) {
    if (line.size() >= 2) PrintRows(printer, line[0], line[1], line.subspan(2));
  } else {
    PrintText(printer, 0, line);
  }
  return 0;
}

}  // namespace ecrsim
