// The register's totals, one record of what its closed receipts add up to:
// the day's counts and amount the reports print, and the same sales laid into
// its memory where its configuration puts the tables (each department's
// quantity and amount in its totals area, each VAT rate's gross amount in its
// VAT record, the day's lines and amount in record 1 of file 20, and the
// grand total and closure number in the general-totals block). The daily
// closure clears all but the grand total.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>

#include "config/register_config.h"

namespace ecrsim {

// The day's closed receipts, as the reports print them.
struct DayTotals {
  int receipts = 0;
  int cancelled = 0;
  std::int64_t total = 0;  // hundredths
};

// A sale line of a receipt: `quantity` in thousandths and `amount` in
// hundredths, both negative for a refund or a void.
struct SaleLine {
  int department = 0;  // 0: an article sale
  int vatIndex = 0;
  std::int64_t quantity = 0;
  std::int64_t amount = 0;
};

class SalesTotals {
 public:
  // A paid receipt whose lines, with its discounts and surcharges, came to `total`.
  void PostReceipt(std::span<const SaleLine> lines, std::int64_t total);
  void PostCancelled() { ++day_.cancelled; }
  // The daily closure: a new day, the grand total kept.
  void CloseDay();
  const DayTotals& Day() const { return day_; }
  // Brings VAT record `index`'s net and tax up to date with its gross at
  // `rate` (hundredths of a percent), the net rounded to the nearest unit.
  void SplitVat(int index, std::int64_t rate);

  // Writes the totals over `bytes`, the memory read from `address`, with
  // `closures` the number of the last closure made.
  void Overlay(const RegisterConfig& config, int closures, std::uint32_t address,
               std::span<std::uint8_t> bytes) const;

 private:
  void Post(const SaleLine& line);

  struct Department {
    std::int64_t quantity = 0;
    std::int64_t amount = 0;
  };
  DayTotals day_;
  std::map<int, Department> departments_;
  std::map<int, std::int64_t> vatGross_;
  struct NetAndTax {
    std::int64_t net = 0;
    std::int64_t tax = 0;
  };
  std::map<int, NetAndTax> vatSplit_;
  std::int64_t lines_ = 0;
  std::int64_t grandTotal_ = 0;
};

// Where entry `entry` of totals block `block` (both from 1) of file 24 lies,
// as the registers that read the blocks by record find it; none outside them.
std::optional<std::uint32_t> BlockEntryAddress(const RegisterConfig& config, int block, int entry);

// Where department `number`'s VAT index lies (the byte after its group field).
std::uint32_t DepartmentVatAddress(const RegisterConfig& config, int number);

}  // namespace ecrsim
