// The running totals the register's sales keep, laid into its memory where
// its configuration puts the tables: each department's quantity and amount
// in its totals area, each VAT rate's gross amount in its VAT record, and
// the day's sales (lines and amount) in record 1 of file 20.
#pragma once

#include <cstdint>
#include <map>
#include <span>

#include "register_config.h"

namespace ecrsim {

class SalesTotals {
 public:
  // A sale line: `quantity` in thousandths and `amount` in the smallest
  // unit, both negative for a refund or a void.
  void Post(int department, int vatIndex, std::int64_t quantity, std::int64_t amount);
  // Writes the totals over `bytes`, the memory read from `address`.
  void Overlay(const RegisterConfig& config, std::uint32_t address, std::span<std::uint8_t> bytes) const;

 private:
  struct Department {
    std::int64_t quantity = 0;
    std::int64_t amount = 0;
  };
  std::map<int, Department> departments_;
  std::map<int, std::int64_t> vatGross_;
  std::int64_t lines_ = 0;
  std::int64_t sales_ = 0;
};

// Where department `number`'s VAT index lies (the byte after its group field).
std::uint32_t DepartmentVatAddress(const RegisterConfig& config, int number);

}  // namespace ecrsim
