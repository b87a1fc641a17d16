// The register's three logo slots, as the 'C' 16 frames fill them: the print
// settings, chunks at contiguous offsets, and the end frame that makes the
// upload the slot's logo. Tests script the register's verdict and its memory,
// and read a logo back as a picture.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ecrsim {

constexpr int kLogoSlots = 3;
constexpr std::size_t kDefaultLogoMemory = 30512;  // bytes a slot holds
constexpr std::uint8_t kLogoMemoryFull = 2;        // the verdict when a chunk passes the memory

class LogoStore {
 public:
  // A 'C' 16 frame.
  static bool Handles(std::span<const std::uint8_t> frame);
  // The verdict on the frame (0 taken, 1 no logos, other: memory full), or
  // nothing for a malformed frame, a slot out of range or a chunk that does
  // not continue the upload.
  std::optional<std::uint8_t> Take(std::span<const std::uint8_t> frame);

  // The logo of `slot` (1..3) as the last end frame left it.
  const std::vector<std::uint8_t>& Logo(int slot) const { return logos_[static_cast<std::size_t>(slot - 1)]; }
  // The logo of `slot` unpacked from its DIS_XX record into a plain PBM
  // picture, one bit a dot; empty when it is no such record.
  std::string Pbm(int slot) const;

  std::uint8_t verdict = 0;  // answered to every frame instead of taking it, when not 0
  std::size_t memory = kDefaultLogoMemory;
  int settingA = -1, settingB = -1;  // the last print settings

 private:
  std::array<std::vector<std::uint8_t>, kLogoSlots> logos_;
  std::array<std::vector<std::uint8_t>, kLogoSlots> uploads_;  // chunks so far
};

}  // namespace ecrsim
