#include "link/table_layout.h"

#include <algorithm>

namespace quadrel {
namespace {

// The file table pairs a base address with a record size per table.
constexpr int kDepartmentFile = 0;
constexpr int kTable2File = 2;
constexpr int kVatFile = 4;
// The area table does the same for table 15.
constexpr int kTable15Area = 7;

TableSpan FileSpan(const EcrConfigRecord& ecr, int entry, int count) {
  return {count, ecr.FileAddress[entry], ecr.FileAddress[entry + 1]};
}

}  // namespace

TableSpan Departments(const EcrConfigRecord& ecr) { return FileSpan(ecr, kDepartmentFile, ecr.IdentityByte47); }
TableSpan Table2(const EcrConfigRecord& ecr) { return FileSpan(ecr, kTable2File, ecr.IdentityWord49); }
TableSpan VatRates(const EcrConfigRecord& ecr) { return FileSpan(ecr, kVatFile, ecr.Block4Byte43); }

// The header lines are the record table the configuration read walks.
HeaderLineLayout HeaderLines(const EcrConfigRecord& ecr) {
  HeaderLineLayout layout{};
  layout.count = ecr.RecordCount;
  layout.lineBytes = ecr.PrintWidth;
  layout.textBytes = std::min(ecr.OutputWidth > 0 ? ecr.OutputWidth : ecr.PrintWidth, ecr.PrintWidth);
  layout.base = ecr.RecordTableAddress;
  layout.hasNineDigitLine = ecr.IdentityFlag48 != 0;
  layout.nineDigitAddress = layout.base + layout.count * layout.lineBytes;
  return layout;
}

Table15Layout Table15(const EcrConfigRecord& ecr) {
  Table15Layout layout{};
  layout.basicCount = ecr.LineParam;
  layout.extendedCount = ecr.ExtInfoB != 0 ? ecr.Ext31W48 : 0;
  layout.base = ecr.AreaAddress[kTable15Area];
  layout.recordBytes = ecr.AreaAddress[kTable15Area + 1];
  layout.textBytes = std::max(0, layout.recordBytes - kTable15TextOffset - ecr.AmountBytes - kTable15TailBytes);
  return layout;
}

int Table21Count(const EcrConfigRecord& ecr) { return ecr.ExtInfoB != 0 ? ecr.Ext31W43 : 0; }
int Table21TextBytes(const EcrConfigRecord& ecr) { return ecr.Ext31W78; }

}  // namespace quadrel
