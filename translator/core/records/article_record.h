// The article record's body from the parameter slots of command 51 (or a
// transfer line): the whole body, a list of the given fields, or the given
// fields laid over the record the register read back.
#pragma once

#include <vector>

#include "records/record_layout.h"

namespace quadrel {

// Parameter slots of an article.
enum ArticleSlot : int {
  kArticleCodeSlot = 1,
  kArticleDescriptionSlot = 2,
  kArticleFirstPriceSlot = 6,
  kArticleThirdPriceSlot = 8,
  kArticleFourthValueSlot = 9,
  kArticleClassDigitSlot = 10,
  kArticleOperationSlot = 11,
};

// The body's fields in order; the fourth value only where the register has it.
std::vector<RecordField> ArticleLayout(const ArticleGeometry& geometry);

// The whole body into `out`, which also checks every field before anything is sent.
int BuildArticleBody(const ArticleGeometry& geometry, RecordBytes& out);

// Appends to the FrameBuffer the whole body (firstOffset 0), or a field list
// of offset, length and data for each given field, offsets counted from the
// code's first byte (the callers pass the code's width).
int EncodeArticleRecord(int firstOffset);

// Completes the SavedFrameCopy (header and code) into a whole-record write:
// the code width, then the body the FrameBuffer's read answer holds with the
// given fields laid over it. An answer too short for the body is an
// incorrect answer.
int MergeArticleRecord();

}  // namespace quadrel
