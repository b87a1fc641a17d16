// A command line as the host's trace shows it: the values of the fields the
// command's row marks as credentials (mail passwords) are never written out.
#pragma once

#include <string>
#include <string_view>

namespace quadrel {

inline constexpr std::string_view kHiddenValue = "<hidden>";

// `line` with the value of each credential field replaced by kHiddenValue.
// Where the line cannot be read far enough to know (bad quoting, a field name
// the command lacks) every value from there on is hidden. Lines of commands
// without credential fields come back as they are.
std::string TracedLine(std::string_view line);

}  // namespace quadrel
