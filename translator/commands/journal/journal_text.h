// The journal text of the direct read turned into lines: line feeds end a
// line, ESC n stands for n blanks, a form feed marks a page end. Blocks may
// split a line or an escape anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quadrel {

// A line never grows past this: a register that sends no line feed gets its
// text written in pieces of this length, none of it lost.
constexpr std::size_t kMaxJournalLineBytes = 1024;

class JournalLineSink {
 public:
  virtual void Line(const std::string& text) = 0;
  virtual void FormFeed() = 0;

 protected:
  ~JournalLineSink() = default;
};

class JournalTextWalker {
 public:
  // Walks one block's text; the line and an escape left open at its end
  // continue with the next block. True when the text held a line feed.
  bool Walk(std::span<const std::uint8_t> text, JournalLineSink& sink);

  // The text has ended: a line left open is a line all the same.
  void Finish(JournalLineSink& sink);

 private:
  void Add(char c, std::size_t count, JournalLineSink& sink);

  std::string line_;
  bool escapePending_ = false;
};

}  // namespace quadrel
