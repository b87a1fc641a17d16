// The chip card in a register's reader and the frames that work on it: no
// card, a blank one or a personalised one, inserted at once or after a delay.
// Personalisation writes the owner data and four text lines; amount bookings
// and card payments move the card's balance; the register itself keeps the
// numbered card values.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ecrsim {

class Printer;

// Answer byte 1 of the card frames (and of the reader query 'C' 4).
constexpr std::uint8_t kCardDone = 0;  // also: a personalised card in the reader
constexpr std::uint8_t kCardMissing = 1;
constexpr std::uint8_t kCardWrongState = 2;   // blank where a personalised card is needed, or the reverse
constexpr std::uint8_t kCardOtherNumber = 3;  // the frame names another card
constexpr std::uint8_t kCardNoFunds = 4;      // the balance would fall below 0
constexpr std::uint8_t kCardBlank = 10;

constexpr std::size_t kCardLines = 4;
constexpr std::size_t kCardLineWidth = 30;

class ChipCard {
 public:
  enum class Kind { None, Blank, Personalised };

  // A card of `kind` is in the reader `delayMs` from now; a blank card has no
  // owner data and no balance. Kind::None takes the card out at once.
  void Insert(Kind kind, int delayMs = 0);
  // The card the reader holds now (None until an insertion's delay has passed).
  Kind InReader() const;

  // "none", "blank" or "personalised".
  static std::optional<Kind> KindNamed(std::string_view name);
  // One line: the card in the reader, its number, balance, owner and last short operation.
  std::string Describe() const;

  // 'C' 6, 7, 14, 25, 26, 27 and 28.
  static bool Handles(std::span<const std::uint8_t> frame);
  // The answer to one of them; nullopt for a malformed frame. `valueSlots`
  // is how many card values the register keeps.
  std::optional<std::vector<std::uint8_t>> Answer(std::span<const std::uint8_t> frame, int valueSlots);

  // The card payment of the sales keys: `hundredths` off the balance (onto it
  // for a refund), printed as a document. 0 or the critical code.
  int Pay(std::int64_t hundredths, bool refund, Printer& printer);

  int type = 0;
  int number = 0;  // the card number value, its four BCD digits read as a number
  std::string ownerCode;
  std::string ownerName;
  std::array<std::string, kCardLines> lines;
  std::int64_t balance = 0;             // in the register's smallest unit
  std::uint8_t lastShortOperation = 0;  // the code of the last 'C' 25, 26 or 28 taken

 private:
  std::uint8_t PersonalData(std::span<const std::uint8_t> frame);
  std::uint8_t TextLines(std::span<const std::uint8_t> frame);
  std::optional<std::vector<std::uint8_t>> Value(std::span<const std::uint8_t> frame, int valueSlots);
  std::optional<std::uint8_t> Booking(std::span<const std::uint8_t> frame);
  // kCardDone when a personalised card with this number (2 BCD bytes at `at`) is in the reader.
  std::uint8_t RequireCard(std::span<const std::uint8_t> frame, std::size_t at) const;

  Kind kind_ = Kind::None;
  std::chrono::steady_clock::time_point insertedAt_{};
  std::map<int, std::array<std::uint8_t, 5>> values_;
};

}  // namespace ecrsim
