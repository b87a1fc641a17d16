// The bar graph of line throughput in the driver window: one bar per timer
// tick, the newest on the right, over a grid.
#pragma once

#include <windows.h>

#include <deque>

namespace ravelin {

class TLineGraph {
 public:
  static constexpr int kGrid = 10;        // grid spacing in pixels
  static constexpr int kFullScale = 5000; // a bar of this height fills the graph
  static constexpr int kPenWidth = 4;

  // Creates the graph as a child control with the given id.
  TLineGraph(HWND parent, int id, RECT bounds);
  HWND Handle() const { return window_; }

  // Adds a bar (red while the port is open, maroon when closed) and repaints.
  void AddBar(int height, bool portOpen);

 private:
  struct Bar {
    int height;
    bool portOpen;
  };
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc, const RECT& area) const;

  HWND window_ = nullptr;
  std::deque<Bar> bars_;
};

}  // namespace ravelin
