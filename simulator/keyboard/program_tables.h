// The tables the programming function keys in: a table chosen with its
// number and key 147 (table 251 by its number alone), a record with its
// number, then one field per key 145, a text field taking the text keyed
// before it. Key 146 ends the record and the table; a second 146 in the same
// key record only confirms that end. The fields are kept per table and
// record as keyed; the header lines, the VAT rates, the options and the
// records of tables 1, 2, 8 (currencies), 14 (groups) and 15 also land in
// memory where the host reads them back, and the records of table 21 and of
// table 15's extension behind 'U' 0 0x20.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "config/register_config.h"
#include "config/table_images.h"

namespace ecrsim {

class ProgramTables {
 public:
  explicit ProgramTables(const RegisterConfig& config) : config_(config) {}

  // One key of the open function: 145, 146 or 147, with the entry keyed
  // before it (digits, "" for none) and the text keyed before it. Returns
  // false for a key out of sequence. `leave` is set when 146 ends the
  // function itself.
  bool Key(std::uint8_t key, const std::string& entry, const std::optional<std::string>& text, bool& leave);
  // A new key record begins.
  void StartRecord() { endedInRecord_ = false; }
  // Leaves every table (the function closed or the key position changed).
  void Reset();

  // The fields of a record as keyed (register characters; digits as keyed).
  const std::vector<std::string>* Fields(int table, int record) const;
  // The answer bytes after 'U' 0 of a 'U' 0 0x20 `selector` `number` read:
  // the record of table 15's extension (selector 4, the records after the
  // ones in memory) or of table 21 (selector 2). None for another selector
  // or a number out of range.
  std::optional<std::vector<std::uint8_t>> ExtensionRecord(int selector, int number) const;
  // Lays the bytes the tables placed in memory over `bytes`, read from `address`.
  void Overlay(std::uint32_t address, std::span<std::uint8_t> bytes) const;

 private:
  enum class Step { Function, TableNumber, Table, Fields };

  bool Confirm(const std::string& entry, const std::optional<std::string>& text);
  void EndRecord();
  void PlaceHeaderLines(const std::vector<std::string>& fields);
  void PlaceVatRates(const std::vector<std::string>& fields);
  // `width` bytes of `text` at `address`, padded with blanks; nothing for an empty text.
  void PlaceText(int address, int width, const std::string& text);
  // Where byte `offset` of the record being ended goes.
  std::uint8_t& RecordByte(const TableImage& image, int offset);

  const RegisterConfig& config_;
  Step step_ = Step::Function;
  int table_ = 0;
  int record_ = 0;
  std::size_t field_ = 0;
  std::string tableEntry_;
  std::string fieldEntry_;  // digits a field keyed before its 147
  bool endedInRecord_ = false;
  std::map<std::pair<int, int>, std::vector<std::string>> records_;
  std::map<std::uint32_t, std::uint8_t> memory_;
  // Records behind 'U' 0 0x20, by table and number behind that frame.
  std::map<std::pair<int, int>, std::vector<std::uint8_t>> infoRecords_;
};

}  // namespace ecrsim
