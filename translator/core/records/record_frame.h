// The 'U' frames that carry article and O-file records: building them in the
// FrameBuffer, the SavedFrameCopy that a modify keeps while it reads a record
// back, and the register's answer code.
#pragma once

#include <cstdint>
#include <span>

#include "link/frame_exchange.h"

namespace quadrel {

// Sub-codes of the record frames.
enum RecordSubCode : std::uint8_t {
  kSubArticleInsert = 2,
  kSubArticleRead = 3,
  kSubArticleWrite = 6,
  kSubOFileWrite = 12,
  kSubOFileRead = 13,
  kSubArticleDelete = 18,
  kSubArticleCombined = 27,
};

// Answer codes the commands act on.
constexpr int kAnswerAccepted = 0;
constexpr int kAnswerArticleExists = 3;
constexpr int kAnswerNotFound = 6;

// Bytes before the key: 'U', byte 1, the sub-code.
constexpr int kRecordHeaderBytes = 3;

// A second frame area beside the FrameBuffer.
FrameBufferData& SavedFrameCopy();

// Starts the FrameBuffer with 'U', 0, 0 and nothing else.
void StartRecordFrame();

// Appends `bytes` to `frame`; kResultInternalError (nothing appended) when
// they would run past it.
int AppendToFrame(FrameBufferData& frame, std::span<const std::uint8_t> bytes);

// Sends `frame` with `subCode` as its byte 2. Returns the exchange's error,
// or 0 with `answerCode` = the register's answer byte 1.
int ExchangeRecord(FrameBufferData& frame, std::uint8_t subCode, int& answerCode);

// Starts the FrameBuffer as 'U', `byte1`, `subCode` and `rest`, and
// exchanges it as ExchangeRecord does.
int ExchangeRecordRequest(std::uint8_t byte1, std::uint8_t subCode, std::span<const std::uint8_t> rest,
                          int& answerCode);

// ExchangeRecord for a frame whose only good answer is 0: 0, the register's
// refusal as RecordRefusal, or the exchange's error.
int SendRecord(FrameBufferData& frame, std::uint8_t subCode);

}  // namespace quadrel
