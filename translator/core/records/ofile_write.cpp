#include "records/ofile_write.h"

#include "language/command_fields.h"
#include "records/ofile_record.h"
#include "records/record_frame.h"

namespace quadrel {
namespace {

int Modify() {
  SavedFrameCopy() = FrameBuffer();
  int answer = 0;
  if (const int error = ExchangeRecord(FrameBuffer(), kSubOFileRead, answer)) return error;
  // A record that is not there is not created by a modify.
  if (answer != kAnswerAccepted) return RecordRefusal(answer);
  if (const int error = MergeOFileRecord()) return error;
  return SendRecord(SavedFrameCopy(), kSubOFileWrite);
}

}  // namespace

int WriteOFileRecord(bool modify, const ArticleGeometry& geometry) {
  RecordBytes number;
  if (const int error = AppendWord(number, CommandFields().value[kOFileNumberSlot])) return error;
  if (const int error = CheckOFileFields(geometry)) return error;
  StartRecordFrame();
  if (const int error = AppendToFrame(FrameBuffer(), number)) return error;
  if (modify) return Modify();
  if (const int error = EncodeOFileRecord()) return error;
  return SendRecord(FrameBuffer(), kSubOFileWrite);
}

}  // namespace quadrel
