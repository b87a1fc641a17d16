// Where the fields of a programming-table record lie in the register's
// memory, by table: the order in which the programming keys confirm them,
// and for each field its place and coding in the record's bytes. The host's
// table dumps read these bytes back.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/register_config.h"

namespace ecrsim {

enum class Cell {
  Text,          // register characters, padded with blanks
  Bcd,           // a whole number in BCD
  Amount,        // BCD in the register's smallest unit
  Rate,          // BCD with two decimals
  ExchangeRate,  // BCD with three decimals
  Byte,          // the number as one byte
  PlusOne,       // the number less one, as one byte
  Flag,          // "2" sets the bit, anything else clears it
  HighNibble,    // one digit in the high half of the byte
  CompactLimit,  // an amount as digit (high half) and its position (low half)
};

struct FieldCell {
  int field;
  Cell cell;
  int offset;
  int width = 1;  // bytes; the bit number for a Flag
};

struct TableImage {
  std::vector<int> keyed;  // field numbers in the order their keys confirm them
  std::vector<FieldCell> cells;
  int base = 0;             // address of record 1 (0: kept behind the information frame)
  int recordBytes = 0;
};

// Tables 1, 2, 8 (currencies), 14 (groups), 15 and 21; none for the others.
std::optional<TableImage> ImageOf(const RegisterConfig& config, int table);

// An amount keyed as "12.5" in the register's smallest unit, as `width` BCD bytes.
std::optional<std::vector<std::uint8_t>> KeyedAmount(const RegisterConfig& config, const std::string& keyed,
                                                     int width);

// Writes the keyed `fields` (in keyed order; an empty one leaves its bytes)
// through `byteAt`, which gives the record's byte at an offset.
void EncodeRecord(const RegisterConfig& config, const TableImage& image, const std::vector<std::string>& fields,
                  const std::function<std::uint8_t&(int offset)>& byteAt);

// Where record `number` (from 1) of table 2 lies, as the registers that read
// that table by record number find it; none outside the table.
std::optional<std::uint32_t> Table2RecordAddress(const RegisterConfig& config, int number);

// Table 3 (VAT rates), keyed as one field per rate: where the rate keyed as
// field `slot` (from 1) lies, and its two bytes.
int VatRateAddress(const RegisterConfig& config, int slot);
std::optional<std::vector<std::uint8_t>> VatRateBytes(const std::string& keyed);

}  // namespace ecrsim
