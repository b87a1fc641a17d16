#include "mail/smtp/smtp_auth_answers.h"

#include <array>
#include <cctype>

#include "mail/smtp/md5.h"
#include "mail/smtp/smtp_errors.h"

namespace quadrel {
namespace {

constexpr std::size_t kHmacBlock = 64;

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

// Takes one item off the front of `rest`; false when no item is left.
bool NextItem(std::string_view& rest, std::string& name, std::string& value) {
  std::size_t start = rest.find_first_not_of(", \t\r\n");
  if (start == std::string_view::npos) return false;
  rest.remove_prefix(start);
  std::size_t equals = rest.find('=');
  if (equals == std::string_view::npos) return false;
  name = Lowered(rest.substr(0, equals));
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
  rest.remove_prefix(equals + 1);
  value.clear();
  if (!rest.starts_with('"')) {
    std::size_t end = rest.find(',');
    value = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    return true;
  }
  for (std::size_t i = 1; i < rest.size(); ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size()) {
      value += rest[++i];
    } else if (rest[i] == '"') {
      rest.remove_prefix(i + 1);
      return true;
    } else {
      value += rest[i];
    }
  }
  RaiseSmtp(kSmtpDigestChallengeBad);
}

}  // namespace

std::string HmacMd5Hex(std::string_view key, std::string_view message) {
  std::array<unsigned char, kHmacBlock> padded{};
  if (key.size() > kHmacBlock) {
    Md5Digest hashed = Md5Of(key);
    std::copy(hashed.begin(), hashed.end(), padded.begin());
  } else {
    std::copy(key.begin(), key.end(), padded.begin());
  }
  std::array<unsigned char, kHmacBlock> inner{}, outer{};
  for (std::size_t i = 0; i < kHmacBlock; ++i) {
    inner[i] = padded[i] ^ 0x36;
    outer[i] = padded[i] ^ 0x5c;
  }
  MD5 innerHash;
  innerHash.update(inner.data(), inner.size());
  innerHash.update(message);
  innerHash.finalize();
  Md5Digest innerDigest = *innerHash.raw_digest();
  MD5 outerHash;
  outerHash.update(outer.data(), outer.size());
  outerHash.update(innerDigest.data(), innerDigest.size());
  outerHash.finalize();
  return outerHash.hex_digest();
}

std::string CramMd5Answer(std::string_view challenge, std::string_view user, std::string_view password) {
  return std::string(user) + " " + HmacMd5Hex(password, challenge);
}

DigestChallenge ParseDigestChallenge(std::string_view challenge) {
  DigestChallenge parsed;
  bool haveNonce = false, haveRealm = false;
  std::string name, value;
  while (NextItem(challenge, name, value)) {
    if (name == "nonce" && !haveNonce) {
      parsed.nonce = value;
      haveNonce = true;
    } else if (name == "realm" && !haveRealm) {
      parsed.realm = value;
      haveRealm = true;
    }
  }
  if (!haveNonce) RaiseSmtp(kSmtpDigestChallengeBad);
  return parsed;
}

std::string DigestMd5Answer(const DigestChallenge& challenge, const DigestCredentials& credentials) {
  const std::string nc = "00000001";
  const std::string qop = "auth";
  Md5Digest secret =
      Md5Of(std::string(credentials.user) + ":" + challenge.realm + ":" + std::string(credentials.password));
  std::string a1(reinterpret_cast<const char*>(secret.data()), secret.size());
  a1 += ":" + challenge.nonce + ":" + std::string(credentials.cnonce);
  std::string ha1 = Md5HexOf(a1);
  std::string ha2 = Md5HexOf("AUTHENTICATE:" + std::string(credentials.digestUri));
  std::string response = Md5HexOf(ha1 + ":" + challenge.nonce + ":" + nc + ":" +
                                  std::string(credentials.cnonce) + ":" + qop + ":" + ha2);

  // A quote or backslash inside a value is escaped so it cannot end the value.
  auto quoted = [](std::string_view text) {
    std::string value = "\"";
    for (char c : text) {
      if (c == '"' || c == '\\') value += '\\';
      value += c;
    }
    return value + "\"";
  };
  std::string answer = "charset=utf-8,username=" + quoted(credentials.user);
  if (!challenge.realm.empty()) answer += ",realm=" + quoted(challenge.realm);
  answer += ",nonce=" + quoted(challenge.nonce) + ",nc=" + nc + ",cnonce=" + quoted(credentials.cnonce) +
            ",digest-uri=" + quoted(credentials.digestUri) + ",response=" + response + ",qop=" + qop;
  return answer;
}

}  // namespace quadrel
