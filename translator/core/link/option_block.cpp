#include "link/option_block.h"

#include <algorithm>

#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kNoOption = 0xFF;
constexpr int kOptionBlockArea = 3;  // AreaAddress entry of the option block

}  // namespace

bool HasOption(const EcrConfigRecord& ecr, int option) {
  return option >= 1 && option <= kLastOption && ecr.Block5Data[option] != kNoOption;
}

std::optional<int> OptionPosition(const EcrConfigRecord& ecr, int option) {
  if (!HasOption(ecr, option) || ecr.Block5Data[option] >= kOptionBlockBytes) return std::nullopt;
  return ecr.Block5Data[option];
}

std::uint8_t OptionByte(const EcrConfigRecord& ecr, int option) {
  const std::optional<int> position = OptionPosition(ecr, option);
  return position ? ecr.Block2Data[*position] : 0;
}

int ReadOptionBlock(EcrConfigRecord& ecr) {
  int error = 0;
  if (!ReadEcrMemory(static_cast<std::uint16_t>(ecr.AreaAddress[kOptionBlockArea]), kOptionBlockBytes, error))
    return kResultConfigReadError;
  std::copy_n(FrameBuffer().data.begin() + 1, kOptionBlockBytes, ecr.Block2Data);
  return 0;
}

}  // namespace quadrel
