// Every result code the translator returns, one name per code, with the text
// its message table shows by default (the definitions file may replace it).
// Layout of a ResultCode: bits 8-23 the class, bits 0-7 the row of the
// class's message table. 0 is success.
#pragma once

namespace quadrel {

constexpr int kResultOk = 0;
constexpr int kResultBatchRequest = -1;  // internal: the line names a batch file
constexpr int kResultEmptyLine = -2;     // internal: empty or comment-only line
constexpr int kResultNonOk = 16;         // shown as "NON OK. ", not as an error

constexpr int kResultClassMask = 0xFFFF00;
constexpr int kResultRowMask = 0xFF;

// Result classes and the message table each one shows its text from.
constexpr int kClassGeneral = 0x000;          // table 0
constexpr int kClassSyntax = 0x100;           // table 1
constexpr int kClassHostLink = 0x200;         // table 2: 512 + host code
constexpr int kClassCriticalState = 0x400;    // table 3: 1024 + code
constexpr int kClassEcrDataError = 0x800;     // table 4: 2048 + answer byte
constexpr int kClassEcrError = 0x1000;        // table 5: 4096 + critical code
constexpr int kClassTransfer = 0x2000;        // table 6: file transfers and logs
constexpr int kClassTransferSyntax = 0x4000;  // table 7: transfer file lines
constexpr int kClassTransferAnswer = 0x8000;  // table 8: register answer of a record
constexpr int kClassAnswerLetter = 0x10000;   // table 9: 65536 + answer letter
constexpr int kClassHostService = 0x100000;   // no table: 0x100000 + host code

constexpr int ResultClass(int code) {
  return code & kResultClassMask;
}
constexpr int ResultRow(int code) {
  return code & kResultRowMask;
}

// 512 + a host's result or detail. A code outside 0-255 (a protocol library's
// -1, a detail of 512) would land in another class, a syntax error or a
// critical state, and be retried or reported as such: it is a link failure
// all the same, shown as its last row.
constexpr int HostLinkError(int hostCode) {
  return kClassHostLink | (hostCode >= 0 && hostCode <= kResultRowMask ? hostCode : kResultRowMask);
}

// Rows of the command-line syntax class, as the parser returns them.
enum SyntaxRow : int {
  kSyntaxError = 0,
  kSyntaxInstructionNotFound = 1,
  kSyntaxInstructionNotUnique = 2,
  kSyntaxIllegalInstruction = 3,
  kSyntaxFieldNameNotFound = 4,
  kSyntaxFieldNameNotUnique = 5,
  kSyntaxIllegalFieldName = 6,
  kSyntaxLabelNotFound = 7,
  kSyntaxAlfaValueInvalid = 8,
  kSyntaxIllegalValue = 9,
  kSyntaxMandatoryField = 10,
  kSyntaxUnexpectedEndOfLine = 11,
  kSyntaxInstructionNotSupported = 12,
  kSyntaxSourceLineTooLong = 18,
};

// Row of the transfer class whose text carries the error counts.
constexpr int kTransferRowErrors = 1;

// General class (table 0).
constexpr int kResultNotInitialised = 2;         // "INITIALIZATION ERROR "
constexpr int kResultConfigReadError = 4;        // "CONFIGURATION READ ERROR ECR "
constexpr int kResultVersionNotSupported = 5;    // "ECR VERSION NOT SUPPORTED "
constexpr int kResultEcrNotIdle = 6;             // "ECR NOT IN IDLE "
constexpr int kResultProgSessionNotOpen = 7;     // "'PROG' SESSION NOT OPEN "
constexpr int kResultNotInRegPosition = 8;       // "ECR NOT IN REG POSITION "
constexpr int kResultEmBoardNotInitialised = 9;  // "EM-BOARD NOT INITALIZED ON ECR "
constexpr int kResultInvalidBatchLine = 10;      // "INVALID BATCH LINE "
constexpr int kResultBatchFileOpenError = 11;    // "FILE OPEN ERROR"
constexpr int kResultResultFileOpenError = 12;   // "ERROR FILE OPEN ERROR"
constexpr int kResultErrorsInBatch = 14;         // "ERRORS DURING EXECUTION OF FILE"
constexpr int kResultNoTransactionOpen = 15;     // "NO TRANSACTION OPEN"
constexpr int kResultBusy = 19;                  // "SO BUSY": EcrCmd entered while it runs
constexpr int kResultInvalidParameters = 22;     // "INVALID PARAMETERES"
constexpr int kResultSetPropertyError = 23;      // "SET PROPERTY ERROR"
constexpr int kResultGetPropertyError = 24;      // "GET PROPERTY ERROR"
constexpr int kResultChipCardError = 25;         // "CHIP-CARD ERROR"
constexpr int kResultChipCardNotBlank = 26;      // "CHIP-CARD NOT BLANK"
constexpr int kResultNoEcrSelected = 27;         // "NO ECR SELECTED"
constexpr int kResultConnectionTimeOut = 28;     // "CONNECTION TIME-OUT"
constexpr int kResultModemError = 29;            // "MODEM ERROR"
constexpr int kResultBroadcastError = 30;        // "BROADCAST ERROR"
// "INTERNAL ERROR : ECR STRING TOO BIG": a frame or key record over its
// limit, or no memory for a result.
constexpr int kResultInternalError = 31;
constexpr int kResultEcrAsksConfirmation = 32;   // "ECR ASKS FOR CONFIRMATION"
constexpr int kResultEcrMemoryOverflow = 33;     // "ECR MEMORY OVERFLOW"

// Syntax class (table 1).
constexpr int kResultIllegalInstruction = kClassSyntax | kSyntaxIllegalInstruction;  // 259 "ILLEGAL INSTRUCTION"
constexpr int kResultIllegalValue = kClassSyntax | kSyntaxIllegalValue;      // 265 "ILLEGAL VALUE"
constexpr int kResultMandatoryField = kClassSyntax | kSyntaxMandatoryField;  // 266 "CAMPO OBBLIGATORIO "
constexpr int kResultNoDepartmentOrArticle = kClassSyntax | 13;  // 269 "NO DPT NUMBER OR ARTICLE CODE "
constexpr int kResultInstructionNotSupported = kClassSyntax | kSyntaxInstructionNotSupported;  // 268
constexpr int kResultIllegalDepartment = kClassSyntax | 14;                                    // 270 "ILLEGAL DPR NUMBER "
constexpr int kResultIllegalFileNumber = kClassSyntax | 15;                                     // 271 "ILLEGAL FILE NUMBER "
constexpr int kResultIllegalModifier = kClassSyntax | 22;                                      // 278 "MODIFIER CODE ILLEGAL"
constexpr int kResultGroupsNotSupported = kClassSyntax | 17;       // 273 "GROUPS FILE NOT SUPPORTED BY ECR "
constexpr int kResultCurrenciesNotSupported = kClassSyntax | 23;   // 279 "CURRENCIES FILE NOT SUPPORTED BY ECR "
constexpr int kResultSourceLineTooLong = kClassSyntax | kSyntaxSourceLineTooLong;              // 274
constexpr int kResultEcrNumberIllegal = kClassSyntax | 19;                                     // 275 "ECR NUMBER ILLEGAL"
constexpr int kResultReportNotSupported = kClassSyntax | 21;                                   // 277 "REPORT NOT SUPPORTED"
constexpr int kResultNoProgrammableGraphic = kClassSyntax | 24;  // 280 "PROGRAMMABLE GRAPHIC NOT AVAILABLE ON ECR "
// The symbol library's failures; their texts come from the definitions file only.
constexpr int kResultSymbolTooWide = kClassSyntax | 25;      // 281: wider than the printed line
constexpr int kResultSymbolNotRendered = kClassSyntax | 26;  // 282: not encoded or rendered, or no library
constexpr int kResultNoMailPhoneNumber = kClassSyntax | 27;  // 283: command 75 has no telephone number to mail

// Host link (table 2).
constexpr int kResultResetGaveUp = kClassHostLink;  // 512: command 74 found no idle in five attempts
constexpr int kResultMailNotSent = kClassHostLink;  // 512: commands 75 and 120 could not send their mail

// Critical state (table 3): the register's critical state, or not ready.
constexpr int kResultCriticalState = kClassCriticalState;  // 1024
// Command 74: still blocked after the clear key (critical code 43 or 22), or
// an open transaction it closed with keys 58 and 145.
constexpr int kResultStillBlocked43 = kClassCriticalState | 1;            // 1025
constexpr int kResultStillBlocked22 = kClassCriticalState | 2;            // 1026
constexpr int kResultPendingTransactionClosed = kClassCriticalState | 3;  // 1027

// Transfer class (table 6).
constexpr int kResultTransferErrors = kClassTransfer | kTransferRowErrors;  // 8193 "ERRORS DURING EXECUTION "
constexpr int kResultIllegalTransferMode = kClassTransfer | 2;              // 8194 "ILLEGAL COMMAND "
constexpr int kResultDataFileOpenError = kClassTransfer | 3;                // 8195 "FILE OPEN "
constexpr int kResultLogFileOpenError = kClassTransfer | 4;                 // 8196 "ERR FILE OPEN ERROR "
constexpr int kResultArticlesResetError = kClassTransfer | 6;  // 8198 "ERROR IN ARTICLES-FILE RESET "
constexpr int kResultStandBySetError = kClassTransfer | 7;     // 8199 "ERROR IN STAND-BY SET "
constexpr int kResultDownloadOpenError = kClassTransfer | 8;   // 8200 "ERROR IN DOWNLOAD OPEN "
constexpr int kResultDownloadEndedByEcr = kClassTransfer | 9;  // 8201 "ECR ABORT DOWNLOAD SESSION"
constexpr int kResultRecordsMissing = kClassTransfer | 10;     // 8202 "ONE OR MORE RECORDS MISSING"
constexpr int kResultDataCollectOverflow = kClassTransfer | 11;  // 8203 "ECR REPOERTS DATA-COLLECT OVERFLOW"
constexpr int kResultTransactionOpen = kClassTransfer | 12;    // 8204 "CAN NOT BLOCK. TRANSACTION OPEN ON ECR"

// Transfer-line class (table 7): record fields of articles and O-file records.
constexpr int kResultLineSyntaxError = kClassTransferSyntax;          // "SYNTAX ERROR "
constexpr int kResultAlphaFieldInvalid = kClassTransferSyntax | 2;    // "ALPHA FIELD INVALID "
constexpr int kResultArticleCodeInvalid = kClassTransferSyntax | 3;   // "ARTICLE CODE INVALID "
constexpr int kResultNotNumericField = kClassTransferSyntax | 4;      // "NOT NUMERIC FIELD "
constexpr int kResultVatFieldInvalid = kClassTransferSyntax | 5;      // "VAT FIELD INVALID "
constexpr int kResultDptFieldInvalid = kClassTransferSyntax | 6;      // "DPT FIELD INVALID "
constexpr int kResultCommandFieldInvalid = kClassTransferSyntax | 7;  // "COMMAND FIELD INVALID "
constexpr int kResultNumericFieldIllegal = kClassTransferSyntax | 8;  // "NUMERIC FILED ILLEGAL "

// A register's refusal of a record (0x8000 + its answer code).
constexpr int RecordRefusal(int answerCode) {
  return kClassTransferAnswer | (answerCode & kResultRowMask);
}

}  // namespace quadrel
