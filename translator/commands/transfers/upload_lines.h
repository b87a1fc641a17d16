// One line of an article or O-file upload turned into the register's frames:
// the line's fields go into parameter slots 0 to 40 and are sent as commands
// 51 and 52 send theirs, with the stricter rules of a file line.
#pragma once

#include <string_view>

namespace quadrel {

// 0, a class 0x4000 code for a line that breaks the rules, the register's
// refusal or an exchange error.
int XferArticleLine(std::string_view line);
int XferOFileLine(std::string_view line);

}  // namespace quadrel
