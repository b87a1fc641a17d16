#include "com/server_process.h"

#include <tlhelp32.h>

namespace tallis_test {

std::wstring ProgramBeside(const wchar_t* fileName) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + fileName;
}

long RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &exitCode);
  else
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(exitCode);
}

namespace {

DWORD RunningProcessId(const wchar_t* fileName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD id = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !id;
       more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, fileName) == 0) id = entry.th32ProcessID;
  CloseHandle(snapshot);
  return id;
}

}  // namespace

bool ProcessRunning(const wchar_t* fileName) { return RunningProcessId(fileName) != 0; }

long ExitCodeOfRunning(const wchar_t* fileName, DWORD timeoutMs) {
  const DWORD id = RunningProcessId(fileName);
  HANDLE process = id ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id) : nullptr;
  if (!process) return -1;
  // The ending server may still call this client (releases): keep serving it.
  const DWORD start = GetTickCount();
  DWORD waited;
  while ((waited = GetTickCount() - start) < timeoutMs &&
         MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs - waited, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &exitCode))
    exitCode = static_cast<DWORD>(-1);
  CloseHandle(process);
  return static_cast<long>(exitCode);
}

}  // namespace tallis_test
