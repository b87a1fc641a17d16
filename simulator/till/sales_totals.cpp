#include "till/sales_totals.h"

#include <string>
#include <string_view>

#include "config/bcd_digits.h"
#include "config/config_places.h"

namespace ecrsim {
namespace {

// Configuration places (answer numbering): the file table in block 1, the lengths in block 4.
constexpr int kFile24Word = 13;
constexpr int kFile20Word = 17;
constexpr int kGeneralBlockWord = 33;
constexpr int kCounterBytes = 36;
constexpr int kBlockCount = 61;  // file 24's blocks, where they are read by record
constexpr int kVatGrossOffset = 3;
constexpr int kClosureOffset = 6;  // general-totals block: the last closure's number, 2 BCD bytes
constexpr int kDepartmentOption11 = 85;
constexpr std::int64_t kWholeRate = 10000;  // 100 % in hundredths of a percent

int Block4(const RegisterConfig& c, int offset) {
  return c.Byte(Area::Block4, offset);
}

std::uint32_t DepartmentAddress(const RegisterConfig& c, int number) {
  return c.Word(Area::Block1, kDepartmentWord) +
         static_cast<std::uint32_t>(number - 1) * c.Word(Area::Block1, kDepartmentWord + 2);
}

int TotalsAreaOffset(const RegisterConfig& c) {
  const bool later = ModelLetter(c) == '7' || ModelLetter(c) == 'F';
  return Block4(c, kDescriptionBytesByte) + GroupFieldBytes(c) + Block4(c, kPriceBytesByte) + 2 +
         (later ? 5 : 0);
}

// The grand total's place in the general-totals block, by model.
int GrandTotalOffset(const RegisterConfig& c) {
  if (std::string_view("6ADH").find(ModelLetter(c)) == std::string_view::npos) return 12;
  return c.FeatureLevel(kDepartmentOption11) != 0 ? 46 : 44;
}

// `value` as `width` BCD bytes at `at`, over the part of them that was read.
void Lay(std::uint32_t at, std::int64_t value, int width, std::uint32_t address,
         std::span<std::uint8_t> bytes) {
  const auto packed = PackBcd(std::to_string(value), width);
  if (!packed) return;
  for (std::size_t i = 0; i < packed->size(); ++i) {
    const std::uint32_t place = at + static_cast<std::uint32_t>(i);
    if (place >= address && place - address < bytes.size()) bytes[place - address] = (*packed)[i];
  }
}

}  // namespace

std::uint32_t DepartmentVatAddress(const RegisterConfig& config, int number) {
  return DepartmentAddress(config, number) +
         static_cast<std::uint32_t>(Block4(config, kDescriptionBytesByte) + 1 +
                                    GroupFieldBytes(config));
}

std::optional<std::uint32_t> BlockEntryAddress(const RegisterConfig& config, int block, int entry) {
  const int entryBytes = Block4(config, kCounterBytes) + Block4(config, kAmountBytesByte);
  const int blockBytes = config.Word(Area::Block1, kFile24Word + 2);
  if (entryBytes == 0 || block < 1 || block > Block4(config, kBlockCount) || entry < 1 ||
      entry > blockBytes / entryBytes)
    return std::nullopt;
  return config.Word(Area::Block1, kFile24Word) + static_cast<std::uint32_t>((block - 1) * blockBytes) +
         static_cast<std::uint32_t>((entry - 1) * entryBytes);
}

// Discounts and surcharges are spread over the lines by their amounts (the
// rest on the last line) so every table adds up to what the receipt took.
void SalesTotals::PostReceipt(std::span<const SaleLine> lines, std::int64_t total) {
  std::int64_t sold = 0;
  for (const SaleLine& line : lines) sold += line.amount;
  std::int64_t spread = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SaleLine share = lines[i];
    if (sold != 0 && sold != total)
      share.amount = i + 1 == lines.size() ? total - spread : share.amount * total / sold;
    spread += share.amount;
    Post(share);
  }
  if (spread != total) Post({0, 0, 0, total - spread});  // adjustments of a receipt without lines
  ++day_.receipts;
  day_.total += total;
  grandTotal_ += total;
}

void SalesTotals::Post(const SaleLine& line) {
  if (line.department != 0) {
    departments_[line.department].quantity += line.quantity;
    departments_[line.department].amount += line.amount;
  }
  vatGross_[line.vatIndex] += line.amount;
  if (line.quantity != 0) lines_ += line.quantity < 0 ? -1 : 1;
}

void SalesTotals::CloseDay() {
  const std::int64_t grandTotal = grandTotal_;
  *this = SalesTotals{};
  grandTotal_ = grandTotal;
}

void SalesTotals::SplitVat(int index, std::int64_t rate) {
  const auto gross = vatGross_.find(index);
  if (gross == vatGross_.end()) return;
  const std::int64_t scaled = gross->second * kWholeRate * 2 / (kWholeRate + rate);
  const std::int64_t net = (scaled + (scaled < 0 ? -1 : 1)) / 2;
  vatSplit_[index] = {net, gross->second - net};
}

// Totals area: the quantity, then two amounts (the day's at 2n).
void SalesTotals::Overlay(const RegisterConfig& config, int closures, std::uint32_t address,
                          std::span<std::uint8_t> bytes) const {
  const int n = Block4(config, kAmountBytesByte);
  for (const auto& [number, totals] : departments_) {
    const std::uint32_t area =
        DepartmentAddress(config, number) + static_cast<std::uint32_t>(TotalsAreaOffset(config));
    Lay(area, totals.quantity, n, address, bytes);
    Lay(area + static_cast<std::uint32_t>(2 * n), totals.amount, n, address, bytes);
  }
  const std::uint32_t vatBase = config.Word(Area::Block1, kVatWord);
  const std::uint32_t vatBytes = config.Word(Area::Block1, kVatWord + 2);
  auto vatAmount = [&](int index, int at) {
    return vatBase + static_cast<std::uint32_t>(index) * vatBytes + static_cast<std::uint32_t>(at);
  };
  for (const auto& [index, gross] : vatGross_)
    Lay(vatAmount(index, kVatGrossOffset), gross, n, address, bytes);
  for (const auto& [index, split] : vatSplit_) {
    Lay(vatAmount(index, kVatGrossOffset + n), split.net, n, address, bytes);
    Lay(vatAmount(index, kVatGrossOffset + 2 * n), split.tax, n, address, bytes);
  }
  if (const std::uint32_t general = config.Word(Area::Block1, kGeneralBlockWord);
      general != 0 && (closures != 0 || grandTotal_ != 0)) {
    Lay(general + kClosureOffset, closures, 2, address, bytes);
    Lay(general + static_cast<std::uint32_t>(GrandTotalOffset(config)), grandTotal_, n, address, bytes);
  }
  if (day_.receipts == 0) return;
  const int c = Block4(config, kCounterBytes);
  const std::uint32_t file20 = config.Word(Area::Block1, kFile20Word);
  Lay(file20, lines_, c, address, bytes);
  Lay(file20 + static_cast<std::uint32_t>(c), day_.total, n, address, bytes);
}

}  // namespace ecrsim
