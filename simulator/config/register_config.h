// What a simulated register is configured with: the bytes of each fixed answer
// it gives (identity, identity block, output settings, file information ...) and
// the memory blocks the configuration read walks through. Offsets follow the
// answer's own numbering: byte 0 is the answer letter, so the data a frame
// returns start at offset 1 (for a memory block, offset n is memory byte n - 1
// of the block).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ecrsim {

enum class Area : int {
  Identity,        // answer to 'T'
  IdentityBlock,   // answer to 'O' 17
  Block1,          // 64 bytes at identity word 67
  Block2,          // 60 bytes at block 1 word 31
  Block3,          // 112 bytes at block 1 word 49
  Block4,          // 64 bytes right after block 3
  Block5,          // 50 bytes at block 3 word 59
  RecordTable,     // block 4 byte 37 records of block 4 byte 33 bytes at block 3 word 23
  OutputSettings,  // answer to 'C' 3
  Setting15,       // answer to 'C' 15 2 5 0; empty = the register refuses it
  Info0,           // answer to 'U' 0 0 (byte 1 status)
  FileInfo,        // answer to 'U' 0 1 (byte 1 status)
  Ext31,           // answer to 'U' 0 31 (byte 1 status)
  Info24,          // answer to 'U' 0 24 (byte 1 status)
  Counters,        // answer to 'U' 0 23 (byte 1 status): counters and totals
  Card,            // answer to 'C' 4 while a card is in the reader (byte 1 status, 0 = card)
  CardText,        // answer to 'C' 5 while a card is in the reader (byte 1 status)
  SettingValues,   // answer to 'C' 20 (byte 1 a digit, then the values)
  ExtendedStatus,  // what the host's extended-status function reports (no letter: offset 1 is byte 0)
};
constexpr int kAreaCount = 19;

// Fixed sizes of the memory blocks; the other areas take their size from the configuration.
constexpr int kBlock1Bytes = 64;
constexpr int kBlock2Bytes = 60;
constexpr int kBlock3Bytes = 112;
constexpr int kBlock4Bytes = 64;
constexpr int kBlock5Bytes = 50;
constexpr int kFeatureCount = 128;

// The bytes of a memory block; 0 for an area the configuration sizes.
int FixedSize(Area area);

std::string_view AreaName(Area area);
std::optional<Area> AreaByName(std::string_view name);

class RegisterConfig {
 public:
  RegisterConfig();

  std::string name;  // where the configuration came from (a built-in name or "custom")

  // Data bytes of an area, answer letter excluded (data()[0] is offset 1).
  const std::vector<std::uint8_t>& Data(Area area) const { return areas_[static_cast<int>(area)]; }
  std::size_t Size(Area area) const { return Data(area).size(); }
  // Memory blocks keep their fixed size; every other area may be shortened or grown.
  bool Resize(Area area, std::size_t bytes);

  // Little-endian numbers of 1 to 3 bytes at an answer offset; reading past the
  // data gives 0, writing past it grows the area (memory blocks: refused).
  std::uint32_t Number(Area area, int offset, int width) const;
  bool SetNumber(Area area, int offset, int width, std::uint32_t value);
  std::uint8_t Byte(Area area, int offset) const {
    return static_cast<std::uint8_t>(Number(area, offset, 1));
  }
  std::uint16_t Word(Area area, int offset) const {
    return static_cast<std::uint16_t>(Number(area, offset, 2));
  }
  bool SetBytes(Area area, int offset, const std::vector<std::uint8_t>& bytes);
  // A text of exactly `width` characters: longer texts are cut, shorter ones padded with blanks.
  bool SetText(Area area, int offset, int width, std::string_view text);
  std::string Text(Area area, int offset, int width) const;

  // The register's function levels (two bits each): entries 0-95 in block 3
  // bytes 89-112 and 96-127 in block 4 bytes 1-8, four per byte, highest bits
  // first. Setting an entry of 96 or above also sets bit 0 of block 3 byte 85,
  // which tells the host that block 4 carries them; without that bit entries
  // 96-127 read 0.
  int FeatureLevel(int index) const;
  bool SetFeatureLevel(int index, int level);

  // Where the blocks lie in the register's 16-bit memory, as the blocks themselves say.
  std::uint16_t Block1Address() const { return Word(Area::Identity, 67); }
  std::uint16_t Block2Address() const { return Word(Area::Block1, 31); }
  std::uint16_t Block3Address() const { return Word(Area::Block1, 49); }
  std::uint16_t Block4Address() const { return static_cast<std::uint16_t>(Block3Address() + kBlock3Bytes); }
  std::uint16_t Block5Address() const { return Word(Area::Block3, 59); }
  std::uint16_t RecordTableAddress() const { return Word(Area::Block3, 23); }

 private:
  std::array<std::vector<std::uint8_t>, kAreaCount> areas_;
};

// The configurations that come with the simulator: "t72", "s12", "c02" are
// supported models; "m4" has a model letter the host does not support. The
// program serves the default one, a complete register, when given no file.
inline constexpr std::string_view kDefaultConfigName = "t72";
std::vector<std::string> BuiltInConfigNames();
std::optional<RegisterConfig> BuiltInConfig(std::string_view name);

}  // namespace ecrsim
