#include "autorun/spool_files.h"

#include <windows.h>

namespace ravelin {
namespace {

// Enough for any producer that drops the same name over and over; past it
// the file stays where it is and the caller reports that.
constexpr int kMaxAsideNames = 9999;

}  // namespace

std::wstring WidePath(const std::string& ansiPath) {
  if (ansiPath.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_ACP, 0, ansiPath.data(), static_cast<int>(ansiPath.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansiPath.data(), static_cast<int>(ansiPath.size()), wide.data(), length);
  return wide;
}

std::optional<std::string> AnsiPath(const std::wstring& path) {
  if (path.empty()) return std::string();
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(),
                                         static_cast<int>(path.size()), nullptr, 0, nullptr, &lossy);
  if (length == 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), static_cast<int>(path.size()), ansi.data(),
                      length, nullptr, &lossy);
  if (lossy) return std::nullopt;
  return ansi;
}

std::string DisplayPath(const std::wstring& path) {
  if (path.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, "?", nullptr);
  std::string shown(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), shown.data(), length, "?",
                      nullptr);
  return shown;
}

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> MatchingFileNames(const std::wstring& folder, const std::wstring& mask) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + mask).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const DWORD attributes = found.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_ARCHIVE))
      names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::optional<std::wstring> MoveAside(const std::wstring& from, const std::wstring& base,
                                      std::wstring_view suffix) {
  for (int n = 1; n <= kMaxAsideNames; ++n) {
    std::wstring to = base;
    if (n > 1) to += L"." + std::to_wstring(n);
    to += suffix;
    // Without MOVEFILE_REPLACE_EXISTING the move fails on a taken name, so
    // two spoolers or a producer can never make one file replace another.
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) return to;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

bool WriteWholeFile(const std::wstring& path, std::string_view text) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return CloseHandle(file) && ok && written == text.size();
}

}  // namespace ravelin
