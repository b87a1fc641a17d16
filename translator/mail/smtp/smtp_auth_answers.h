// The computed answers of the CRAM-MD5 (RFC 2195) and DIGEST-MD5 (RFC 2831,
// quality of protection "auth") exchanges, before their base64.
#pragma once

#include <string>
#include <string_view>

namespace quadrel {

// HMAC-MD5 (RFC 2104) as 32 lowercase hex digits; a key over 64 bytes is
// replaced by its MD5 first.
std::string HmacMd5Hex(std::string_view key, std::string_view message);

// "user" + " " + HMAC-MD5 of the challenge keyed with the password.
std::string CramMd5Answer(std::string_view challenge, std::string_view user, std::string_view password);

struct DigestChallenge {
  std::string nonce;
  std::string realm;  // empty when the challenge names none
};

// Reads the challenge item by item (name=value or name="value", joined by
// ","); raises ECSmtp 207 without a nonce or for a quoted value left open.
DigestChallenge ParseDigestChallenge(std::string_view challenge);

struct DigestCredentials {
  std::string_view user;
  std::string_view password;
  std::string_view cnonce;
  std::string_view digestUri;  // "smtp/" and the server's address
};

std::string DigestMd5Answer(const DigestChallenge& challenge, const DigestCredentials& credentials);

}  // namespace quadrel
