#include "com/com_registration.h"

#include <oleauto.h>

#include "com/tallis_codes.h"

namespace ravelin {
namespace {

constexpr wchar_t kClassesRoot[] = L"Software\\Classes\\";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey() { return std::wstring(kClassesRoot) + L"CLSID\\" + GuidText(kClsidTallisInterface); }
std::wstring ProgIdKey() { return std::wstring(kClassesRoot) + kProgId; }

HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle;
  LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &handle, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteTree(const std::wstring& key) {
  const LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
    return S_OK;
  }
  return HRESULT_FROM_WIN32(status);
}

}  // namespace

std::wstring LocalServerCommand(const std::wstring& programPath) {
  return L"\"" + programPath + L"\" /Automation";
}

HRESULT RegisterServer(const std::wstring& programPath) {
  const std::wstring classKey = ClassKey();
  const std::wstring serverKey = classKey + L"\\LocalServer32";
  const std::wstring clsid = GuidText(kClsidTallisInterface);
  const struct {
    const std::wstring& key;
    const wchar_t* name;
    std::wstring value;
  } values[] = {
      {classKey, nullptr, kClassDescription},
      {serverKey, nullptr, LocalServerCommand(programPath)},
      {serverKey, L"ThreadingModel", L"Apartment"},
      {classKey + L"\\ProgID", nullptr, kProgId},
      {classKey + L"\\TypeLib", nullptr, GuidText(kLibidRavelin)},
      {ProgIdKey(), nullptr, kClassDescription},
      {ProgIdKey() + L"\\CLSID", nullptr, clsid},
  };
  for (const auto& entry : values) {
    const HRESULT hr = SetValue(entry.key, entry.name, entry.value);
    if (FAILED(hr)) return hr;
  }
  ITypeLib* library = nullptr;
  const HRESULT hr = LoadTypeLibEx(programPath.c_str(), REGKIND_REGISTER, &library);
  if (library) library->Release();
  return hr;
}

HRESULT UnregisterServer() {
  // A type library that was never registered is no failure either.
  UnRegisterTypeLib(kLibidRavelin, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
  const HRESULT classResult = DeleteTree(ClassKey());
  const HRESULT progIdResult = DeleteTree(ProgIdKey());
  return FAILED(classResult) ? classResult : progIdResult;
}

}  // namespace ravelin
