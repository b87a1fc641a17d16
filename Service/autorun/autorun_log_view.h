// The AutoRun log: the "Show Log" button and the memo that shows the errors
// file of the last command file, followed by AutoRun's own notes (a file set
// aside, results kept under another name).
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace ravelin {

inline constexpr const char* kShowLogCaption = "Show Log";
inline constexpr const char* kCloseLogCaption = "Close Log";
inline constexpr const char* kErrorsFileNotFound = "Errors file not found!";

class TAutoRunLogView {
 public:
  // bLogClick: shows the log with the errors file loaded, or hides and
  // empties it.
  void Toggle(const std::string& errorsFile);
  // eAutoRunChange: a new answer means a new errors file; reloaded when shown.
  void AnswerChanged(const std::string& errorsFile);
  // One of AutoRun's notes; the latest kNotesKept stay.
  void AddNote(const std::string& note, const std::string& errorsFile);

  bool Shown() const { return shown_; }
  const char* ButtonCaption() const { return shown_ ? kCloseLogCaption : kShowLogCaption; }
  // The memo's text, lines ended with CR LF as an edit control wants them.
  const std::string& Text() const { return text_; }

 private:
  void Load(const std::string& errorsFile);

  static constexpr std::size_t kNotesKept = 50;

  bool shown_ = false;
  std::string text_;
  std::deque<std::string> notes_;
};

}  // namespace ravelin
