#include "commands/command_table.h"

#include "commands/articles/article_command.h"
#include "commands/articles/ofile_command.h"
#include "commands/barcodes/print_line_commands.h"
#include "commands/chip_card/chip_card_command.h"
#include "commands/dumps/dump_command.h"
#include "commands/host/host_commands.h"
#include "commands/journal/journal_export_signed.h"
#include "commands/journal/journal_read.h"
#include "commands/mail/closure_mail.h"
#include "commands/mail/receipt_mail.h"
#include "commands/mail/receipt_picture.h"
#include "commands/printing/display_lines.h"
#include "commands/printing/field_records.h"
#include "commands/printing/logo_upload.h"
#include "commands/printing/query_text.h"
#include "commands/printing/text_commands.h"
#include "commands/programming/department_commands.h"
#include "commands/programming/header_line_command.h"
#include "commands/programming/key_programming.h"
#include "commands/programming/options_table.h"
#include "commands/programming/register_settings.h"
#include "commands/programming/table_commands.h"
#include "commands/programming/vat_rates.h"
#include "commands/reports/info_enquiry.h"
#include "commands/reports/report_commands.h"
#include "commands/sales/amount_keys.h"
#include "commands/sales/check_amount.h"
#include "commands/sales/document_key.h"
#include "commands/sales/sales_commands.h"
#include "commands/session/key158_sequence.h"
#include "commands/session/key_commands.h"
#include "commands/session/options_command.h"
#include "commands/session/reset_to_idle.h"
#include "commands/session/select_ecr.h"
#include "commands/session/session_commands.h"
#include "commands/session/slave_mode.h"
#include "commands/transfers/file_transfer_command.h"
#include "commands/xml/xml_download.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"

namespace quadrel {
namespace {

// A number the language reserves without a command.
int Unsupported() { return kResultInstructionNotSupported; }

// Command 4 does nothing and succeeds.
int NoOperation() { return 0; }

// Commands that work without the register when a field says so.
bool NeedsRegisterUnlessOutputGiven() { return !FieldGiven(7); }  // 28: only the output settings
bool NeedsRegisterUnlessPrintLineGiven() { return !FieldGiven(3); }  // 22: a line for the host
// 71, 74, 75, 122: modes 0, 6 and 8 work on the PC alone.
bool NeedsRegisterForMode() {
  const int mode = FieldLeadingNumber(1);
  return !(mode == 0 || mode == 6 || mode == 8);
}

constexpr unsigned kProg = kCmdProgSession;

constexpr CommandRow kCommandTable[] = {
    {1, CmdOpenProgSession},
    {2, CmdCloseProgSession},
    {3, CmdDumpRegisterFile},
    {4, NoOperation},
    {5, CmdSelectEcr, kCmdNoRegister},
    {8, CmdClearKey, kCmdIgnoresConfirm},
    {9, CmdPressKey, kCmdIgnoresConfirm},
    {10, CmdSellItem, kCmdSales},
    {11, CmdPayment, kCmdSales},
    {12, CmdAmountKey33},
    {14, CmdTextAndOutputLines},
    {15, CmdSetKeyPosition},
    {16, CmdAmountKey31},
    {17, CmdAmountKey32},
    {18, CmdDollarKey},
    {19, CmdTextFields},
    {20, CmdTextLine},
    {21, CmdBarcodeRecords},
    {22, CmdPrintLineOrBarcode, 0, NeedsRegisterUnlessPrintLineGiven},
    {23, CmdKeyWithTextLines},
    {24, CmdFieldRecord180},
    {25, CmdKey158Sequence},
    {26, CmdPrintReport},
    {27, CmdDailyClosure},
    {28, CmdSetOutputSettings, 0, NeedsRegisterUnlessOutputGiven},
    {29, CmdSetSlaveMode},
    {30, CmdFileTransfer, kCmdBroadcast | kCmdKeepsLineText},
    {31, CmdProgramDepartment, kProg},
    {32, CmdProgramTable2, kProg},
    {33, CmdProgramVatRate, kProg},
    {34, CmdProgramHeaderLine, kProg},
    {35, CmdProgramModifier, kProg},
    {36, CmdProgramOptions, kProg},
    {37, CmdProgramCurrency, kProg},
    {38, CmdProgramGroup, kProg},
    {39, CmdProgramTable15, kProg},
    {40, CmdProgramTable21, kProg},
    {41, CmdProgramTable251, kProg},
    {42, Unsupported, kProg},
    {43, CmdProgramKey},
    {45, CmdProgramPercentages},
    {46, CmdSetEcrParameter},
    {47, CmdChipCard},
    {48, CmdSetOptions, kCmdNoRegister},
    {49, CmdQueryText, kCmdNoRegister},
    {51, CmdArticle, kCmdNoStatusFrame},
    {52, CmdOFileRecord, kCmdNoStatusFrame},
    {53, CmdProgramTable4Record},
    {54, CmdProgramKey2},
    {55, CmdUploadLogo},
    {60, CmdSellItemAndPay},
    {71, CmdInfoEnquiry, 0, NeedsRegisterForMode},
    {72, CmdJournalRead},
    {73, CmdCheckAmount},
    {74, CmdResetToIdle, 0, NeedsRegisterForMode},
    {75, CmdMailReceipt, 0, NeedsRegisterForMode, CredentialField(5)},
    {76, CmdJournalExportSigned},
    {77, CmdHostXferTotals, kCmdHostOnly},
    {78, CmdHostXferTables, kCmdHostOnly},
    {79, CmdHostQuery, kCmdHostOnly},
    {80, CmdAmountKey34},
    {120, CmdMailClosure, 0, nullptr, CredentialField(6)},
    {121, CmdXmlDownload},
    {122, CmdReceiptPicture, 0, NeedsRegisterForMode},
    {124, CmdFieldRecord188},
};

}  // namespace

std::span<const CommandRow> CommandTable() { return kCommandTable; }

}  // namespace quadrel
