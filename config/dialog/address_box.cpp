#include "dialog/address_box.h"

#include "dialog/port_form_ids.h"
#include "model/net_def.h"

namespace lathwell {
namespace {

constexpr int kGlyphSize = 12;  // pixels; a glyph bitmap is two of these side by side
constexpr COLORREF kInUseColour = RGB(0, 140, 0);
constexpr COLORREF kFreeColour = RGB(200, 0, 0);
constexpr COLORREF kDisabledColour = RGB(128, 128, 128);
constexpr int kColumns = 4;
constexpr int kRowsBeforeGap = 3;
// In dialog units: a button, the gaps between buttons and rows, the wider gap, the group's margins.
constexpr RECT kButtonSize{0, 0, 26, 14};
constexpr RECT kGaps{2, 3, 10, 0};
constexpr RECT kMargins{8, 13, 0, 0};

// A tick (in use) or a cross (not in use), in its normal and its disabled look.
HBITMAP MakeGlyph(bool inUse) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP glyph = CreateCompatibleBitmap(screen, 2 * kGlyphSize, kGlyphSize);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(memory, glyph);
  const RECT all{0, 0, 2 * kGlyphSize, kGlyphSize};
  FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
  constexpr int k = kGlyphSize;
  for (int look = 0; look < 2; ++look) {
    HPEN pen = CreatePen(PS_SOLID, 2, look == 1 ? kDisabledColour : inUse ? kInUseColour : kFreeColour);
    HGDIOBJ oldPen = SelectObject(memory, pen);
    const int x = look * k;
    if (inUse) {
      const POINT tick[] = {{x + 2, k / 2}, {x + k / 2 - 1, k - 3}, {x + k - 2, 2}};
      Polyline(memory, tick, 3);
    } else {
      MoveToEx(memory, x + 3, 3, nullptr);
      LineTo(memory, x + k - 3, k - 3);
      MoveToEx(memory, x + k - 3, 3, nullptr);
      LineTo(memory, x + 3, k - 3);
    }
    SelectObject(memory, oldPen);
    DeleteObject(pen);
  }
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  return glyph;
}

RECT InPixels(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  return units;
}

}  // namespace

AddressBox::~AddressBox() {
  if (inUse_ != nullptr) DeleteObject(inUse_);
  if (free_ != nullptr) DeleteObject(free_);
}

void AddressBox::Create(HWND dialog) {
  dialog_ = dialog;
  inUse_ = MakeGlyph(true);
  free_ = MakeGlyph(false);
  SendDlgItemMessageA(dialog, IDC_ADDRESS_IN_USE, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(inUse_));
  SendDlgItemMessageA(dialog, IDC_ADDRESS_FREE, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(free_));

  RECT group{};
  GetWindowRect(GetDlgItem(dialog, IDC_BOX485_GROUP), &group);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&group), 2);
  const RECT size = InPixels(dialog, kButtonSize);
  const RECT gaps = InPixels(dialog, kGaps);
  const RECT margins = InPixels(dialog, kMargins);
  const auto font = SendMessageA(dialog, WM_GETFONT, 0, 0);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
  for (int position = 0; position < static_cast<int>(kAddressCount); ++position) {
    const int row = position / kColumns;
    const int x = group.left + margins.left + (position % kColumns) * (size.right + gaps.left);
    const int y = group.top + margins.top + row * (size.bottom + gaps.top) +
                  (row >= kRowsBeforeGap ? gaps.right - gaps.top : 0);
    HWND button = CreateWindowExA(0, "BUTTON", std::to_string(position + 1).c_str(),
                                  WS_CHILD | WS_TABSTOP | BS_OWNERDRAW | BS_BITMAP, x, y, size.right,
                                  size.bottom, dialog, reinterpret_cast<HMENU>(IDC_ADDRESS_FIRST + position),
                                  instance, nullptr);
    SetWindowLongPtrA(button, GWLP_USERDATA, position);
    SendMessageA(button, WM_SETFONT, font, FALSE);
  }
}

int AddressBox::PositionOf(HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id < IDC_ADDRESS_FIRST || id >= IDC_ADDRESS_FIRST + static_cast<int>(kAddressCount)) return -1;
  return static_cast<int>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

void AddressBox::Show(const std::string& netDef, bool shown, bool enabled) const {
  HWND group = GetDlgItem(dialog_, IDC_BOX485_GROUP);
  ShowWindow(group, shown ? SW_SHOWNA : SW_HIDE);
  EnableWindow(group, enabled);
  for (std::size_t position = 0; position < kAddressCount; ++position) {
    HWND button = GetDlgItem(dialog_, IDC_ADDRESS_FIRST + static_cast<int>(position));
    const int template_ = AddressInUse(netDef, position) ? IDC_ADDRESS_IN_USE : IDC_ADDRESS_FREE;
    const LRESULT glyph = SendDlgItemMessageA(dialog_, template_, BM_GETIMAGE, IMAGE_BITMAP, 0);
    if (SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0) != glyph)
      SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, glyph);
    ShowWindow(button, shown ? SW_SHOWNA : SW_HIDE);
    EnableWindow(button, enabled);
  }
}

bool AddressBox::Draw(const DRAWITEMSTRUCT& item) {
  if (PositionOf(item.hwndItem) < 0) return false;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  RECT face = item.rcItem;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON,
                   DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));

  char caption[8] = {};
  GetWindowTextA(item.hwndItem, caption, sizeof caption);
  RECT text = face;
  text.right -= kGlyphSize;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, disabled ? kDisabledColour : GetSysColor(COLOR_BTNTEXT));
  DrawTextA(item.hDC, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  if (auto glyph = reinterpret_cast<HBITMAP>(SendMessageA(item.hwndItem, BM_GETIMAGE, IMAGE_BITMAP, 0))) {
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(memory, glyph);
    BitBlt(item.hDC, face.right - kGlyphSize - 2, (face.top + face.bottom - kGlyphSize) / 2, kGlyphSize,
           kGlyphSize, memory, disabled ? kGlyphSize : 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &face);
  return true;
}

}  // namespace lathwell
