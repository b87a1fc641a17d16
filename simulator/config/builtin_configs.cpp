// The built-in register configurations. Every value a host decodes is set on
// purpose and differs between the models (a seed shifts them), so a host that
// reads a field from the wrong place or the wrong register notices.
#include <initializer_list>
#include <string>
#include <utility>

#include "config/bcd_digits.h"
#include "config/register_config.h"

namespace ecrsim {
namespace {

struct Identity {
  const char* ecrId;      // 10 characters
  const char* firmware;   // 20 characters; characters 0 and 2 are the firmware level
  const char* modelCode;  // 8 characters: letter, two characters, sub letter or digit, version digits
  const char* longId;     // 18 characters (the identifier of 'Z' models)
  std::uint8_t decimals;
  std::uint8_t optionBits;
  std::uint8_t flag48;
};

void LayOutIdentity(RegisterConfig& c, const Identity& id, int seed) {
  c.Resize(Area::Identity, 95);
  c.SetText(Area::Identity, 1, 10, id.ecrId);
  c.SetText(Area::Identity, 11, 20, id.firmware);
  c.SetNumber(Area::Identity, 43, 1, seed % 2 ? 'E' : 'N');
  c.SetNumber(Area::Identity, 47, 1, 0x20 + seed);
  c.SetNumber(Area::Identity, 48, 1, id.flag48);
  c.SetNumber(Area::Identity, 49, 2, 0x1200 + seed);
  c.SetNumber(Area::Identity, 62, 1, id.decimals);
  c.SetNumber(Area::Identity, 63, 1, id.optionBits);
  c.SetNumber(Area::Identity, 67, 2, 0x1000 * seed);  // block 1
  c.SetText(Area::Identity, 69, 8, id.modelCode);
  c.SetText(Area::Identity, 77, 18, id.longId);
}

// Blocks 1-5 and the record table, placed at 0x1000 x seed and after.
void LayOutMemory(RegisterConfig& c, int seed) {
  const std::uint32_t base = 0x1000 * seed;
  for (int i = 0; i < 12; ++i) c.SetNumber(Area::Block1, 1 + 2 * i, 2, 0x8000 + 0x400 * i + seed);
  for (int i = 0; i < 8; ++i) c.SetNumber(Area::Block1, 27 + 2 * i, 2, 0x6000 + 0x100 * i + seed);
  c.SetNumber(Area::Block1, 31, 2, base + 0x100);  // block 2
  c.SetNumber(Area::Block1, 43, 2, 0x4300 + seed);
  c.SetNumber(Area::Block1, 45, 1, 0x45 + seed);
  c.SetNumber(Area::Block1, 46, 1, 0x46 + seed);
  c.SetNumber(Area::Block1, 49, 2, base + 0x200);  // block 3 (block 4 follows)
  c.SetNumber(Area::Block1, 61, 2, 0x6100 + seed);

  for (int i = 1; i <= kBlock2Bytes; ++i) c.SetNumber(Area::Block2, i, 1, (i * 7 + seed) & 0xFF);

  for (auto [offset, value] : {std::pair{1, 0x0101},
                               {5, 0x0505},
                               {7, 0x0707},
                               {19, 0x1919},
                               {61, 0x6161},
                               {71, 0x7171},
                               {73, 0x7373},
                               {81, 0x8181}}) {
    c.SetNumber(Area::Block3, offset, 2, value + seed);
  }
  c.SetNumber(Area::Block3, 23, 2, base + 0x400);  // record table
  c.SetNumber(Area::Block3, 59, 2, base + 0x300);  // block 5

  for (int i = 1; i <= kBlock5Bytes; ++i) c.SetNumber(Area::Block5, i, 1, (0xA0 + i + seed) & 0xFF);
}

struct Widths {
  std::uint8_t printWidth, amountBytes, byte36, recordCount, byte38, byte39, bcdA, bcdB, width42, byte43,
      byte48, graphicMode, byte57, lineParam, width59, width60, width61;
};

void LayOutBlock4(RegisterConfig& c, const Widths& w) {
  for (auto [offset, value] : {std::pair{33, w.printWidth},
                               {35, w.amountBytes},
                               {36, w.byte36},
                               {37, w.recordCount},
                               {38, w.byte38},
                               {39, w.byte39},
                               {40, w.bcdA},
                               {41, w.bcdB},
                               {42, w.width42},
                               {43, w.byte43},
                               {48, w.byte48},
                               {49, w.graphicMode},
                               {57, w.byte57},
                               {58, w.lineParam},
                               {59, w.width59},
                               {60, w.width60},
                               {61, w.width61}}) {
    c.SetNumber(Area::Block4, offset, 1, value);
  }
  const int records = w.recordCount * (w.printWidth ? w.printWidth : 24);
  c.Resize(Area::RecordTable, records);
  for (int i = 1; i <= records; ++i) c.SetNumber(Area::RecordTable, i, 1, 'A' + i % 26);
}

void SetFeatures(RegisterConfig& c, std::initializer_list<std::pair<int, int>> levels) {
  for (auto [index, level] : levels) c.SetFeatureLevel(index, level);
}

// 'C' 3 answer: nine setting bytes (the fourth is the line echo) and, in the long form, a tenth.
void LayOutSettings(RegisterConfig& c, std::uint8_t byte9, std::optional<std::uint8_t> byte10) {
  c.Resize(Area::OutputSettings, byte10 ? 10 : 9);
  for (int i = 1; i <= 8; ++i) c.SetNumber(Area::OutputSettings, i, 1, i == 4 ? 0 : 0x10 + i);
  c.SetNumber(Area::OutputSettings, 9, 1, byte9);
  if (byte10) c.SetNumber(Area::OutputSettings, 10, 1, *byte10);
}

// The 'U' 0 n answers of a register with information frames, every field distinct.
void LayOutFileInformation(RegisterConfig& c, int seed) {
  c.Resize(Area::Info0, 49);
  for (int i = 2; i <= 49; ++i) c.SetNumber(Area::Info0, i, 1, (i * 3 + seed) & 0xFF);

  c.Resize(Area::FileInfo, 85);
  for (int i = 2; i <= 85; ++i) c.SetNumber(Area::FileInfo, i, 1, (i * 5 + seed) & 0xFF);
  for (int offset : {2, 5, 30, 33, 36, 39, 42, 66}) {
    c.SetNumber(Area::FileInfo, offset, 3, 0x010000 * seed + 0x100 * offset + 3);
  }
  for (int offset : {8, 10, 12, 45, 56, 58, 69, 81})
    c.SetNumber(Area::FileInfo, offset, 2, 0x100 * seed + offset);
  c.SetNumber(Area::FileInfo, 15, 1, 0x0D);  // file flags 1, 4, 8 set, 2 clear
  // The article file: 13-character codes (a number as 12 digits), 20-character
  // descriptions, 5-byte prices and a 3-byte fourth value.
  for (auto [offset, width] : {std::pair{16, 13}, {17, 20}, {18, 6}, {22, 5}, {23, 3}})
    c.SetNumber(Area::FileInfo, offset, 1, width);
  c.SetNumber(Area::FileInfo, 24, 1, 0);  // byte 24 absent: the host takes byte 23
  c.SetNumber(Area::FileInfo, 1, 1, 0);      // status: information valid

  c.Resize(Area::Ext31, 79);
  for (int i = 2; i <= 79; ++i) c.SetNumber(Area::Ext31, i, 1, 0);
  for (int offset : {11, 16, 30, 32, 43, 48, 53, 55, 72, 74, 76, 78}) {
    c.SetNumber(Area::Ext31, offset, 2, 0x3100 + offset + seed);
  }
  c.Resize(Area::Info24, 1);
}

void SetBcd(RegisterConfig& c, Area area, int offset, int width, std::string_view number) {
  c.SetBytes(area, offset, PackBcd(number, width).value());
}

// 'U' 0 23: status 0, the flags and counts, six totals of `amountBytes` each
// and, on newer registers, two more totals and a signed count.
void LayOutCounters(RegisterConfig& c, int amountBytes, bool newer, int seed) {
  const int totals = 11 + 6 * amountBytes;
  c.Resize(Area::Counters, static_cast<std::size_t>(totals - 1 + (newer ? 2 * amountBytes + 1 : 0)));
  c.SetNumber(Area::Counters, 1, 1, 0);
  c.SetNumber(Area::Counters, 4, 1, 0x10 | (seed & 1));
  c.SetNumber(Area::Counters, 5, 1, 200 + seed);
  c.SetNumber(Area::Counters, 6, 1, seed);
  c.SetNumber(Area::Counters, 7, 2, 40000 + seed);
  SetBcd(c, Area::Counters, 9, 2, std::to_string(1230 + seed));
  for (int i = 0; i < 6; ++i) {
    const std::string total = (i == 2 ? "-" : "") + std::to_string(100 * (i + 1) + seed);
    SetBcd(c, Area::Counters, 11 + i * amountBytes, amountBytes, total);
  }
  if (!newer) return;
  SetBcd(c, Area::Counters, totals, amountBytes, std::to_string(7000 + seed));
  SetBcd(c, Area::Counters, totals + amountBytes, amountBytes, "-" + std::to_string(80 + seed));
  c.SetNumber(Area::Counters, totals + 2 * amountBytes, 1, 0x100 - seed);  // a negative count
}

// 'C' 4 and 'C' 5 of a card in the reader. `records` is the signed count of
// extra records: above 0 the card carries its second part and the long text;
// `savedAmount` adds the five bytes after it.
void LayOutCard(RegisterConfig& c, int amountBytes, int records, bool savedAmount, int seed) {
  const int p = 26 + amountBytes;
  int size = p + 24;
  if (records > 0) size = savedAmount ? p + 57 : p + 52;
  c.Resize(Area::Card, static_cast<std::size_t>(size));
  for (int i = 2; i <= size; ++i) c.SetNumber(Area::Card, i, 1, (0x30 + i * 3 + seed) & 0xFF);
  c.SetNumber(Area::Card, 1, 1, 0);
  c.SetNumber(Area::Card, 8, 1, 0xF0 + seed);  // a negative byte
  c.SetText(Area::Card, 12, 10, "CARD" + std::to_string(seed));
  c.SetNumber(Area::Card, 22, 2, 3000 + seed);
  SetBcd(c, Area::Card, 26, amountBytes, std::to_string(4500 + seed));
  c.SetNumber(Area::Card, p + 7, 1, 0x80 + seed);
  c.SetText(Area::Card, p + 8, 16, "HOLDER " + std::to_string(seed));
  c.SetNumber(Area::Card, p + 24, 1, static_cast<std::uint8_t>(records));
  if (records > 0) c.SetText(Area::Card, p + 33, 20, "SECOND PART " + std::to_string(seed));
  if (savedAmount) SetBcd(c, Area::Card, p + 53, 5, "-" + std::to_string(990 + seed));

  const int textChars = records > 0 ? 120 : 24;
  c.Resize(Area::CardText, static_cast<std::size_t>(1 + textChars));
  c.SetNumber(Area::CardText, 1, 1, 0);
  c.SetText(Area::CardText, 2, textChars, "CARD TEXT OF MODEL " + std::to_string(seed));
}

// 'C' 20: a digit, three bytes, three signed 32-bit values and three BCD bytes.
void LayOutSettingValues(RegisterConfig& c, int seed) {
  c.Resize(Area::SettingValues, 19);
  c.SetNumber(Area::SettingValues, 1, 1, seed);
  for (int i = 2; i <= 4; ++i) c.SetNumber(Area::SettingValues, i, 1, 10 * i + seed);
  c.SetNumber(Area::SettingValues, 5, 3, 100000 + seed);
  c.SetNumber(Area::SettingValues, 8, 1, 0);
  c.SetNumber(Area::SettingValues, 9, 3, 0xFFFFFF - seed);  // -1 - seed as a 32-bit value
  c.SetNumber(Area::SettingValues, 12, 1, 0xFF);
  c.SetNumber(Area::SettingValues, 13, 3, 0x123456);
  c.SetNumber(Area::SettingValues, 16, 1, seed);
  SetBcd(c, Area::SettingValues, 17, 3, std::to_string(202400 + seed));
}

void LayOutExtendedStatus(RegisterConfig& c, int bytes, int seed) {
  c.Resize(Area::ExtendedStatus, static_cast<std::size_t>(bytes));
  for (int i = 1; i <= bytes; ++i) c.SetNumber(Area::ExtendedStatus, i, 1, (0x0F * i + seed) & 0xFF);
}

// Where a complete register keeps its tables in the 16-bit memory, after the
// blocks and clear of one another, each with room for its totals.
struct TablePlaces {
  std::uint16_t departments, departmentBytes;
  std::uint16_t table2, table2Bytes, table2Count;
  std::uint16_t vat, vatBytes;
  std::uint16_t file24, file24BlockBytes;
  std::uint16_t file20, file20Count, secondFile20;
  std::uint16_t currencies, generalTotals, groups, groupBytes, table15, table15Bytes, hourBands;
};

void LayOutTables(RegisterConfig& c, const TablePlaces& p) {
  for (auto [word, value] : {std::pair{1, p.departments},
                             {3, p.departmentBytes},
                             {5, p.table2},
                             {7, p.table2Bytes},
                             {9, p.vat},
                             {11, p.vatBytes},
                             {13, p.file24},
                             {15, p.file24BlockBytes},
                             {17, p.file20},
                             {19, p.file20Count},
                             {21, p.secondFile20},
                             {27, p.currencies},
                             {33, p.generalTotals},
                             {35, p.groups},
                             {37, p.groupBytes},
                             {39, p.table15},
                             {41, p.table15Bytes}}) {
    c.SetNumber(Area::Block1, word, 2, value);
  }
  c.SetNumber(Area::Identity, 49, 2, p.table2Count);
  c.SetNumber(Area::Block3, 61, 2, p.hourBands);
}

RegisterConfig ModelT72() {
  RegisterConfig c;
  c.name = "t72";
  LayOutIdentity(c, {"TX72000123", "7.2  TELLAR RT 0415 ", "T1RT072A", "LONGID-T72-0000001", 2, 0xC3, 1}, 1);
  LayOutMemory(c, 1);
  LayOutBlock4(c, {40, 6, 3, 5, 12, 14, 5, 6, 9, 7, 1, 1, 0, 0, 4, 0, 11});
  // The default register is complete: its 33 departments, 500 records of
  // table 2, rates 0-7, file 24's 9 blocks of 10 entries, 10 records of file
  // 20 and the totals lie in memory where the host reads them.
  LayOutTables(c, {0x2000, 64, 0x3000, 24, 500, 0x6000, 24, 0x6200, 90, 0x6600, 10, 0x6700, 0x6800, 0x6900,
                   0x6A00, 10, 0x6B00, 32, 0x6C00});
  c.SetNumber(Area::Block3, 89, 1, 0x80);  // bit 7 of the first level byte is not a level
  // Level 72 at 2: the direct journal read, also by closure numbers.
  SetFeatures(c, {{7, 1},
                  {57, 2},
                  {72, 2},
                  {78, 0},
                  {85, 1},
                  {102, 1},
                  {114, 1},
                  {115, 3},
                  {118, 1},
                  {127, 1},
                  {3, 2}});
  c.SetNumber(Area::Block3, 85, 1, 0x81);  // negative as a signed byte; bit 0 set

  // 'O' 17: the identity block names a longer identifier (byte 1 of the block 4).
  c.Resize(Area::IdentityBlock, 36);
  c.SetNumber(Area::IdentityBlock, 2, 1, 4);
  c.SetText(Area::IdentityBlock, 4, 11, "RT-ID-00072");
  c.SetText(Area::IdentityBlock, 15, 22, "REST OF IDENTITY BLOCK");

  LayOutSettings(c, 0x17, 0x23);
  c.Resize(Area::Setting15, 2);
  c.SetNumber(Area::Setting15, 1, 2, 0xFF2C);  // bytes taken as signed: 44 - 256
  LayOutFileInformation(c, 1);
  LayOutCounters(c, 6, true, 1);
  LayOutCard(c, 6, 2, true, 1);
  LayOutSettingValues(c, 1);
  LayOutExtendedStatus(c, 8, 1);
  return c;
}

RegisterConfig ModelS12() {
  RegisterConfig c;
  c.name = "s12";
  LayOutIdentity(c, {"SK12000456", "1.2  SERIAL KASSA   ", "S200B12X", "LONGID-S12-0000002", 0, 0x41, 0}, 2);
  LayOutMemory(c, 2);
  LayOutBlock4(c, {24, 5, 2, 4, 8, 9, 4, 5, 8, 6, 0, 0, 3, 22, 0, 0, 0});
  SetFeatures(c, {{0, 1}, {12, 3}, {57, 1}, {95, 2}});
  // Without bit 0 of block 3 byte 85 these bytes are no function levels.
  for (int i = 1; i <= 8; ++i) c.SetNumber(Area::Block4, i, 1, 0xFF);
  LayOutSettings(c, 0x26, std::nullopt);  // short form: 9 bytes
  LayOutCounters(c, 5, false, 2);
  LayOutCard(c, 5, 0, false, 2);
  LayOutExtendedStatus(c, 3, 2);  // no 'C' 20 values
  return c;
}

RegisterConfig ModelC02() {
  RegisterConfig c;
  c.name = "c02";
  LayOutIdentity(c, {"CC02000789", "0.2  CASSA COMPATTA ", "C100A02 ", "LONGID-C02-0000003", 3, 0x02, 1}, 3);
  LayOutMemory(c, 3);
  // No print width in block 4: this model's widths are fixed.
  LayOutBlock4(c, {0, 7, 7, 0, 7, 7, 7, 7, 7, 7, 7, 0, 0, 0, 7, 7, 0});
  SetFeatures(c, {{1, 1}});
  LayOutSettings(c, 0x05, 0x14);
  LayOutCounters(c, 7, true, 3);
  LayOutCard(c, 7, 1, false, 3);
  LayOutSettingValues(c, 3);
  return c;  // an empty extended status
}

RegisterConfig ModelM4() {
  RegisterConfig c;
  c.name = "m4";
  LayOutIdentity(c, {"MM04000999", "4.0  UNKNOWN MODEL  ", "4000A10 ", "LONGID-M04-0000004", 2, 0, 1}, 4);
  LayOutMemory(c, 4);
  LayOutBlock4(c, {32, 5, 2, 2, 8, 8, 4, 5, 8, 4, 0, 0, 0, 0, 0, 0, 0});
  LayOutSettings(c, 0x06, 0x05);
  LayOutCard(c, 5, -1, false, 4);
  LayOutSettingValues(c, 4);
  LayOutExtendedStatus(c, 12, 4);
  return c;
}

}  // namespace

std::vector<std::string> BuiltInConfigNames() {
  return {"t72", "s12", "c02", "m4"};
}

std::optional<RegisterConfig> BuiltInConfig(std::string_view name) {
  if (name == "t72") return ModelT72();
  if (name == "s12") return ModelS12();
  if (name == "c02") return ModelC02();
  if (name == "m4") return ModelM4();
  return std::nullopt;
}

}  // namespace ecrsim
