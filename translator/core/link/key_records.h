// Key records of a command built whole before any of them reaches the
// KeyBatch: the key letter, key codes, digit entry and text fields. A text
// field holds at most 255 bytes (its length is one byte) and a record at most
// 512; a command that would pass either, or that does not fit in the queue,
// gets 31 and queues nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

constexpr std::uint8_t kKeyFrameLetter = 'A';
constexpr std::uint8_t kKeyText = 19;
constexpr std::size_t kMaxTextFieldBytes = 255;

// Appends key 19, the length byte and `text` converted to the register's
// character set. False, with `dst` unchanged, when the converted text is
// longer than 255 bytes.
bool PutTextField(std::string& dst, std::string_view text);
// As PutTextField for register bytes taken as they are (zero bytes allowed).
bool PutTextFieldN(std::string& dst, std::string_view bytes);

class KeyRecords {
 public:
  // Starts a record with the key letter.
  KeyRecords& Record();
  KeyRecords& Key(std::uint8_t code);
  // The keypad codes of a number text (DigitsToKeys).
  KeyRecords& Digits(std::string_view number);
  KeyRecords& Text(std::string_view pcText);
  KeyRecords& TextBytes(std::string_view ecrBytes);
  // A description: key 42, the text field, key 145.
  KeyRecords& Description(std::string_view pcText);
  // A record of its own turning the key to `position`: clear, clear, the
  // digit, the key-position key.
  KeyRecords& KeyPosition(int position);
  // A record of its own with a number's digits and the confirm key.
  KeyRecords& ConfirmedNumber(std::string_view number);

  // Records built so far.
  int Count() const { return static_cast<int>(records_.size()); }
  // Bytes of the record being built.
  std::size_t Length() const { return records_.empty() ? 0 : records_.back().size(); }
  bool Empty() const { return records_.empty(); }

  // Closes every record into the KeyBatch. 0, or 31 with nothing queued when
  // a text or a record was too long or the queue has no room for them all.
  int Queue() const;

 private:
  std::string& Current();

  std::vector<std::string> records_;
  bool textTooLong_ = false;
};

}  // namespace quadrel
