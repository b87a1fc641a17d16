#include "last_error.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace prot {
namespace {

std::mutex errorMutex;
int lastCode = 0;
std::string lastText;

}  // namespace

void SetLastProtocolError(int code, const std::string& text) {
  std::lock_guard lock(errorMutex);
  lastCode = code;
  lastText = text;
}

void ClearLastProtocolError() { SetLastProtocolError(0, ""); }

int CopyLastProtocolError(char* text, std::size_t size) {
  std::lock_guard lock(errorMutex);
  if (text && size > 0) {
    const std::size_t n = std::min(lastText.size(), size - 1);
    std::memcpy(text, lastText.data(), n);
    text[n] = '\0';
  }
  return lastCode;
}

}  // namespace prot
