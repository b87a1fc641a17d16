#include "config/table_images.h"

#include <algorithm>

#include "config/bcd_digits.h"
#include "config/config_places.h"

namespace ecrsim {
namespace {

constexpr int kTable2CountWord = 49;
constexpr int kTable2TextBytes = 39;
constexpr int kGroupA = 7;  // model M's two extra groups of rates
constexpr int kTable15TextOffset = 3;
constexpr int kTable15TailBytes = 2;
constexpr int kTable21TextWord = 78;
constexpr int kTable21NoteBytes = 16;
constexpr int kNameBytes = 10;        // currency and group names
constexpr int kCurrencyFeature = 18;  // the extended currency table

// File table entries (block 1 words): base and record size of each table.
constexpr int kTable2Word = 5;
constexpr int kTable15Word = 39;
// Area table entries (block 1 words): the currencies' base, the groups' base
// and record size.
constexpr int kCurrencyWord = 27;
constexpr int kGroupWord = 35;

bool Has(const RegisterConfig& c, int level) {
  return c.FeatureLevel(level) != 0;
}

TableImage Departments(const RegisterConfig& c) {
  TableImage t{{}, {}, c.Word(Area::Block1, kDepartmentWord), c.Word(Area::Block1, kDepartmentWord + 2)};
  const int d = c.Byte(Area::Block4, kDescriptionBytesByte);
  const int g = GroupFieldBytes(c);
  const char model = ModelLetter(c);
  const bool sevenOrF = model == '7' || model == 'F';
  const bool longModel2 = model == '2' && c.Byte(Area::Identity, kModelLetterByte + 5) >= '4';
  int cursor = d + 2 + g;
  if (model == '6' && Has(c, 105)) {
    t.keyed = {14, 15, 5, 2};
    t.cells = {{2, Cell::Text, 0, d},
               {5, Cell::Byte, d + 1 + g},
               {14, Cell::Bcd, cursor, 2},
               {15, Cell::Bcd, cursor + 2, 4}};
    return t;
  }
  t.keyed = {2, 6, 3, 5};
  t.cells = {{2, Cell::Text, 0, d},
             {3, Has(c, 110) ? Cell::CompactLimit : Cell::Bcd, d},
             {4, Cell::Flag, d + 1, 0},
             {5, Cell::Byte, d + 1 + g}};
  if (model == 'M') {
    t.keyed.insert(t.keyed.end(), {12, 13});
    t.cells.push_back({12, Cell::Byte, cursor});
    t.cells.push_back({13, Cell::Byte, cursor + 1});
    cursor += 2;
  }
  t.keyed.push_back(4);
  const std::pair<int, int> flags[] = {{59, 8}, {81, 16}, {111, 17}};
  for (int bit = 1; const auto& [level, field] : flags) {
    if (Has(c, level)) {
      t.keyed.push_back(field);
      t.cells.push_back({field, Cell::Flag, d + 1, bit});
    }
    ++bit;
  }
  if (Has(c, 41)) {
    t.keyed.push_back(7);
    t.cells.push_back(g < 3 ? FieldCell{7, Cell::HighNibble, d + 1} : FieldCell{7, Cell::Byte, d + 3});
  }
  if (longModel2) t.cells.push_back({10, Cell::PlusOne, cursor++});
  t.cells.push_back({6, Cell::Amount, cursor, c.Byte(Area::Block4, kPriceBytesByte)});
  cursor += c.Byte(Area::Block4, kPriceBytesByte);
  if (sevenOrF) {
    t.keyed.insert(t.keyed.end(), {10, 9});
    t.cells.push_back({9, Cell::Bcd, cursor, 4});
    t.cells.push_back({10, Cell::Bcd, cursor + 4, 1});
  }
  if (longModel2) t.keyed.push_back(10);
  if (Has(c, 85)) {
    t.keyed.push_back(11);
    t.cells.push_back({11, Cell::Bcd, d + 2});
  }
  if (Has(c, 113)) {
    t.keyed.push_back(18);
    t.cells.push_back({18, Cell::Flag, d + 1, 4});
  }
  return t;
}

TableImage Table2(const RegisterConfig& c) {
  TableImage t{{2, 4, 3}, {}, c.Word(Area::Block1, kTable2Word), c.Word(Area::Block1, kTable2Word + 2)};
  const int priceBytes = c.Byte(Area::Block4, kPriceBytesByte);
  int cursor = 3 + priceBytes;
  t.cells = {{3, Cell::Bcd, 2}, {4, Cell::Amount, 3, priceBytes}};
  if (Has(c, 31)) {
    t.keyed.push_back(5);
    t.cells.push_back({5, Cell::Flag, 0, 2});
  }
  if (ModelLetter(c) == '7' || ModelLetter(c) == 'F') {
    t.keyed.insert(t.keyed.end(), {8, 7});
    t.cells.push_back({7, Cell::Bcd, cursor, 4});
    t.cells.push_back({8, Cell::Bcd, cursor + 4, 1});
    cursor += 5;
  }
  if (Has(c, 90)) {
    t.keyed.push_back(9);
    t.cells.push_back({9, Cell::Bcd, cursor, 7});
    cursor += 7;
  }
  t.cells.push_back({2, Cell::Text, cursor, c.Byte(Area::Block4, kTable2TextBytes)});
  return t;
}

// Number, text, fourth, amount, sixth and, where the register has it, the eleventh.
TableImage Table15(const RegisterConfig& c) {
  TableImage t{
      {2, 3, 4, 5, 6, 11}, {}, c.Word(Area::Block1, kTable15Word), c.Word(Area::Block1, kTable15Word + 2)};
  const int amountBytes = c.Byte(Area::Block4, kAmountBytesByte);
  const int textBytes = std::max(0, t.recordBytes - kTable15TextOffset - amountBytes - kTable15TailBytes);
  const int amountAt = kTable15TextOffset + textBytes;
  t.cells = {{2, Cell::Bcd, 0},
             {6, Cell::Byte, 1},
             {4, Cell::Byte, 2},
             {3, Cell::Text, kTable15TextOffset, textBytes},
             {5, Cell::Amount, amountAt, amountBytes},
             {11, Cell::Bcd, amountAt + amountBytes, kTable15TailBytes}};
  return t;
}

// Name, exchange rate (six bytes on model K) and, with the extended table, a
// number of three bytes and one of one byte.
TableImage Currencies(const RegisterConfig& c) {
  const int rateBytes = ModelLetter(c) == 'K' ? 6 : 4;
  const bool extended = Has(c, kCurrencyFeature);
  TableImage t{{4, 3, 5, 2},
               {{2, Cell::Text, 0, kNameBytes}, {3, Cell::ExchangeRate, kNameBytes, rateBytes}},
               c.Word(Area::Block1, kCurrencyWord),
               kNameBytes + rateBytes + (extended ? 4 : 0)};
  if (extended) {
    t.cells.push_back({4, Cell::Bcd, kNameBytes + rateBytes, 3});
    t.cells.push_back({5, Cell::Bcd, kNameBytes + rateBytes + 3, 1});
  }
  return t;
}

// A name; records of ten bytes unless the area table gives their size.
TableImage Groups(const RegisterConfig& c) {
  const int recordBytes = c.Word(Area::Block1, kGroupWord + 2);
  return {{2},
          {{2, Cell::Text, 0, kNameBytes}},
          c.Word(Area::Block1, kGroupWord),
          recordBytes != 0 ? recordBytes : kNameBytes};
}

TableImage Table21(const RegisterConfig& c) {
  const int text = c.Word(Area::Ext31, kTable21TextWord);
  const int rateAt = 2 + 3 * text + kTable21NoteBytes;
  return {{2, 3, 4, 5, 6, 7, 8, 9, 10},
          {{2, Cell::Bcd, 0},
           {3, Cell::Byte, 1},
           {4, Cell::Text, 2, text},
           {5, Cell::Text, 2 + text, text},
           {6, Cell::Text, 2 + 2 * text, text},
           {7, Cell::Text, 2 + 3 * text, kTable21NoteBytes},
           {8, Cell::Rate, rateAt, 2},
           {9, Cell::Byte, rateAt + 2},
           {10, Cell::Rate, rateAt + 3, 2}},
          0,
          rateAt + 5};
}

// "12.5" with `decimals` places as the digits of the smallest unit; nullopt for other text.
std::optional<std::string> Scaled(const std::string& keyed, int decimals) {
  const std::size_t point = keyed.find('.');
  std::string whole = keyed.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : keyed.substr(point + 1);
  if (static_cast<int>(fraction.size()) > decimals) return std::nullopt;
  fraction.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
  std::string digits = whole + fraction;
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    return std::nullopt;
  return digits;
}

std::optional<int> Whole(const std::string& keyed) {
  const auto digits = Scaled(keyed, 0);
  if (!digits || digits->size() > 9) return std::nullopt;
  return std::stoi(*digits);
}

void Encode(const RegisterConfig& config, const FieldCell& cell, const std::string& keyed,
            const std::function<std::uint8_t&(int)>& at) {
  auto put = [&](const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (bytes)
      for (std::size_t i = 0; i < bytes->size(); ++i) at(cell.offset + static_cast<int>(i)) = (*bytes)[i];
  };
  const auto number = Whole(keyed);
  switch (cell.cell) {
    case Cell::Text:
      for (int i = 0; i < cell.width; ++i)
        at(cell.offset + i) = static_cast<std::uint8_t>(
            i < static_cast<int>(keyed.size()) ? keyed[static_cast<std::size_t>(i)] : ' ');
      return;
    case Cell::Bcd:
      if (const auto digits = Scaled(keyed, 0)) put(PackBcd(*digits, cell.width));
      return;
    case Cell::Amount:
      put(KeyedAmount(config, keyed, cell.width));
      return;
    case Cell::Rate:
    case Cell::ExchangeRate:
      if (const auto digits = Scaled(keyed, cell.cell == Cell::Rate ? 2 : 3))
        put(PackBcd(*digits, cell.width));
      return;
    case Cell::CompactLimit:
      if (const auto digits = Scaled(keyed, config.Byte(Area::Identity, kDecimalsByte));
          digits && digits->size() <= 15)
        at(cell.offset) =
            static_cast<std::uint8_t>(((*digits)[0] - '0') << 4 | static_cast<int>(digits->size()));
      return;
    default:
      break;
  }
  if (!number) return;
  std::uint8_t& byte = at(cell.offset);
  switch (cell.cell) {
    case Cell::Byte:
      byte = static_cast<std::uint8_t>(*number);
      break;
    case Cell::PlusOne:
      byte = static_cast<std::uint8_t>(*number - 1);
      break;
    case Cell::Flag:
      byte = static_cast<std::uint8_t>(*number == 2 ? byte | 1 << cell.width : byte & ~(1 << cell.width));
      break;
    case Cell::HighNibble:
      byte = static_cast<std::uint8_t>((byte & 0x0F) | (*number & 0x0F) << 4);
      break;
    default:
      break;
  }
}

}  // namespace

std::optional<TableImage> ImageOf(const RegisterConfig& config, int table) {
  switch (table) {
    case 1:
      return Departments(config);
    case 2:
      return Table2(config);
    case 8:
      return Currencies(config);
    case 14:
      return Groups(config);
    case 15:
      return Table15(config);
    case 21:
      return Table21(config);
    default:
      return std::nullopt;
  }
}

void EncodeRecord(const RegisterConfig& config, const TableImage& image,
                  const std::vector<std::string>& fields,
                  const std::function<std::uint8_t&(int offset)>& byteAt) {
  for (std::size_t i = 0; i < fields.size() && i < image.keyed.size(); ++i) {
    if (fields[i].empty()) continue;
    for (const FieldCell& cell : image.cells)
      if (cell.field == image.keyed[i]) Encode(config, cell, fields[i], byteAt);
  }
}

std::optional<std::uint32_t> Table2RecordAddress(const RegisterConfig& config, int number) {
  if (number < 1 || number > config.Word(Area::Identity, kTable2CountWord)) return std::nullopt;
  return config.Word(Area::Block1, kTable2Word) +
         static_cast<std::uint32_t>(number - 1) * config.Word(Area::Block1, kTable2Word + 2);
}

// Rate k lies k records after the table's address; model M keeps a group of
// seven and one of four after them, each behind an unused record.
int VatRateAddress(const RegisterConfig& config, int slot) {
  const int rates = config.Byte(Area::Block4, kVatRatesByte);
  const int position = slot <= rates ? slot : slot <= rates + kGroupA ? slot + 1 : slot + 2;
  return config.Word(Area::Block1, kVatWord) + position * config.Word(Area::Block1, kVatWord + 2);
}

std::optional<std::vector<std::uint8_t>> KeyedAmount(const RegisterConfig& config, const std::string& keyed,
                                                     int width) {
  const auto digits = Scaled(keyed, config.Byte(Area::Identity, kDecimalsByte));
  return digits ? PackBcd(*digits, width) : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> VatRateBytes(const std::string& keyed) {
  const auto digits = Scaled(keyed, 2);
  return digits ? PackBcd(*digits, 2) : std::nullopt;
}

}  // namespace ecrsim
