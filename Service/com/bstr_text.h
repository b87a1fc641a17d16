// Texts across the COM boundary: BSTRs for clients, 8-bit texts for the
// translator and the protocol library.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace ravelin {

// 8-bit text in the system code page <-> BSTR (the translator's texts).
BSTR AnsiToBstr(std::string_view text);
std::string BstrToAnsi(BSTR text);

// Byte-wise: each byte widened, each UTF-16 unit cut to its low byte (raw
// protocol data and file names, which are not code-page text).
BSTR BytesToBstr(std::string_view bytes);
std::string BstrLowBytes(BSTR text);

// Owns one BSTR and frees it at scope end.
class TBstr {
 public:
  explicit TBstr(BSTR value = nullptr) : value_(value) {}
  ~TBstr() { SysFreeString(value_); }
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  BSTR Get() const { return value_; }
  BSTR* Address() { return &value_; }
  BSTR Release() {
    BSTR value = value_;
    value_ = nullptr;
    return value;
  }

 private:
  BSTR value_;
};

}  // namespace ravelin
