// Layout of a ResultCode: bits 8-23 the class, bits 0-7 the row of the class's
// message table. 0 is success.
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

}  // namespace quadrel
