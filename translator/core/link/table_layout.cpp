#include "link/table_layout.h"

namespace quadrel {
namespace {

// The file table pairs a base address with a record size per table.
constexpr int kHeaderFileBase = 4;
constexpr int kTable15FileBase = 8;

}  // namespace

HeaderLineLayout HeaderLines(const EcrConfigRecord& ecr) {
  HeaderLineLayout layout{};
  layout.count = ecr.Block4Byte39;
  layout.lineBytes = ecr.FileAddress[kHeaderFileBase + 1];
  layout.base = ecr.FileAddress[kHeaderFileBase];
  layout.hasNineDigitLine = ecr.IdentityFlag48 != 0;
  layout.nineDigitAddress = layout.base + layout.count * layout.lineBytes;
  return layout;
}

Table15Layout Table15(const EcrConfigRecord& ecr) {
  Table15Layout layout{};
  layout.basicCount = ecr.LineParam;
  layout.extendedCount = ecr.ExtInfoB != 0 ? ecr.Ext31W16 : 0;
  layout.base = ecr.FileAddress[kTable15FileBase];
  layout.recordBytes = ecr.FileAddress[kTable15FileBase + 1];
  return layout;
}

int Table21Count(const EcrConfigRecord& ecr) { return ecr.ExtInfoB != 0 ? ecr.Ext31W11 : 0; }

}  // namespace quadrel
