#include "port/program_library.h"

namespace ravelin {

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string full(path, length);
  return full.substr(0, full.find_last_of("\\/") + 1);
}

bool IsBareFileName(std::string_view fileName) {
  return !fileName.empty() && fileName.find_first_of("\\/:") == std::string_view::npos && fileName != "." &&
         fileName != "..";
}

HMODULE LoadProgramLibrary(const std::string& fileName) {
  if (!IsBareFileName(fileName)) return nullptr;
  const std::string folder = ProgramFolder();
  if (!folder.empty()) {
    const std::string path = folder + fileName;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      // The library's own imports are looked up beside it.
      if (HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) return module;
    }
  }
  return LoadLibraryExA(fileName.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace ravelin
