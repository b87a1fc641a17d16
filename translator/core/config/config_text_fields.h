// The separated output texts of the configuration exports, built field by
// field from one register answer at a time. Every field is checked against
// the answer's length: a field beyond it is not written and reports false, so
// a short or malformed answer never shows bytes of an earlier frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quadrel {

struct EcrConfigRecord;

class ConfigTextFields {
 public:
  explicit ConfigTextFields(const EcrConfigRecord& record) : record_(record) {}

  // Copies the answer the following fields are read from (the frame buffer
  // is reused by the next exchange).
  void UseAnswer(std::span<const std::uint8_t> answer);
  void UseFrameAnswer();  // the answer in the FrameBuffer
  int AnswerLength() const { return static_cast<int>(answer_.size()); }
  bool Fits(int offset, int count) const;
  // Answer bytes; empty when they do not all lie inside the answer.
  std::span<const std::uint8_t> Bytes(int offset, int count) const;
  int Byte(int offset) const { return Fits(offset, 1) ? answer_[offset] : -1; }

  // '0' + the byte (masked), written as it is, without a separator.
  bool Digit(int offset, int mask = 0xFF);
  // The separator written directly: only when OutEditOptions is not 1 and SeparatorChar is not 0.
  void Separator();

  // Number fields (each followed by the separator as EditOutField writes it).
  bool UnsignedByte(int offset);
  bool SignedByte(int offset);
  bool Word(int offset);        // 16 bits, little-endian, unsigned
  bool SignedLong(int offset);  // 32 bits, little-endian, signed
  // Register BCD digits: hex text edited as a number ("D..." shows as "-...").
  bool Bcd(int offset, int count);
  // Register BCD digits as a decimal amount with `decimals` places (BcdToDecimalText).
  bool BcdAmount(int offset, int count, int decimals);
  // Bytes that are no number (card and serial bytes): their hex as it is.
  bool RawHex(int offset, int count);
  // A register text of `count` bytes in the PC's character set, up to its first zero.
  bool Text(int offset, int count);

  // The text with a trailing SeparatorChar removed, cut to `limit` characters.
  std::string Finish(std::size_t limit);

 private:
  const EcrConfigRecord& record_;
  std::vector<std::uint8_t> answer_;
  std::string text_;
};

}  // namespace quadrel
