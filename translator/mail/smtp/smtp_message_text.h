// The fixed texts and text rules of the mail message: the boundary, header
// values cleaned of line breaks, addresses that cannot leave their brackets,
// body lines split and dot-stuffed for DATA.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

inline constexpr std::string_view kMessageBoundary = "__MESSAGE__ID__54yg6f6h6y456345";

// A line of message text: the text and CR LF.
inline std::string TextLine(std::string_view text) {
  return std::string(text) + "\r\n";
}

// CR and LF become blanks.
std::string HeaderValue(std::string_view text);

// Not empty and free of CR, LF, "<" and ">".
bool IsUsableAddress(std::string_view address);

// The lines of a body line as DATA carries them: split at CR LF, CR or LF,
// each with a leading dot doubled.
std::vector<std::string> DataLines(std::string_view bodyLine);

// The file name of an attachment path: after its last backslash (or slash).
std::string AttachmentName(std::string_view path);

// "text/plain" for a name ending in ".txt" (any case), else "image/bmp".
std::string_view AttachmentType(std::string_view name);

}  // namespace quadrel
