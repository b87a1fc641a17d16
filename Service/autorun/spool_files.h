// The file operations of the spooler on wide names: a name outside the ANSI
// code page is found, moved aside and reported like any other, instead of
// coming back from the ANSI functions as a name that opens nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

// An ANSI path (from the settings) as a wide one.
std::wstring WidePath(const std::string& ansiPath);
// The ANSI form of `path`; none when a character has no ANSI form (the
// translator takes ANSI names only).
std::optional<std::string> AnsiPath(const std::wstring& path);
// For log lines: a character without an ANSI form shows as '?'.
std::string DisplayPath(const std::wstring& path);

bool PathExists(const std::wstring& path);

// The names (without folder) of the files that match `folder` + `mask` and
// carry the archive attribute; folders are skipped.
std::vector<std::wstring> MatchingFileNames(const std::wstring& folder, const std::wstring& mask);

// Moves `from` to `base` + `suffix`, or, when a file of that name exists,
// to `base` + ".2" + `suffix`, ".3"..., never replacing one: every name
// ends with `suffix`. The new path, or none when the move failed.
std::optional<std::wstring> MoveAside(const std::wstring& from, const std::wstring& base,
                                      std::wstring_view suffix);

// Creates or overwrites `path` with `text`.
bool WriteWholeFile(const std::wstring& path, std::string_view text);

}  // namespace ravelin
