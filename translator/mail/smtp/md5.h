// MD5 digest (RFC 1321) for CRAM-MD5, DIGEST-MD5 and their HMAC, computed by
// OpenSSL's EVP. Misuse (update or finalize after finalize, a digest before
// it) is reported on stderr and changes nothing.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace quadrel {

using Md5Digest = std::array<unsigned char, 16>;

class MD5 {
 public:
  MD5();
  ~MD5();
  MD5(const MD5&) = delete;
  MD5& operator=(const MD5&) = delete;

  void Md5Reset();
  void update(const void* bytes, std::size_t count);
  void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
  void finalize();
  std::optional<Md5Digest> raw_digest() const;  // none before finalize
  std::string hex_digest() const;               // 32 lowercase digits; empty before finalize

 private:
  struct ContextFree {
    void operator()(evp_md_ctx_st* context) const;
  };
  std::unique_ptr<evp_md_ctx_st, ContextFree> context_;
  Md5Digest digest_{};
  bool finalized_ = false;
};

// Convenience for the one-shot digests of the authentication exchanges.
Md5Digest Md5Of(std::string_view bytes);
std::string Md5HexOf(std::string_view bytes);
std::string HexText(const unsigned char* bytes, std::size_t count);

}  // namespace quadrel
