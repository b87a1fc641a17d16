#include "model/port_values.h"

#include <charconv>

#include "interfaces/registry.h"

namespace lathwell {
namespace {

constexpr int kLastPortNumber = 999;
constexpr const char* kOldDefaultLogFile = "c:\\log.txt";

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
