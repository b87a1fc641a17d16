#include "com/bstr_text.h"

namespace ravelin {

BSTR AnsiToBstr(std::string_view text) {
  if (text.empty()) return SysAllocStringLen(L"", 0);
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  BSTR result = SysAllocStringLen(nullptr, length);
  if (result)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, length);
  return result;
}

std::string BstrToAnsi(BSTR text) {
  const int units = static_cast<int>(SysStringLen(text));
  if (units == 0) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, units, result.data(), length, nullptr, nullptr);
  return result;
}

BSTR BytesToBstr(std::string_view bytes) {
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(bytes.size()));
  if (!result) return nullptr;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    result[i] = static_cast<unsigned char>(bytes[i]);
  return result;
}

std::string BstrLowBytes(BSTR text) {
  const UINT units = SysStringLen(text);
  std::string result(units, '\0');
  for (UINT i = 0; i < units; ++i) result[i] = static_cast<char>(text[i] & 0xFF);
  return result;
}

}  // namespace ravelin
