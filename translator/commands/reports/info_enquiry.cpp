#include "commands/reports/info_enquiry.h"

#include <string>

#include "commands/reports/info_items.h"
#include "config/ecr_conf_texts.h"
#include "config/ecr_config_read.h"
#include "files/line_file.h"
#include "language/command_field_values.h"
#include "language/reply_file.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

enum InfoField : int { kFieldItem = 1, kFieldFile = 4 };

enum Item : int {
  kItemHostStatus = 0,
  kItemLineState = 8,
  kItemUnused = 9,
  kItemFileInfo = 14,
  kItemTextLine = 15,
  kItemJournalStamp = 21,
};

bool ForcesConfigRead(int item) {
  return item == kItemFileInfo || item == kItemTextLine;
}

InfoItem RegisterItem(int item, EcrConfigRecord& record) {
  switch (item) {
    case kItemLineState:
      return LineStateItem();
    case 10:
    case 11:
    case 12:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
      return MemoryBlockItem(item, record);
    case kItemJournalStamp:
      return JournalStampItem(record);
    default:
      return ConfigItem(item, record);
  }
}

InfoItem BuildItem(int item) {
  if (item == kItemUnused || item < 0 || item > kItemJournalStamp) return {kResultIllegalValue, {}};
  if (item == kItemHostStatus) return {0, HostStatusText().value_or("")};
  const int read = ReadEcrConfig(ForcesConfigRead(item) ? READ_CONFIG_FORCE : 0);
  if (read != 0) return {read, {}};
  return RegisterItem(item, CurrentRecord());
}

}  // namespace

int CmdInfoEnquiry() {
  int item = 0;
  if (!FieldGiven(kFieldItem)) return kResultMandatoryField;
  if (!FieldInteger(kFieldItem, item)) return kResultIllegalValue;
  LineFile file;
  if (FieldGiven(kFieldFile) && !OpenLineFile(FieldText(kFieldFile), LINE_READ_WRITE | LINE_CREATE_ALWAYS,
                                              file, LINE_SLOT_UNBUFFERED)) {
    return kResultBatchFileOpenError;
  }
  InfoItem answer = BuildItem(item);
  if (answer.code != 0) {
    Reply().PendingReply = {};
    return CloseAndReturn(answer.code, file);
  }
  return ReplyWithFile(answer.text, file);
}

}  // namespace quadrel
