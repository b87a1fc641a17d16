#include "printer/printer.h"

#include <cstdio>
#include <fstream>

namespace ecrsim {

std::string AmountText(std::int64_t hundredths) {
  const bool negative = hundredths < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(hundredths) : static_cast<std::uint64_t>(hundredths);
  char text[32];
  std::snprintf(text, sizeof text, "%s%llu.%02llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / 100),
                static_cast<unsigned long long>(magnitude % 100));
  return text;
}

void Printer::Print(std::string_view line) {
  Keep(std::string(line.substr(0, static_cast<std::size_t>(width > 0 ? width : 0))));
}

void Printer::Keep(std::string line) {
  if (!file.empty()) {
    std::ofstream out(file, std::ios::app | std::ios::binary);
    out << line << '\n';
  }
  if (journal) journal->Record(line);
  if (echo) echoed.push_back(line);
  if (lines_.size() >= kMaxPrintedLines) lines_.pop_front();
  lines_.push_back(std::move(line));
}

void Printer::PrintAmount(std::string_view label, std::int64_t hundredths) {
  const std::string amount = AmountText(hundredths);
  const std::size_t room = width > 0 ? static_cast<std::size_t>(width) : 0;
  std::string line(label.substr(0, room > amount.size() + 1 ? room - amount.size() - 1 : 0));
  if (line.size() + amount.size() < room) line.append(room - line.size() - amount.size(), ' ');
  Print(line + amount);
}

void Printer::PrintCentred(std::string_view text) {
  const std::size_t room = width > 0 ? static_cast<std::size_t>(width) : 0;
  const std::size_t indent = text.size() < room ? (room - text.size()) / 2 : 0;
  Print(std::string(indent, ' ') + std::string(text));
}

void Printer::PrintRule() {
  Print(std::string(static_cast<std::size_t>(width > 0 ? width : 0), '-'));
}

std::string Printer::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + '\n';
  return text;
}

}  // namespace ecrsim
