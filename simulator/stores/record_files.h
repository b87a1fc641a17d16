// The register's article file (keyed by the article code) and O-file (keyed
// by a record number), and the 'U' frames that insert, read, write and
// delete their records, with the geometry the 'U' 0 1 answer reports.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "config/register_config.h"

namespace ecrsim {

struct Reply;

using RecordBytes = std::vector<std::uint8_t>;

// Widths in bytes, from the file information and block 4.
struct RecordGeometry {
  int codeBytes = 0;
  int descriptionBytes = 0;
  int priceBytes = 0;
  int fourthBytes = 0;      // the fourth value, when the record has it
  int extraGroupBytes = 0;  // the trailing group a read answer carries
  int amountBytes = 0;      // the O-file record's amounts

  static RecordGeometry Of(const RegisterConfig& config);
  int ArticleBodyBytes() const { return descriptionBytes + 6 + 3 * priceBytes + fourthBytes; }
  // The O-file body of `kind`; 0 for a kind out of range.
  int OFileBodyBytes(int kind) const;
};

// Answer codes of the record frames (answer byte 1).
constexpr std::uint8_t kRecordAccepted = 0;
constexpr std::uint8_t kRecordExists = 3;
constexpr std::uint8_t kRecordNotFound = 6;

class RecordFiles {
 public:
  // Whether `frame` is one of the record frames.
  static bool Handles(std::span<const std::uint8_t> frame);

  // The answer to a record frame; `combinedWrite` when the register takes sub-code 27.
  Reply Answer(std::span<const std::uint8_t> frame, const RecordGeometry& geometry, bool combinedWrite);

  // Stored bodies (after the code, after the record number).
  std::map<RecordBytes, RecordBytes> articles;
  std::map<std::uint16_t, RecordBytes> oFile;

 private:
  Reply ArticleFrame(std::uint8_t subCode, std::span<const std::uint8_t> key,
                     std::span<const std::uint8_t> rest, const RecordGeometry& geometry);
  Reply CombinedWrite(bool fieldList, std::span<const std::uint8_t> key, std::span<const std::uint8_t> rest,
                      const RecordGeometry& geometry);
  Reply OFileFrame(std::uint8_t subCode, std::span<const std::uint8_t> rest, const RecordGeometry& geometry);
};

}  // namespace ecrsim
