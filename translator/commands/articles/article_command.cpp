#include "commands/articles/article_command.h"

#include <string>

#include "language/command_fields.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "records/article_record.h"
#include "records/article_write.h"

namespace quadrel {
namespace {

// The prices as digits at the register's decimals.
int ConvertPrices() {
  for (int slot = kArticleFirstPriceSlot; slot <= kArticleThirdPriceSlot; ++slot) {
    std::string& value = CommandFields().value[slot];
    std::string digits;
    if (!PadDecimals(value, digits)) return kResultNotNumericField;
    value = digits;
  }
  return 0;
}

}  // namespace

int CmdArticle() {
  const ArticleGeometry geometry = CurrentArticleGeometry();
  CommandFieldSlots& fields = CommandFields();
  const std::string& operation = fields.value[kArticleOperationSlot];
  ArticleOperation op = ArticleOperation::InsertOrModify;
  if (!operation.empty() && !ParseArticleOperation(operation, op)) return kResultCommandFieldInvalid;
  const ArticleCode code =
      ReadArticleCode(fields.value[kArticleCodeSlot], fields.quoted[kArticleCodeSlot], geometry);
  if (op != ArticleOperation::Delete) {
    if (const int error = ConvertPrices()) return error;
  }
  return WriteArticle(op, code, geometry);
}

}  // namespace quadrel
