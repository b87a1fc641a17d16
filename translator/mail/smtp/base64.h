// Base64 of RFC 4648 (standard alphabet, "=" padding, no line breaks) for the
// mail client's authentication exchanges and attachments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quadrel {

std::string Base64Encode(const void* bytes, std::size_t length);
inline std::string Base64Encode(std::string_view bytes) {
  return Base64Encode(bytes.data(), bytes.size());
}

// Decodes up to the end, the first "=" or the first character outside the
// alphabet (so a line break ends it); a single left-over character gives nothing.
std::string Base64Decode(std::string_view text);

}  // namespace quadrel
