#include "autorun/autorun_log_view.h"

#include <windows.h>

#include <vector>

namespace ravelin {
namespace {

// An edit control holds no more; a longer errors file shows its beginning.
constexpr DWORD kMaxLogBytes = 64 * 1024;

bool ReadTextFile(const std::string& path, std::string& text) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<char> buffer(kMaxLogBytes);
  DWORD read = 0;
  const BOOL ok = ReadFile(file, buffer.data(), kMaxLogBytes, &read, nullptr);
  CloseHandle(file);
  if (!ok) return false;
  text.assign(buffer.data(), read);
  return true;
}

std::string WithCrLfLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
    lines += text[i];
  }
  return lines;
}

}  // namespace

void TAutoRunLogView::Toggle(const std::string& errorsFile) {
  shown_ = !shown_;
  if (shown_) {
    Load(errorsFile);
  } else {
    text_.clear();
  }
}

void TAutoRunLogView::AnswerChanged(const std::string& errorsFile) {
  if (shown_) Load(errorsFile);
}

void TAutoRunLogView::AddNote(const std::string& note, const std::string& errorsFile) {
  notes_.push_back(note);
  if (notes_.size() > kNotesKept) notes_.pop_front();
  if (shown_) Load(errorsFile);
}

void TAutoRunLogView::Load(const std::string& errorsFile) {
  std::string content;
  text_ = ReadTextFile(errorsFile, content) ? WithCrLfLines(content) : kErrorsFileNotFound;
  if (notes_.empty()) return;
  if (text_.empty() || text_.back() != '\n') text_ += "\r\n";
  text_ += "\r\nAutoRun:\r\n";
  for (const std::string& note : notes_) text_ += note + "\r\n";
}

}  // namespace ravelin
