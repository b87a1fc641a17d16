#include "window/line_graph.h"

#include <algorithm>

namespace ravelin {
namespace {

constexpr const char* kGraphClass = "RavelinLineGraph";
constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kGridColour = RGB(0, 96, 0);
constexpr COLORREF kOpenBar = RGB(255, 0, 0);
constexpr COLORREF kClosedBar = RGB(128, 0, 0);
constexpr int kBarStep = TLineGraph::kPenWidth + 1;
constexpr std::size_t kMaxBars = 400;  // wider than any graph the window can show

void RegisterGraphClass(WNDPROC proc) {
  WNDCLASSA graphClass{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kGraphClass, &graphClass)) return;
  graphClass.lpfnWndProc = proc;
  graphClass.hInstance = GetModuleHandleA(nullptr);
  graphClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  graphClass.lpszClassName = kGraphClass;
  RegisterClassA(&graphClass);
}

}  // namespace

TLineGraph::TLineGraph(HWND parent, int id, RECT bounds) {
  RegisterGraphClass(WindowProc);
  window_ = CreateWindowExA(WS_EX_CLIENTEDGE, kGraphClass, "", WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                            bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), this);
}

void TLineGraph::AddBar(int height, bool portOpen) {
  bars_.push_back({std::clamp(height, 0, kFullScale), portOpen});
  if (bars_.size() > kMaxBars) bars_.pop_front();
  InvalidateRect(window_, nullptr, FALSE);
}

void TLineGraph::Paint(HDC dc, const RECT& area) const {
  HBRUSH background = CreateSolidBrush(kBackground);
  FillRect(dc, &area, background);
  DeleteObject(background);

  HPEN gridPen = CreatePen(PS_SOLID, 1, kGridColour);
  HGDIOBJ oldPen = SelectObject(dc, gridPen);
  for (int x = area.right - 1; x >= area.left; x -= kGrid) {
    MoveToEx(dc, x, area.top, nullptr);
    LineTo(dc, x, area.bottom);
  }
  for (int y = area.bottom - 1; y >= area.top; y -= kGrid) {
    MoveToEx(dc, area.left, y, nullptr);
    LineTo(dc, area.right, y);
  }

  const int height = area.bottom - area.top;
  HPEN openPen = CreatePen(PS_SOLID, kPenWidth, kOpenBar);
  HPEN closedPen = CreatePen(PS_SOLID, kPenWidth, kClosedBar);
  int x = area.right - kBarStep / 2 - 1;
  for (auto bar = bars_.rbegin(); bar != bars_.rend() && x >= area.left; ++bar, x -= kBarStep) {
    const int barHeight = bar->height * height / kFullScale;
    if (barHeight == 0) continue;
    SelectObject(dc, bar->portOpen ? openPen : closedPen);
    MoveToEx(dc, x, area.bottom, nullptr);
    LineTo(dc, x, area.bottom - barHeight);
  }
  SelectObject(dc, oldPen);
  DeleteObject(gridPen);
  DeleteObject(openPen);
  DeleteObject(closedPen);
}

LRESULT CALLBACK TLineGraph::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* graph = reinterpret_cast<TLineGraph*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_PAINT && graph) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    graph->Paint(dc, area);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace ravelin
