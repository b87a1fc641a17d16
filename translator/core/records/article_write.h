// The frames that write or delete one article whose fields the parameter
// slots hold (command 51 and the article upload): every field checked before
// the first frame, then the operation's sequence.
#pragma once

#include <string_view>

#include "records/record_fields.h"

namespace quadrel {

enum class ArticleOperation { Delete, Insert, InsertOrModify, Modify, ModifyOrInsert };

// "C", "I", "IM", "M" or "MI"; false for anything else.
bool ParseArticleOperation(std::string_view text, ArticleOperation& op);

// Sends the article: delete 18; insert 2; insert or modify as one combined
// write 27 where the register has it, else insert 2 and on "exists" the
// modify; modify as a whole write 6 when every field is given, else read 3,
// the given fields laid over the record, write 6 ("MI": insert when not
// found). 0, a class 0x4000 refusal of a field, the register's refusal or an
// exchange error.
int WriteArticle(ArticleOperation op, const ArticleCode& code, const ArticleGeometry& geometry);

}  // namespace quadrel
