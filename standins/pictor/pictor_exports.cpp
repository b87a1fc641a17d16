// DGFE2BMPFile: the header lines, the journal lines of the receipt and the
// register's id drawn into one bitmap, as the receipt looked on paper.
#include <fstream>
#include <string>
#include <vector>

#include "interfaces/picture_library.h"
#include "text_bitmap.h"

namespace {

constexpr std::size_t kMaxColumns = 200;
constexpr std::size_t kMaxLines = 2000;  // a picture stays a few megabytes at most

std::string Text(const char* text) { return text ? text : ""; }

void AddLine(std::vector<std::string>& lines, std::string line) {
  if (lines.size() >= kMaxLines) return;
  if (line.size() > kMaxColumns) line.resize(kMaxColumns);
  lines.push_back(std::move(line));
}

// The lines of a text file without their CR LF; none when it cannot be read.
std::vector<std::string> FileLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A header-line dump is one command line with a quoted text per header line;
// every quoted text is a line of the picture (a doubled quote stands for one).
void AddHeaderTexts(std::vector<std::string>& lines, const std::string& dumpLine) {
  std::string text;
  bool inside = false;
  for (std::size_t i = 0; i < dumpLine.size(); ++i) {
    const char c = dumpLine[i];
    if (c != '\'') {
      if (inside) text += c;
    } else if (inside && i + 1 < dumpLine.size() && dumpLine[i + 1] == '\'') {
      text += c;
      ++i;
    } else if (inside) {
      AddLine(lines, text);
      text.clear();
      inside = false;
    } else {
      inside = true;
    }
  }
}

}  // namespace

extern "C" int QUADREL_CALL DGFE2BMPFile(const char* journalFile, const char* pictureFile, const char* ecrId,
                                         const char*, const char* headerFile, const char*, const char*,
                                         const char*, const char*, const char*, const char*,
                                         const char* firmware) {
  std::vector<std::string> lines;
  for (const std::string& line : FileLines(Text(headerFile))) AddHeaderTexts(lines, line);
  for (const std::string& line : FileLines(Text(journalFile))) AddLine(lines, line);
  AddLine(lines, Text(ecrId) + " " + Text(firmware));
  return pictor::WriteTextBitmap(Text(pictureFile), lines) ? 0 : 1;
}

// The entry point has the type its callers declare.
[[maybe_unused]] static constexpr pictor::DrawJournalPicture kDeclaredType = &DGFE2BMPFile;
