#include "mail/smtp/md5.h"

#include <openssl/evp.h>

#include <iostream>

namespace quadrel {
namespace {

// Misuse texts go to stderr, each with a line end and a flush.
void Complain(const char* text) {
  std::cerr << text << std::endl;
}

}  // namespace

void MD5::ContextFree::operator()(evp_md_ctx_st* context) const {
  EVP_MD_CTX_free(context);
}

MD5::MD5() : context_(EVP_MD_CTX_new()) {
  Md5Reset();
}

MD5::~MD5() = default;

void MD5::Md5Reset() {
  finalized_ = false;
  digest_.fill(0);
  if (context_) EVP_DigestInit_ex(context_.get(), EVP_md5(), nullptr);
}

void MD5::update(const void* bytes, std::size_t count) {
  if (finalized_) {
    Complain("MD5::update:  Can't update a finalized digest!");
    return;
  }
  if (context_) EVP_DigestUpdate(context_.get(), bytes, count);
}

void MD5::finalize() {
  if (finalized_) {
    Complain("MD5::finalize:  Already finalized this digest!");
    return;
  }
  unsigned int size = 0;
  if (context_) EVP_DigestFinal_ex(context_.get(), digest_.data(), &size);
  finalized_ = true;
}

std::optional<Md5Digest> MD5::raw_digest() const {
  if (!finalized_) {
    Complain("MD5::raw_digest:  Can't get digest if you haven't finalized the digest!");
    return std::nullopt;
  }
  return digest_;
}

std::string MD5::hex_digest() const {
  if (!finalized_) {
    Complain("MD5::hex_digest:  Can't get digest if you haven't finalized the digest!");
    return {};
  }
  return HexText(digest_.data(), digest_.size());
}

std::string HexText(const unsigned char* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0f];
  }
  return text;
}

Md5Digest Md5Of(std::string_view bytes) {
  MD5 md5;
  md5.update(bytes);
  md5.finalize();
  return *md5.raw_digest();
}

std::string Md5HexOf(std::string_view bytes) {
  Md5Digest digest = Md5Of(bytes);
  return HexText(digest.data(), digest.size());
}

}  // namespace quadrel
