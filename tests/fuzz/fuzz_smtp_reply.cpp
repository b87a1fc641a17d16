// Fuzzes what an SMTP server sends the mail client: reply scanning, the
// keyword test of EHLO replies, and the DIGEST-MD5 challenge reader.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mail/smtp/base64.h"
#include "mail/smtp/smtp_auth_answers.h"
#include "mail/smtp/smtp_errors.h"
#include "mail/smtp/smtp_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first line is a keyword to look for, the rest a reply.
  std::size_t split = input.find('\n');
  std::string_view keyword = split == std::string_view::npos ? std::string_view() : input.substr(0, split);
  std::string_view reply = split == std::string_view::npos ? input : input.substr(split + 1);
  quadrel::FinalReplyCode(reply);
  quadrel::HasEhloKeyword(reply, keyword);
  // As the session reads it: the base64 after "334 ", and also the bytes as they are.
  const std::string decoded = quadrel::Base64Decode(reply.size() > 4 ? reply.substr(4) : "");
  for (std::string_view challenge : {reply, std::string_view(decoded)}) {
    try {
      quadrel::ParseDigestChallenge(challenge);
    } catch (const quadrel::ECSmtp&) {
    }
  }
  return 0;
}
