#include "commands/reports/identity_block.h"

#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kFeatureIdentityBlock = 127;

}  // namespace

std::optional<IdentityBlock> ReadIdentityBlockOf(const EcrConfigRecord& record) {
  if (record.FeatureLevels[kFeatureIdentityBlock] == 0) return std::nullopt;
  IdentityBlock block{};
  if (!ReadEcrIdentityBlock(block)) return std::nullopt;
  return block;
}

int IdentityWord(const IdentityBlock& block, int offset) {
  return block[offset] | block[offset + 1] << 8;
}

}  // namespace quadrel
