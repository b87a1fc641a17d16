#include "language/result_text.h"

#include <initializer_list>
#include <utility>

#include "language/message_tables.h"
#include "language/result_codes.h"
#include "state/transfer_state.h"

namespace quadrel {
namespace {

const std::string& Err(int table, int row) {
  return ErrMsgTable(table).Row(row);
}

void AppendLinePart(std::string& dst) {
  ReplyState& reply = Reply();
  const LineErrorMark* mark = reply.BatchLineError.set      ? &reply.BatchLineError
                              : reply.TransferLineError.set ? &reply.TransferLineError
                                                            : nullptr;
  if (!mark) {
    dst += " : ";
    return;
  }
  dst += " in line " + std::to_string(mark->line) + " : ";
  reply.BatchLineError.set = false;
  reply.TransferLineError.set = false;
}

// The class's message: its table's row 0 as a heading, then the row as a
// number, the row's own text, or both.
void AppendClassText(std::string& dst, int resultClass, int row) {
  const std::string rowNumber = std::to_string(row);
  switch (resultClass) {
    case kClassGeneral:
      dst += Err(0, row);
      break;
    case kClassSyntax:
      dst += Err(1, 0) + rowNumber + " : " + Err(1, row);
      break;
    case kClassHostLink:
      dst += Err(2, 0) + rowNumber;
      break;
    case kClassCriticalState:
      dst += Err(3, 0) + rowNumber + " : " + Err(3, row);
      break;
    case kClassEcrDataError:
      dst += Err(4, 0) + rowNumber;
      break;
    case kClassEcrError:
      dst += Err(5, 0) + rowNumber;
      break;
    case kClassTransfer:
      if (row == kTransferRowErrors) {
        dst += Err(6, row) + "(" + std::to_string(Transfer().TransferErrorCount) + " Errors   " +
               std::to_string(Transfer().TransferEcrErrorCount) + " ECR-Errors)";
      } else {
        dst += Err(6, 0) + " : " + Err(6, row);
      }
      break;
    case kClassTransferSyntax:
      dst += Err(7, 0) + " : " + Err(7, row);
      break;
    case kClassTransferAnswer:
      dst += Err(8, 0) + rowNumber;
      break;
    case kClassAnswerLetter:
      dst += Err(9, 0);
      // The row is the register's answer letter; a zero byte has no letter to show.
      if (row != 0) dst += static_cast<char>(row);
      break;
    default:
      break;
  }
}

void FormatSuccessText(std::string& dst) {
  ReplyState& reply = Reply();
  for (OneShotText* oneShot : {&reply.PendingMessage, &reply.PendingReply}) {
    if (!oneShot->set) continue;
    dst = std::move(oneShot->text);
    oneShot->text.clear();
    oneShot->set = false;
    return;
  }
  dst = IntMsgTable().Row(kMsgOk) + reply.ReplyExtra;
  reply.ReplyExtra.clear();
  if (reply.TransferStats.set) {
    dst += "(" + std::to_string(reply.TransferStats.lines) + " Lines   " +
           std::to_string(reply.TransferStats.msec) + " msec)";
  }
}

}  // namespace

ReplyState& Reply() {
  static ReplyState state;
  return state;
}

void SetPendingReply(std::string_view text) {
  Reply().PendingReply.text = text.substr(0, kPendingReplyChars);
  Reply().PendingReply.set = true;
}

int FailWithDetail(int code, std::string_view text) {
  Reply().FailureDetail = {code, std::string(text)};
  return code;
}

void FormatResultText(std::string& dst, int code) {
  if (code == kResultOk) {
    FormatSuccessText(dst);
    return;
  }
  if (code == kResultNonOk) {
    dst += IntMsgTable().Row(kMsgNonOk);
    return;
  }
  const int resultClass = ResultClass(code);
  const int row = ResultRow(code);
  dst = IntMsgTable().Row(kMsgError) + std::to_string(resultClass >> 8) + "/" + std::to_string(row);
  AppendLinePart(dst);
  const ErrorDetail& detail = Reply().FailureDetail;
  if (detail.code == code && !detail.text.empty()) {
    dst += detail.text;
  } else {
    AppendClassText(dst, resultClass, row);
  }
}

}  // namespace quadrel
