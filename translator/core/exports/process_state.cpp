#include "exports/process_state.h"

#include "commands/command_table.h"
#include "commands/mail/receipt_mail.h"
#include "files/capture_file.h"
#include "language/command_fields.h"
#include "language/message_tables.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "run/command_rows.h"
#include "state/batch_state.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"
#include "state/transfer_state.h"
#include "text/code_page.h"

namespace quadrel {

void ResetProcessState() {
  Library() = LibraryState{};
  Executor() = ExecutorState{};
  BatchRun() = BatchRunState{};
  Transfer() = TransferState{};
  ClearCommandFields();
  SaveCommandFields();
  KeyBatch().Clear();
  FrameBuffer() = FrameBufferData{};
  EcrStatusBytes() = EcrStatusFields{};
  Reply() = ReplyState{};
  WriteDefaultMessageTexts();
  BuildCodePageTables();
  ResetCaptureFile();
  ResetAllEcrRecords();
  CurrentEcr() = 1;
  SelectedEcr() = 0;
  UseCommandTable(CommandTable());
  MailPhoneNumber().clear();
}

}  // namespace quadrel
