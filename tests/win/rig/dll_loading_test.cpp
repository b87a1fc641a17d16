// Loading a library by file name and calling an undecorated __stdcall export.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

using AddTwiceProc = int(__stdcall*)(int, int);

TEST(DllLoading, UndecoratedStdcallExportIsFoundAndCalled) {
  HMODULE probe = LoadLibraryA("stdcall_probe.dll");
  ASSERT_NE(probe, nullptr);
  auto addTwice = reinterpret_cast<AddTwiceProc>(reinterpret_cast<void*>(GetProcAddress(probe, "AddTwice")));
  ASSERT_NE(addTwice, nullptr);
  EXPECT_EQ(GetProcAddress(probe, "AddTwice@8"), nullptr);
  // Called many times: a caller/callee stack mismatch would show within a few calls.
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(addTwice(i, 3), i + 6);
  FreeLibrary(probe);
}

TEST(DllLoading, PlatformSeamLoadsAndResolves) {
  platform::LibraryHandle probe = platform::LoadLibraryFile("stdcall_probe.dll");
  ASSERT_NE(probe, nullptr);
  auto addTwice = reinterpret_cast<AddTwiceProc>(platform::FindLibrarySymbol(probe, "AddTwice"));
  ASSERT_NE(addTwice, nullptr);
  EXPECT_EQ(addTwice(1, 2), 5);
  EXPECT_EQ(platform::FindLibrarySymbol(probe, "NoSuchExport"), nullptr);
  platform::FreeLibraryFile(probe);
}

TEST(DllLoading, MissingLibraryGivesNull) {
  EXPECT_EQ(platform::LoadLibraryFile("no_such_library_here.dll"), nullptr);
  EXPECT_EQ(platform::FindLibrarySymbol(nullptr, "AddTwice"), nullptr);
}

}  // namespace
