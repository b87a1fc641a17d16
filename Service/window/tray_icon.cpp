#include "window/tray_icon.h"

#include <shellapi.h>

#include <cstring>

namespace ravelin {

TTrayIcon::TTrayIcon(HWND owner, UINT callbackMessage) {
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = kIconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  Shell_NotifyIconA(NIM_ADD, &data_);
}

TTrayIcon::~TTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &data_); }

bool TTrayIcon::Modify(HICON icon, const std::string& tip) {
  static_assert(sizeof data_.szTip > kMaxTip);
  data_.hIcon = icon;
  const std::size_t length = tip.size() < kMaxTip ? tip.size() : kMaxTip;
  std::memcpy(data_.szTip, tip.data(), length);
  data_.szTip[length] = '\0';
  return Shell_NotifyIconA(NIM_MODIFY, &data_) != FALSE;
}

}  // namespace ravelin
