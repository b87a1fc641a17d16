#include "config/ecr_conf_values.h"

#include <algorithm>
#include <iterator>

#include "config/ecr_config_read.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kItemLibraryVersion = 0;
constexpr int kItemHostVersion = 1;
constexpr int kFirstRecordItem = 10;
constexpr int kItemFileAddress9 = 20;

struct RecordItem {
  int item;
  int EcrConfigRecord::*field;
  bool fileInfo;  // read again from a register that is named explicitly
};

constexpr RecordItem kRecordItems[] = {
    {10, &EcrConfigRecord::EcrNumber, false},       {11, &EcrConfigRecord::CodeBytes, false},
    {12, &EcrConfigRecord::PrintWidth, false},      {13, &EcrConfigRecord::Block4Byte36, false},
    {14, &EcrConfigRecord::AmountBytes, false},     {15, &EcrConfigRecord::IdentityByte47, false},
    {16, &EcrConfigRecord::Block4Byte43, false},    {17, &EcrConfigRecord::IdentityWord49, false},
    {18, &EcrConfigRecord::LineParam, false},       {19, &EcrConfigRecord::Block4Width42, false},
    {101, &EcrConfigRecord::FileInfo8, true},       {102, &EcrConfigRecord::FileInfo10, true},
    {103, &EcrConfigRecord::FileInfo12, true},      {104, &EcrConfigRecord::FileFlags, true},
    {105, &EcrConfigRecord::FileInfoB16, true},     {106, &EcrConfigRecord::FileInfoB17, true},
    {107, &EcrConfigRecord::FileInfoB18, true},     {108, &EcrConfigRecord::FileInfoB19, true},
    {109, &EcrConfigRecord::FileInfoB20, true},     {110, &EcrConfigRecord::FileInfo33, true},
    {111, &EcrConfigRecord::FileInfo42, true},      {112, &EcrConfigRecord::FileInfo45, true},
    {113, &EcrConfigRecord::FileInfoB47, true},     {114, &EcrConfigRecord::FileInfo56, true},
    {115, &EcrConfigRecord::FileInfo58, true},      {116, &EcrConfigRecord::FileInfo69, true},
    {117, &EcrConfigRecord::FileInfoB79, true},     {118, &EcrConfigRecord::FileInfoB78, true},
    {119, &EcrConfigRecord::FileInfoB80, true},     {200, &EcrConfigRecord::OutputSettingB, false},
    {201, &EcrConfigRecord::OutputSettingC, false}, {202, &EcrConfigRecord::RecordCount, false},
    {203, &EcrConfigRecord::OutputWidth, false},    {204, &EcrConfigRecord::HasFeature115, false},
};

const RecordItem* FindRecordItem(int item) {
  const auto found = std::ranges::find(kRecordItems, item, &RecordItem::item);
  return found == std::end(kRecordItems) ? nullptr : found;
}

int HostVersion() {
  const HostInfoRecord* host = Library().host.info;
  if (!host) return -1;
  return host->versionMajor * 1000000 + host->versionMinor * 1000 + host->versionBuild;
}

}  // namespace

int EcrConfValue(int item, bool explicitEcr) {
  if (item == kItemLibraryVersion) return kTranslatorVersion;
  if (item == kItemHostVersion) return HostVersion();
  if (item < kFirstRecordItem) return -1;
  if (ReadEcrConfig(0) != 0) return -1;
  const EcrConfigRecord& record = EcrRecord(CurrentEcr());
  if (item == kItemFileAddress9) return record.FileAddress[9];
  const RecordItem* entry = FindRecordItem(item);
  if (!entry) return -1;
  if (entry->fileInfo && explicitEcr && ReadEcrFileInfo() != 0) return -1;
  return record.*(entry->field);
}

}  // namespace quadrel
