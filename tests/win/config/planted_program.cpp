// A program planted where a careless start would find it (C:\Program.exe, a
// stray sc.exe): it only leaves "<its own path>.ran" behind.
#include <windows.h>

#include <string>

int main() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string marker = std::string(path) + ".ran";
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return 0;
}
