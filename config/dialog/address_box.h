// The RS-485 address box of Lathwell's dialog: 24 owner-drawn buttons, one per
// register address, in six rows of four. Each shows, right of its caption, the
// glyph of one of two hidden templates (address in use, not in use); a glyph
// holds the normal look and, beside it, the disabled one.
#pragma once

#include <windows.h>

#include <string>

namespace lathwell {

class AddressBox {
 public:
  AddressBox() = default;
  ~AddressBox();
  AddressBox(const AddressBox&) = delete;
  AddressBox& operator=(const AddressBox&) = delete;

  // Draws the glyphs into the templates and makes the buttons inside the group.
  void Create(HWND dialog);
  // The clicked button's position (its tag, 0 for address 1); -1 for another control.
  static int PositionOf(HWND control);
  // Shows the map's addresses by their glyphs.
  void Show(const std::string& netDef, bool shown, bool enabled) const;
  // Draws an address button; false for any other control.
  static bool Draw(const DRAWITEMSTRUCT& item);

 private:
  HWND dialog_ = nullptr;
  HBITMAP inUse_ = nullptr;
  HBITMAP free_ = nullptr;
};

}  // namespace lathwell
