// Reading SMTP replies: where a (multi-line) reply ends, its code, and
// whether an EHLO reply offers a keyword.
#pragma once

#include <optional>
#include <string_view>

namespace quadrel {

// The code of the reply's final line ("ddd" or "ddd " then text, ending in
// CR LF); none while the reply is still incomplete.
std::optional<int> FinalReplyCode(std::string_view reply);

// Whether the reply offers `keyword` (any case): preceded by a blank, "-" or
// "=", followed by a blank, "=" or CR LF, never at the reply's first character.
bool HasEhloKeyword(std::string_view reply, std::string_view keyword);

}  // namespace quadrel
