// Decoding of the register's configuration answers into its EcrConfigRecord.
// Each decoder reads an answer whose length the caller has checked against
// the Min... constant first, so no byte beyond the answer is ever read.
#pragma once

#include <cstdint>

#include "interfaces/host_info.h"
#include "state/ecr_config.h"

namespace quadrel {

// Bytes of an answer, numbered from its letter at 0.
struct AnswerBytes {
  const std::uint8_t* data;
  int length;

  int Byte(int n) const { return n < length ? data[n] : 0; }
  int Word(int n) const { return Byte(n) | (Byte(n + 1) << 8); }
  int Triple(int n) const { return Word(n) | (Byte(n + 2) << 16); }
};

// Smallest answers that hold every byte their decoder reads.
constexpr int kMinIdentityAnswer = 77;        // up to the model code
constexpr int kMinLongIdIdentityAnswer = 95;  // model 'Z' identifier at bytes 77-94
constexpr int kMinShortSettingsAnswer = 10;   // 'C' 3: setting bytes 1-9
constexpr int kLongSettingsAnswer = 11;       // with byte 10
constexpr int kMinInfo0Answer = 50;           // 'U' 0 0: status and 48 bytes
constexpr int kMinFileInfoAnswer = 86;        // 'U' 0 1: status and 84 bytes
constexpr int kMinExt31Answer = 80;           // 'U' 0 31: up to word 78

// Identity answer ('T'). Returns false when the model's identifier lies beyond the answer.
bool DecodeIdentity(EcrConfigRecord& record, AnswerBytes identity, const HostInfoRecord* host);

void DecodeBlock1(EcrConfigRecord& record, AnswerBytes block);
// Block 3 fields and function levels 0-95 (bit 7 of byte 89 is not a level).
void DecodeBlock3(EcrConfigRecord& record, AnswerBytes block);
// Function levels 96-127 from block 4 when block 3 says they are there.
void DecodeBlock4Levels(EcrConfigRecord& record, AnswerBytes block);
// The widths and sizes of block 4 (PrintWidth nonzero).
void DecodeBlock4Widths(EcrConfigRecord& record, AnswerBytes block);

void DecodeOutputSettings(EcrConfigRecord& record, AnswerBytes settings);
void DecodeSetting15(EcrConfigRecord& record, AnswerBytes answer);

// 'U' 0 1. `full` false leaves FileInfo2, FileInfo5, FileInfo30, FileInfoW81 and FileInfoB83.
void DecodeFileInfo(EcrConfigRecord& record, AnswerBytes info, bool full);
void ClearExt31(EcrConfigRecord& record);
void DecodeExt31(EcrConfigRecord& record, AnswerBytes info);

}  // namespace quadrel
