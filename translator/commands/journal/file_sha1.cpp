#include "commands/journal/file_sha1.h"

#include <openssl/evp.h>

#include <cstdio>
#include <memory>

namespace quadrel {
namespace {

constexpr std::size_t kPieceBytes = 512;

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)>;

}  // namespace

std::optional<std::string> FileSha1Hex(const std::string& path) {
  FileHandle file(std::fopen(path.c_str(), "rb"), std::fclose);
  DigestContext context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!file || !context || EVP_DigestInit_ex(context.get(), EVP_sha1(), nullptr) != 1) return std::nullopt;

  unsigned char piece[kPieceBytes];
  std::size_t got = 0;
  while ((got = std::fread(piece, 1, sizeof piece, file.get())) > 0) {
    if (EVP_DigestUpdate(context.get(), piece, got) != 1) return std::nullopt;
  }
  if (std::ferror(file.get())) return std::nullopt;

  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return std::nullopt;
  std::string hex;
  char pair[3];
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(pair, sizeof pair, "%2.2X", digest[i]);
    hex += pair;
  }
  return hex;
}

}  // namespace quadrel
