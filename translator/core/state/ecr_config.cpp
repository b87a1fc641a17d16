#include "state/ecr_config.h"

#include <cassert>
#include <cstring>

namespace quadrel {
namespace {

EcrConfigRecord records[kMaxEcr + 1];
int currentSlot = 0;
int currentEcr = 1;
int selectedEcr = 0;

void ApplyRecordDefaults(EcrConfigRecord& record) {
  record.PrintWidth = 24;
  record.AmountBytes = 5;
  record.Block4Byte36 = 2;
  record.BcdBytesA = 4;
  record.BcdBytesB = 5;
  record.CodeBytes = 6;
  record.FileInfoB17 = 16;
  record.FileInfoB18 = 6;
  record.FileFlag2 = 1;
}

}  // namespace

void ResetAllEcrRecords() {
  for (EcrConfigRecord& record : records) {
    std::memset(&record, 0, sizeof record);
    ApplyRecordDefaults(record);
  }
  currentSlot = 0;
}

void InvalidateAllEcrRecords() {
  for (EcrConfigRecord& record : records) record.EcrNumber = 0;
}

EcrConfigRecord& EcrRecord(int slot) {
  assert(slot >= 0 && slot <= kMaxEcr);
  return records[slot];
}

EcrConfigRecord& CurrentRecord() { return records[currentSlot]; }

void SetCurrentRecordSlot(int slot) {
  assert(slot >= 0 && slot <= kMaxEcr);
  currentSlot = slot;
}

int& CurrentEcr() { return currentEcr; }
int& SelectedEcr() { return selectedEcr; }

}  // namespace quadrel
