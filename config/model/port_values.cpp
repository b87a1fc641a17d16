#include "model/port_values.h"

#include <algorithm>
#include <charconv>

#include "interfaces/registry.h"

namespace lathwell {
namespace {

constexpr int kLastPortNumber = 999;
constexpr const char* kOldDefaultLogFile = "c:\\log.txt";
constexpr int kLastTcpPort = 65535;

// Only decimal digits, at most `maxDigits` of them, and at most `max`.
std::optional<int> Digits(std::string_view text, std::size_t maxDigits, int max) {
  if (text.empty() || text.size() > maxDigits || text.find_first_not_of("0123456789") != text.npos) {
    return std::nullopt;
  }
  int number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  if (number > max) return std::nullopt;
  return number;
}

}  // namespace

std::optional<int> ParsePortNumber(const std::string& text) {
  std::size_t start = !text.empty() && text.front() == '+' ? 1 : 0;
  if (start == 1 && text.size() > 1 && text[1] == '-') return std::nullopt;
  int number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + start, end, number);
  if (start == text.size() || error != std::errc() || stop != end) return std::nullopt;
  return number;
}

std::string WithoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

bool IsIpAddress(const std::string& text) {
  const std::string address = WithoutBlanks(text);
  int parts = 0;
  for (std::size_t start = 0; start <= address.size(); ++parts) {
    const std::size_t dot = std::min(address.find('.', start), address.size());
    if (!Digits(std::string_view(address).substr(start, dot - start), 3, 255)) return false;
    start = dot + 1;
  }
  return parts == 4;
}

std::optional<int> ParseTcpPort(const std::string& text) {
  const auto port = Digits(WithoutBlanks(text), 5, kLastTcpPort);
  if (!port || *port == 0) return std::nullopt;
  return port;
}

bool IsStorablePort(int number) {
  return number >= 1 && number <= kLastPortNumber;
}

std::string LogFileFor(const std::string& stored, const std::string& port) {
  if (stored.empty() || stored == kOldDefaultLogFile) return "c:\\logqdx_" + port + ".txt";
  return stored;
}

std::string DefaultSpoolerPattern(const std::string& installationDir, const std::string& port) {
  return installationDir + registry::kSpoolerFolder + port + "\\" + registry::kSpoolerMask;
}

}  // namespace lathwell
