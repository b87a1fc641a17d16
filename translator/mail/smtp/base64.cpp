#include "mail/smtp/base64.h"

#include <array>
#include <cstdint>

namespace quadrel {
namespace {

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> MakeValues() {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (std::size_t i = 0; i < kBase64Alphabet.size(); ++i)
    values[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<std::int8_t>(i);
  return values;
}
constexpr std::array<std::int8_t, 256> kValues = MakeValues();

}  // namespace

std::string Base64Encode(const void* bytes, std::size_t length) {
  const auto* in = static_cast<const unsigned char*>(bytes);
  std::string text;
  text.reserve((length + 2) / 3 * 4);
  for (std::size_t i = 0; i < length; i += 3) {
    std::size_t group = length - i < 3 ? length - i : 3;
    std::uint32_t bits = static_cast<std::uint32_t>(in[i]) << 16;
    if (group > 1) bits |= static_cast<std::uint32_t>(in[i + 1]) << 8;
    if (group > 2) bits |= in[i + 2];
    for (std::size_t k = 0; k < 4; ++k)
      text += k <= group ? kBase64Alphabet[(bits >> (18 - 6 * k)) & 0x3f] : '=';
  }
  return text;
}

std::string Base64Decode(std::string_view text) {
  std::string bytes;
  std::uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    int value = kValues[static_cast<unsigned char>(c)];
    if (value < 0) break;
    bits = bits << 6 | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      bytes += static_cast<char>(bits >> 16);
      bytes += static_cast<char>(bits >> 8);
      bytes += static_cast<char>(bits);
      bits = 0;
      count = 0;
    }
  }
  if (count >= 2) bytes += static_cast<char>(bits >> (6 * count - 8));
  if (count == 3) bytes += static_cast<char>(bits >> 2);
  return bytes;
}

}  // namespace quadrel
