// A window created under the rig's Xvfb can be found by class and title.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Window, CreatedWindowIsFoundByClassAndTitle) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PlainWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VelmoraRigProbe";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, "VelmoraRigProbe", "Rig probe window", WS_OVERLAPPEDWINDOW, 10, 10,
                                200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(FindWindowA("VelmoraRigProbe", "Rig probe window"), window);
  EXPECT_EQ(FindWindowA("VelmoraRigProbe", "Another title"), nullptr);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Rig probe window");
  DestroyWindow(window);
  EXPECT_EQ(FindWindowA("VelmoraRigProbe", nullptr), nullptr);
}

}  // namespace
