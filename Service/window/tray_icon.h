// The driver's icon in the notification area: added blank when the window is
// made, then kept up to date with the current frame and the tip text.
#pragma once

#include <windows.h>

#include <string>

namespace ravelin {

class TTrayIcon {
 public:
  static constexpr UINT kIconId = 2001;
  static constexpr std::size_t kMaxTip = 127;

  // Adds the icon with no image and an empty tip; mouse actions arrive at
  // `owner` as `callbackMessage`.
  TTrayIcon(HWND owner, UINT callbackMessage);
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Shows `icon` with `tip` (cut to kMaxTip characters); false when the
  // notification area refused it.
  bool Modify(HICON icon, const std::string& tip);

 private:
  NOTIFYICONDATAA data_{};
};

}  // namespace ravelin
