#include "language/message_tables.h"

#include <array>
#include <initializer_list>

namespace quadrel {
namespace {

constexpr std::array<int, kErrMsgTableCount> kErrMsgRowCounts = {43, 30, 10, 10, 10, 10, 20, 20, 10, 10};

// Rows of a table that have a built-in text, from `firstRow` on.
void WriteRows(MessageTable& table, int firstRow, std::initializer_list<const char*> texts) {
  int row = firstRow;
  for (const char* text : texts) table.SetRow(row++, text);
}

}  // namespace

MessageTable::MessageTable(int rows, std::size_t maxLength)
    : rows_(static_cast<std::size_t>(rows)), maxLength_(maxLength) {}

const std::string& MessageTable::Row(int row) const {
  static const std::string kNoText;
  if (row < 0 || row >= RowCount()) return kNoText;
  return rows_[static_cast<std::size_t>(row)];
}

bool MessageTable::SetRow(int row, std::string_view text) {
  if (row < 0 || row >= RowCount() || text.size() > maxLength_) return false;
  rows_[static_cast<std::size_t>(row)] = text;
  return true;
}

void MessageTable::Clear() {
  for (std::string& text : rows_) text.clear();
}

MessageTable& IntMsgTable() {
  static MessageTable table(kIntMsgRows, kShortMessageLength);
  return table;
}

MessageTable& TotgTable() {
  static MessageTable table(kTotgRows, kShortMessageLength);
  return table;
}

MessageTable& ErrMsgTable(int table) {
  static std::vector<MessageTable> tables = [] {
    std::vector<MessageTable> made;
    for (int rows : kErrMsgRowCounts) made.emplace_back(rows, kErrMsgLength);
    return made;
  }();
  static MessageTable noTable(0, 0);
  if (table < 0 || table >= kErrMsgTableCount) return noTable;
  return tables[static_cast<std::size_t>(table)];
}

void WriteDefaultMessageTexts() {
  WriteRows(IntMsgTable(), kMsgOk,
            {"OK.", "NON OK. ", "ERROR ", " *** ABORTED BY USER *** ", "SI", "NO", "FILE ERROR",
             "EXT. FILE ERROR", "WAITING FOR TRANSACTION END", "COMMAND = ", "ECR# = ", "ECR-ID = ",
             "DATE = ", "ECR = ", "ERRORS ", "END. ", "WAITING FOR CHIPCARD", "CALL IN PROGRESS"});
  TotgTable().Clear();

  WriteRows(ErrMsgTable(0), 1,
            {"SO NOT OPEN ",
             "INITIALIZATION ERROR ",
             "'PROG' SESSION OPEN ",
             "CONFIGURATION READ ERROR ECR ",
             "ECR VERSION NOT SUPPORTED ",
             "ECR NOT IN IDLE ",
             "'PROG' SESSION NOT OPEN ",
             "ECR NOT IN REG POSITION ",
             "EM-BOARD NOT INITALIZED ON ECR ",
             "INVALID BATCH LINE ",
             "FILE OPEN ERROR",
             "ERROR FILE OPEN ERROR",
             "LOG FILE OPEN ERROR",
             "ERRORS DURING EXECUTION OF FILE",
             "NO TRANSACTION OPEN",
             "ERRORS DURING EXECUTION",
             "NO SERVICE OBJECT FOUND",
             "SO ALREADY OPEN",
             "SO BUSY",
             "NO SERIAL PORT",
             "PROPERTY ERROR",
             "INVALID PARAMETERES",
             "SET PROPERTY ERROR",
             "GET PROPERTY ERROR",
             "CHIP-CARD ERROR",
             "CHIP-CARD NOT BLANK",
             "NO ECR SELECTED",
             "CONNECTION TIME-OUT",
             "MODEM ERROR",
             "BROADCAST ERROR",
             "INTERNAL ERROR : ECR STRING TOO BIG",
             "ECR ASKS FOR CONFIRMATION",
             "ECR MEMORY OVERFLOW"});
  WriteRows(ErrMsgTable(1), 0,
            {"SINTAX ERROR ",
             "INSTRUCTION NOT FOUND",
             "INSTRUCTION NOT UNIC",
             "ILLEGAL INSTRUCTION",
             "FIELD NAME NOT FOUND",
             "FIELD NAME NOT UNIC",
             "ILLEGAL FIELD NAME",
             "LABEL-VALUE NOT FOUND",
             "ALFA-VALUE INVALID",
             "ILLEGAL VALUE",
             "CAMPO OBBLIGATORIO ",
             "UNEXPECTED END OF LINE ",
             "INSTRUCTION NOT SUPPORTED ",
             "NO DPT NUMBER OR ARTICLE CODE ",
             "ILLEGAL DPR NUMBER ",
             "ILLEGAL FILE NUMBER ",
             "FILE NOT SUPPORTED BY ECR ",
             "GROUPS FILE NOT SUPPORTED BY ECR ",
             "SOURCE LINE TOO LONG",
             "ECR NUMBER ILLEGAL",
             "OPERATOR CODE ILLEGAL",
             "REPORT NOT SUPPORTED",
             "MODIFIER CODE ILLEGAL",
             "CURRENCIES FILE NOT SUPPORTED BY ECR ",
             "PROGRAMMABLE GRAPHIC NOT AVAILABLE ON ECR "});
  WriteRows(ErrMsgTable(2), 0, {"I/O ERROR "});
  WriteRows(ErrMsgTable(3), 0, {"ECR SIGNALS CRITICAL ERROR "});
  WriteRows(ErrMsgTable(4), 0, {"ECR REPORTS DATA-ERROR "});
  WriteRows(ErrMsgTable(5), 0, {"ECR REPORTS ERROR "});
  WriteRows(
      ErrMsgTable(6), 0,
      {"EM_LINK ERROR ", "ERRORS DURING EXECUTION ", "ILLEGAL COMMAND ", "FILE OPEN ", "ERR FILE OPEN ERROR ",
       "LOG FILE OPEN ERROR ", "ERROR IN ARTICLES-FILE RESET ", "ERROR IN STAND-BY SET ",
       "ERROR IN DOWNLOAD OPEN ", "ECR ABORT DOWNLOAD SESSION", "ONE OR MORE RECORDS MISSING",
       "ECR REPOERTS DATA-COLLECT OVERFLOW", "CAN NOT BLOCK. TRANSACTION OPEN ON ECR"});
  WriteRows(ErrMsgTable(7), 0,
            {"SYNTAX ERROR ", "UNEXPECTED END OF LINE ", "ALPHA FIELD INVALID ", "ARTICLE CODE INVALID ",
             "NOT NUMERIC FIELD ", "VAT FIELD INVALID ", "DPT FIELD INVALID ", "COMMAND FIELD INVALID ",
             "NUMERIC FILED ILLEGAL "});
  WriteRows(ErrMsgTable(8), 0, {"ECR REPORTS ERROR "});
  WriteRows(ErrMsgTable(9), 0, {"INCORRECT ANSWER FOR ECR "});
}

}  // namespace quadrel
