// Loader of the definitions file: the INI-style file that names the commands,
// their parameters, labels and key names, and may replace the message texts.
#pragma once

#include <string>

namespace quadrel {

// Loads the file at `path` into the definition and message tables. The
// keywords, field names and labels of an earlier load are emptied first; the
// message texts keep whatever the file does not replace. False when the file
// cannot be opened or read or breaks the file's structure (a line without '='
// outside a section header, a bad command, field, slot or label entry, a name
// longer than 10 characters, more than 300 labels, a key code outside 0-255).
// Message lines with a bad row, bad quoting or an over-long text are ignored.
bool LoadDefinitionFile(const std::string& path);

}  // namespace quadrel
