#include "mail/closure/closure_writer.h"

#include <filesystem>

namespace quadrel {
namespace {

std::string_view Piece(std::string_view text, std::size_t at, std::size_t length) {
  return at < text.size() ? text.substr(at, length) : std::string_view();
}

}  // namespace

ClosureWriter::~ClosureWriter() { Close(); }

void ClosureWriter::Begin(const ClosureRunStart& start) {
  Close();
  registerId_ = start.registerId;
  folder_ = start.folder;
  closureNumber_ = start.closureNumber;
  path_.clear();
}

int ClosureWriter::Finish(std::string_view) { return 0; }

int ClosureWriter::Close() {
  if (!file_) return -1;
  const bool flushed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed ? 0 : -1;
}

void ClosureWriter::Remove() {
  Close();
  if (!path_.empty()) std::remove(path_.c_str());
  path_.clear();
}

bool ClosureWriter::CreateReport(std::string_view dateTime) {
  const std::string name = SafeFileNamePart(registerId_) + "_" + SafeFileNamePart(ClosureDateText(dateTime)) +
                           "_" + SafeFileNamePart(closureNumber_) + "_" + suffix_ + ".txt";
  const std::string path =
      folder_.empty() ? name : (std::filesystem::path(folder_) / name).string();
  Close();
  if (path != path_) Remove();
  path_ = path;
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) path_.clear();
  return file_ != nullptr;
}

int ClosureWriter::Emit(std::string_view text) {
  if (!file_) return -1;
  return std::fwrite(text.data(), 1, text.size(), file_) == text.size() ? 0 : -1;
}

std::string ClosureDateText(std::string_view dateTime) {
  dateTime = TrimTrailingBlanks(dateTime);
  std::string date = "20";
  date.append(Piece(dateTime, 6, 2)).append(Piece(dateTime, 3, 2)).append(Piece(dateTime, 0, 2));
  return date;
}

std::string ClosureTimeText(std::string_view dateTime) {
  dateTime = TrimTrailingBlanks(dateTime);
  return std::string(Piece(dateTime, 9, 2)).append(Piece(dateTime, 12, 2));
}

std::string SafeFileNamePart(std::string_view text) {
  std::string safe(text);
  for (char& c : safe) {
    const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    if (!kept) c = '_';
  }
  return safe;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace quadrel
