#include "config/config_lines.h"

#include <algorithm>

#include "config/word_parsing.h"

namespace ecrsim {
namespace {

// Bytes a "hex" line carries, well inside the control channel's line limit.
constexpr std::size_t kBytesPerLine = 256;

}  // namespace

std::vector<std::string> ConfigLines(int number, const RegisterConfig& config) {
  const std::string reg = std::to_string(number);
  // Any built-in will do: every area is set below.
  std::vector<std::string> lines = {"register " + reg + " t72"};
  for (int i = 0; i < kAreaCount; ++i) {
    const auto area = static_cast<Area>(i);
    const std::vector<std::uint8_t>& data = config.Data(area);
    const std::string prefix = "set " + reg + " " + std::string(AreaName(area)) + " ";
    if (FixedSize(area) == 0) lines.push_back(prefix + "size " + std::to_string(data.size()));
    for (std::size_t start = 0; start < data.size(); start += kBytesPerLine) {
      const auto end = data.begin() + static_cast<long>(std::min(data.size(), start + kBytesPerLine));
      lines.push_back(prefix + "hex " + std::to_string(start + 1) + " " +
                      Hex(std::vector<std::uint8_t>(data.begin() + static_cast<long>(start), end)));
    }
  }
  return lines;
}

}  // namespace ecrsim
