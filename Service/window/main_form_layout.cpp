// The controls of the driver window: driver info, line graph, status counters
// and the two buttons.
#include "window/main_form.h"

namespace ravelin {
namespace {

struct LabelRow {
  const char* caption;
  int valueId;  // 0: a fixed value text follows
  const char* value;
};

HWND MakeControl(HWND parent, const char* className, const char* text, DWORD style, int id, int x, int y, int width,
                 int height, HFONT font) {
  HWND control =
      CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

}  // namespace

void TMainForm::CreateControls() {
  font_ = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
  constexpr int kLeft = 8, kWidth = 306, kRow = 17, kValueX = 150;
  const auto group = [&](const char* caption, int y, int height) {
    MakeControl(window_, "BUTTON", caption, BS_GROUPBOX, 0, kLeft, y, kWidth, height, font_);
  };
  const auto rows = [&](std::initializer_list<LabelRow> list, int y) {
    for (const LabelRow& row : list) {
      MakeControl(window_, "STATIC", row.caption, SS_LEFT, 0, kLeft + 10, y, kValueX - kLeft - 12, kRow - 2, font_);
      MakeControl(window_, "STATIC", row.value, SS_LEFT, row.valueId, kValueX, y, kLeft + kWidth - kValueX - 10,
                  kRow - 2, font_);
      y += kRow;
    }
  };

  group("Driver Info", 4, 76);
  rows({{"Name", 0, "Ravelin"}, {"Release", 0, "1.5.0"}, {"Connection Media", idMediaT, "None"}}, 22);

  group("Line Performance (bps)", 84, 96);
  graph_ = std::make_unique<TLineGraph>(window_, idGraph, RECT{kLeft + 10, 102, kLeft + kWidth - 10, 172});

  group("Status", 184, 144);
  rows({{"Active Connections ", idConnectionAlive, "0"},
        {"Last Period", idLastPeriod, "0"},
        {"EventMask", idEventMask, "0"},
        {"Data Collection", idDataCollection, "0"},
        {"Enquiries", idEnquiry, "0"},
        {"Interactivities", idInteractivities, "0"},
        {"Status Change", idNetChange, "0"}},
       202);

  MakeControl(window_, "BUTTON", "Hide", BS_PUSHBUTTON, idHide, kLeft + kWidth - 170, 336, 80, 24, font_);
  MakeControl(window_, "BUTTON", "Close", BS_PUSHBUTTON, idClose, kLeft + kWidth - 80, 336, 80, 24, font_);
  CreateAutoRunControls(366);
}

// Hidden until AutoRun turns out to be on in single-port mode.
void TMainForm::CreateAutoRunControls(int top) {
  constexpr int kLeft = 8, kWidth = 306;
  const auto hidden = [&](const char* className, const char* text, DWORD style, int id, int x, int y, int width,
                          int height) {
    ShowWindow(MakeControl(window_, className, text, style, id, x, y, width, height, font_), SW_HIDE);
  };
  hidden("BUTTON", " AutoRun ", BS_GROUPBOX, idAutoRunGroup, kLeft, top, kWidth, 70);
  hidden("STATIC", "Last AutoRun Result Code", SS_LEFT, idAutoRunLabel, kLeft + 10, top + 18, 200, 15);
  hidden("EDIT", "", WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, idAutoRunAnswer, kLeft + 10, top + 38, 196, 22);
  hidden("BUTTON", kShowLogCaption, BS_PUSHBUTTON, idShowLog, kLeft + kWidth - 90, top + 37, 80, 24);
  hidden("EDIT", "", WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY, idLog, kLeft, top + 78, kWidth,
         160);
}

}  // namespace ravelin
