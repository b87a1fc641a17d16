// The register's enquiries about articles kept in an external file on the PC,
// and its updates of that file: an article code (BCD, or text after a 0xFF
// mark) followed by BCD amounts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quadrel {

// Characters of a decoded code: the host's code buffer holds them and a zero.
constexpr std::size_t kExtCodeTextLength = 20;

// Status of a decoded code.
constexpr int EXT_CODE_BCD = 0;
constexpr int EXT_CODE_TEXT = 1;
constexpr int EXT_CODE_BCD_UNCONFIGURED = -1;  // neither the register's record nor slot 0 is valid
constexpr int EXT_CODE_TEXT_UNCONFIGURED = -2;

struct FileExtEnquiry {
  int status = EXT_CODE_BCD;
  std::string code;  // at most kExtCodeTextLength characters
  double quantity = 1.0;
};

struct FileExtUpdate {
  int status = EXT_CODE_BCD;
  std::string code;  // at most kExtCodeTextLength characters
  double value1 = 0;
  double value2 = 0;
};

// Decodes an enquiry of register `ecr`. A code cut short by the end of the
// data is empty and nothing after it is read; missing amounts keep the
// quantity at 1.0. The quantity is the first amount / 1000, divided by the
// second amount / 1000 when that follows and is not zero.
FileExtEnquiry DecodeFileExtEnquiry(int ecr, std::span<const std::uint8_t> data);

// Decodes an update: value1 from the 4 bytes after the code (/ 1000), value2
// from the BcdBytesB bytes after those (unscaled). Missing values stay 0.
FileExtUpdate DecodeFileExtUpdate(int ecr, std::span<const std::uint8_t> data);

}  // namespace quadrel
