#include "sales_totals.h"

#include <string>

#include "bcd_digits.h"

namespace ecrsim {
namespace {

// Configuration places (answer numbering): the file table in block 1, the lengths in block 4.
constexpr int kDepartmentWord = 1;
constexpr int kVatWord = 9;
constexpr int kFile20Word = 17;
constexpr int kAmountBytes = 35;
constexpr int kCounterBytes = 36;
constexpr int kDescriptionBytes = 38;
constexpr int kPriceBytes = 40;
constexpr int kGroupBytes = 57;
constexpr int kModelCodeOffset = 69;
constexpr int kVatGrossOffset = 3;

int Block4(const RegisterConfig& c, int offset) { return c.Byte(Area::Block4, offset); }

std::uint32_t DepartmentAddress(const RegisterConfig& c, int number) {
  return c.Word(Area::Block1, kDepartmentWord) + static_cast<std::uint32_t>(number - 1) * c.Word(Area::Block1, kDepartmentWord + 2);
}

int TotalsAreaOffset(const RegisterConfig& c) {
  const char model = static_cast<char>(c.Byte(Area::Identity, kModelCodeOffset));
  const bool later = model == '7' || model == 'F';
  return Block4(c, kDescriptionBytes) + Block4(c, kGroupBytes) + Block4(c, kPriceBytes) + 2 + (later ? 5 : 0);
}

// `value` as `width` BCD bytes at `at`, over the part of them that was read.
void Lay(std::uint32_t at, std::int64_t value, int width, std::uint32_t address, std::span<std::uint8_t> bytes) {
  const auto packed = PackBcd(std::to_string(value), width);
  if (!packed) return;
  for (std::size_t i = 0; i < packed->size(); ++i) {
    const std::uint32_t place = at + static_cast<std::uint32_t>(i);
    if (place >= address && place - address < bytes.size()) bytes[place - address] = (*packed)[i];
  }
}

}  // namespace

std::uint32_t DepartmentVatAddress(const RegisterConfig& config, int number) {
  return DepartmentAddress(config, number) + static_cast<std::uint32_t>(Block4(config, kDescriptionBytes) + 1 + Block4(config, kGroupBytes));
}

void SalesTotals::Post(int department, int vatIndex, std::int64_t quantity, std::int64_t amount) {
  if (department != 0) {
    departments_[department].quantity += quantity;
    departments_[department].amount += amount;
  }
  vatGross_[vatIndex] += amount;
  lines_ += quantity < 0 ? -1 : 1;
  sales_ += amount;
}

// Totals area: the quantity, then two amounts (the day's at 2n).
void SalesTotals::Overlay(const RegisterConfig& config, std::uint32_t address, std::span<std::uint8_t> bytes) const {
  const int n = Block4(config, kAmountBytes);
  for (const auto& [number, totals] : departments_) {
    const std::uint32_t area = DepartmentAddress(config, number) + static_cast<std::uint32_t>(TotalsAreaOffset(config));
    Lay(area, totals.quantity, n, address, bytes);
    Lay(area + static_cast<std::uint32_t>(2 * n), totals.amount, n, address, bytes);
  }
  const std::uint32_t vatBase = config.Word(Area::Block1, kVatWord);
  const std::uint32_t vatBytes = config.Word(Area::Block1, kVatWord + 2);
  for (const auto& [index, gross] : vatGross_)
    Lay(vatBase + static_cast<std::uint32_t>(index) * vatBytes + kVatGrossOffset, gross, n, address, bytes);
  if (lines_ == 0) return;
  const int c = Block4(config, kCounterBytes);
  const std::uint32_t file20 = config.Word(Area::Block1, kFile20Word);
  Lay(file20, lines_, c, address, bytes);
  Lay(file20 + static_cast<std::uint32_t>(c), sales_, n, address, bytes);
}

}  // namespace ecrsim
