#include "command_dispatch.h"

#include <array>

#include "commands/options_command.h"
#include "commands/select_ecr.h"
#include "commands/session_commands.h"
#include "definition_tables.h"

namespace quadrel {
namespace {

int NotSupported() {
  return kResultInstructionNotSupported;
}

// Stands in for a handler that is not written yet; the comment beside each
// entry names the handler that replaces it.
int NotBuiltYet() {
  return kResultInstructionNotSupported;
}

// Command 4 does nothing and succeeds.
int NoOperation() {
  return 0;
}

struct DispatchEntry {
  int command;
  CommandHandler handler;
};

constexpr DispatchEntry kDispatchTable[] = {
    {1, CmdOpenProgSession},
    {2, CmdCloseProgSession},
    {3, NotBuiltYet},                      // CmdDumpRegisterFile
    {4, NoOperation},
    {5, CmdSelectEcr},
    {8, CmdClearKey},
    {9, NotBuiltYet},                      // CmdPressKey
    {10, NotBuiltYet},                     // CmdSellItem
    {11, NotBuiltYet},                     // CmdPayment
    {12, NotBuiltYet},                     // CmdAmountKey33
    {14, NotBuiltYet},                     // CmdTextAndOutputLines
    {15, NotBuiltYet},                     // CmdSetKeyPosition
    {16, NotBuiltYet},                     // CmdAmountKey31
    {17, NotBuiltYet},                     // CmdAmountKey32
    {18, CmdDollarKey},
    {19, NotBuiltYet},                     // CmdTextFields
    {20, NotBuiltYet},                     // CmdTextLine
    {21, NotBuiltYet},                     // CmdBarcodeRecords
    {22, NotBuiltYet},                     // CmdPrintLineOrBarcode
    {23, NotBuiltYet},                     // CmdKeyWithTextLines
    {24, NotBuiltYet},                     // CmdFieldRecord180
    {25, NotBuiltYet},                     // CmdKey158Sequence
    {26, NotBuiltYet},                     // CmdPrintReport
    {27, NotBuiltYet},                     // CmdDailyClosure
    {28, NotBuiltYet},                     // CmdSetOutputSettings
    {29, NotBuiltYet},                     // CmdSetSlaveMode
    {30, NotBuiltYet},                     // CmdFileTransfer
    {31, NotBuiltYet},                     // CmdProgramDepartment
    {32, NotBuiltYet},                     // CmdProgramTable2
    {33, NotBuiltYet},                     // CmdProgramVatRate
    {34, NotBuiltYet},                     // CmdProgramHeaderLine
    {35, NotBuiltYet},                     // CmdProgramModifier
    {36, NotBuiltYet},                     // CmdProgramOptions
    {37, NotBuiltYet},                     // CmdProgramCurrency
    {38, NotBuiltYet},                     // CmdProgramGroup
    {39, NotBuiltYet},                     // CmdProgramTable15
    {40, NotBuiltYet},                     // CmdProgramTable21
    {41, NotBuiltYet},                     // CmdProgramTable251
    {43, NotBuiltYet},                     // CmdProgramKey
    {45, NotBuiltYet},                     // CmdProgramPercentages
    {46, NotBuiltYet},                     // CmdSetEcrParameter
    {47, NotBuiltYet},                     // CmdChipCard
    {48, CmdSetOptions},
    {49, NotBuiltYet},                     // CmdQueryText
    {51, NotBuiltYet},                     // CmdArticle
    {52, NotBuiltYet},                     // CmdOFileRecord
    {53, NotBuiltYet},                     // CmdProgramTable4Record
    {54, NotBuiltYet},                     // CmdProgramKey2
    {55, NotBuiltYet},                     // CmdUploadLogo
    {60, NotBuiltYet},                     // CmdSellItemAndPay
    {71, NotBuiltYet},                     // CmdInfoEnquiry
    {72, NotBuiltYet},                     // CmdJournalRead
    {73, NotBuiltYet},                     // CmdCheckAmount
    {74, NotBuiltYet},                     // CmdResetToIdle
    {75, NotBuiltYet},                     // CmdMailReceipt
    {76, NotBuiltYet},                     // CmdJournalExportSigned
    {77, NotBuiltYet},                     // CmdHostXferTotals
    {78, NotBuiltYet},                     // CmdHostXferTables
    {79, NotBuiltYet},                     // CmdHostQuery
    {80, NotBuiltYet},                     // CmdAmountKey34
    {120, NotBuiltYet},                    // CmdMailClosure
    {121, NotBuiltYet},                    // CmdXmlDownload
    {122, NotBuiltYet},                    // CmdReceiptPicture
    {124, NotBuiltYet},                    // CmdFieldRecord188
};

constexpr std::array<CommandHandler, kMaxCommandNumber + 1> BuildHandlerTable() {
  std::array<CommandHandler, kMaxCommandNumber + 1> table{};
  for (CommandHandler& handler : table) handler = NotSupported;
  for (const DispatchEntry& entry : kDispatchTable) table[entry.command] = entry.handler;
  return table;
}

constexpr std::array<CommandHandler, kMaxCommandNumber + 1> kHandlers = BuildHandlerTable();

}  // namespace

CommandHandler FindCommandHandler(int command) {
  if (command < 1 || command > kMaxCommandNumber) return NotSupported;
  return kHandlers[static_cast<std::size_t>(command)];
}

}  // namespace quadrel
