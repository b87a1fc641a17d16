#include "records/article_write.h"

#include "language/command_fields.h"
#include "language/result_codes.h"
#include "records/article_record.h"
#include "records/record_frame.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kFeatureCombinedWrite = 92;  // the register inserts or modifies in one step
constexpr std::uint8_t kFieldListFrame = 0x80;

bool IsPartial(const ArticleGeometry& geometry) {
  const auto& fields = CommandFields().value;
  for (int slot = kArticleDescriptionSlot; slot <= kArticleThirdPriceSlot; ++slot) {
    if (fields[slot].empty()) return true;
  }
  return geometry.fourthValue && fields[kArticleFourthValueSlot].empty();
}

void SaveHeader() {
  SavedFrameCopy() = FrameBuffer();
}
void RestoreHeader() {
  FrameBuffer() = SavedFrameCopy();
}

int InsertWhole() {
  if (const int error = EncodeArticleRecord(0)) return error;
  return SendRecord(FrameBuffer(), kSubArticleInsert);
}

// Modify with every field given: one write of the whole record.
int WriteWhole(const ArticleGeometry& geometry) {
  const std::uint8_t width = static_cast<std::uint8_t>(geometry.codeBytes);
  if (const int error = AppendToFrame(FrameBuffer(), {&width, 1})) return error;
  if (const int error = EncodeArticleRecord(0)) return error;
  return SendRecord(FrameBuffer(), kSubArticleWrite);
}

// Modify of some fields: read the stored record, lay them over it, write it back.
int ReadMergeWrite(ArticleOperation op) {
  SaveHeader();
  int answer = 0;
  if (const int error = ExchangeRecord(FrameBuffer(), kSubArticleRead, answer)) return error;
  if (answer == kAnswerAccepted) {
    if (const int error = MergeArticleRecord()) return error;
    return SendRecord(SavedFrameCopy(), kSubArticleWrite);
  }
  if (answer == kAnswerNotFound && op == ArticleOperation::ModifyOrInsert) {
    RestoreHeader();
    return InsertWhole();
  }
  return RecordRefusal(answer);
}

int Modify(ArticleOperation op, const ArticleGeometry& geometry) {
  return IsPartial(geometry) ? ReadMergeWrite(op) : WriteWhole(geometry);
}

int CombinedWrite(const ArticleGeometry& geometry) {
  if (IsPartial(geometry)) {
    FrameBuffer().data[1] = kFieldListFrame;
    if (const int error = EncodeArticleRecord(geometry.codeBytes)) return error;
  } else if (const int error = EncodeArticleRecord(0)) {
    return error;
  }
  return SendRecord(FrameBuffer(), kSubArticleCombined);
}

int InsertThenModify(const ArticleGeometry& geometry) {
  SaveHeader();
  if (const int error = EncodeArticleRecord(0)) return error;
  int answer = 0;
  if (const int error = ExchangeRecord(FrameBuffer(), kSubArticleInsert, answer)) return error;
  if (answer == kAnswerAccepted) return 0;
  if (answer != kAnswerArticleExists) return RecordRefusal(answer);
  RestoreHeader();
  return Modify(ArticleOperation::Modify, geometry);
}

}  // namespace

bool ParseArticleOperation(std::string_view text, ArticleOperation& op) {
  if (text == "IM")
    op = ArticleOperation::InsertOrModify;
  else if (text == "C")
    op = ArticleOperation::Delete;
  else if (text == "I")
    op = ArticleOperation::Insert;
  else if (text == "M")
    op = ArticleOperation::Modify;
  else if (text == "MI")
    op = ArticleOperation::ModifyOrInsert;
  else
    return false;
  return true;
}

int WriteArticle(ArticleOperation op, const ArticleCode& code, const ArticleGeometry& geometry) {
  RecordBytes key;
  if (const int error = AppendArticleCode(key, code, geometry)) return error;
  StartRecordFrame();
  if (const int error = AppendToFrame(FrameBuffer(), key)) return error;
  if (op == ArticleOperation::Delete) return SendRecord(FrameBuffer(), kSubArticleDelete);

  // Every field is checked before the first frame: a modify reads first.
  RecordBytes body;
  if (const int error = BuildArticleBody(geometry, body)) return error;

  const bool combined = CurrentRecord().FeatureLevels[kFeatureCombinedWrite] == 1;
  switch (op) {
    case ArticleOperation::Insert:
      return InsertWhole();
    case ArticleOperation::InsertOrModify:
      return combined ? CombinedWrite(geometry) : InsertThenModify(geometry);
    case ArticleOperation::ModifyOrInsert:
      return combined ? CombinedWrite(geometry) : Modify(op, geometry);
    default:
      return Modify(op, geometry);
  }
}

}  // namespace quadrel
