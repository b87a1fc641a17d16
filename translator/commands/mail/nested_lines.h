// The mail commands run their register work as nested command lines and
// read what those leave: a reply text, or a work file in the current folder.
#pragma once

#include <optional>
#include <string>

namespace quadrel {

// Runs `line`; when it succeeds, keeps its reply text in `reply` (when given)
// and sends the key records it queued. Returns the line's result (the key
// records' outcome is not looked at).
int RunNestedLine(const std::string& line, std::string* reply = nullptr);

// Texts of the current register's configuration record: its id and its
// firmware name (configuration texts 1 and 3).
std::string CurrentEcrId();
std::string CurrentFirmwareName();

// A work file read whole; nullopt when it cannot be opened.
std::optional<std::string> ReadWorkFile(const std::string& path);

}  // namespace quadrel
