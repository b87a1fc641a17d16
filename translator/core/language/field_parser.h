// Parameters of a command line: "name=value" or "#n=value" assignments
// separated by commas, resolved against the command's field names and the
// labels of the definitions file. Results are rows of the syntax message
// table (SyntaxRow); 0 is success. Positions are 0-based offsets into the line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quadrel {

// Parses every parameter of `line` from `position` on into CommandFields for
// `command` (0 to 149), after emptying slots 1 to 40. Stops at the first
// error (slots filled so far stay); then checks the mandatory fields.
int FillCommandFields(std::string_view line, int command, std::size_t& position);

// Parses one assignment. `name` keeps at most 10 characters; `value` at most
// 2048. A name alone, or with an empty unquoted value, gives "VERO"; an
// unquoted value that is not decimal text must be a label and becomes the
// label's value in decimal. `quoted` tells whether the value was quoted.
int ParseFieldAssignment(std::string_view line, std::size_t& position, std::string& name, std::string& value,
                         bool& quoted);

// The slot of field `name` of `command`: '#k' addresses slot k directly
// (k up to the command's highest field number); a name may abbreviate a field
// name (compared without regard to case). Returns 0, kSyntaxFieldNameNotFound
// or kSyntaxFieldNameNotUnique.
int FindFieldName(int command, std::string_view name, int& slot);

// The value of the label `name` (blanks around it ignored; exact and case
// sensitive). False when there is no such label.
bool FindLabel(std::string_view name, int& value);

}  // namespace quadrel
