// The O-file record's body from the parameter slots of command 52 (or a
// transfer line): the whole body, or the given fields laid over the record
// the register read back. The kind (slot 2) decides the layout.
#pragma once

#include <vector>

#include "records/record_layout.h"

namespace quadrel {

// Parameter slots of an O-file record.
enum OFileSlot : int {
  kOFileNumberSlot = 1,
  kOFileKindSlot = 2,
  kOFileLastPlainSlot = 11,  // the slots up to here take numbers only
  kOFileTextSlot = 12,
  kOFileSmallNumberSlot = 13,
  kOFileFirstAmountSlot = 14,
  kOFileSecondAmountSlot = 15,
  kOFilePercentSlot = 16,
};

// Kinds with their own layout.
constexpr int kOFileKindEmpty = 0;              // the kind byte alone
constexpr int kOFileKindTwoDecimalPercent = 6;  // the percentage keeps its decimals
constexpr int kOFileKindArticle = 7;            // an article code in place of the text and what follows

constexpr int kMaxOFileKind = 99;

// The fields of a record of `kind`.
std::vector<RecordField> OFileLayout(int kind, const ArticleGeometry& geometry);

// Checks every given field of slots 2 to 16 (slot 12 as a code when the given
// kind is 7, else as a text), so that nothing is sent for a bad value.
int CheckOFileFields(const ArticleGeometry& geometry);

// Appends the whole body to the FrameBuffer.
int EncodeOFileRecord();

// Completes the SavedFrameCopy (the 5-byte header) into a write: the body the
// FrameBuffer's read answer holds, with the given fields laid over it. The
// kind is slot 2's when given, else the stored record's.
int MergeOFileRecord();

}  // namespace quadrel
