#include "commands/transfers/ofile_lines.h"

#include <string_view>
#include <vector>

#include "commands/transfers/article_lines.h"
#include "language/command_line_form.h"
#include "records/ofile_record.h"
#include "text/bcd_text.h"
#include "text/code_page.h"
#include "text/out_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kOFileCommand = 52;
constexpr int kFirstSmallValueSlot = 3;
constexpr int kByteValueSlot = 11;
constexpr int kPercentDecimals = 2;

// Where the O-file command takes a kind's values from: it moves these
// fields into the record's places (field, the record's slot).
struct KindField {
  int field;
  int slot;
};

std::vector<KindField> KindFields(int kind) {
  switch (kind) {
    case 1:
      return {{13, 13}, {14, 14}, {15, 15}};
    case 2:
      return {{16, 16}};
    case 3:
      return {{13, 13}, {19, 14}};
    case 4:
      return {{21, 14}, {22, 15}};
    case 5:
      return {{23, 13}, {21, 14}, {16, 16}};
    case 6:
      return {{19, 13}, {24, 14}, {22, 15}, {25, 16}};
    default:  // the command moves nothing for the other kinds: their own fields
      return {{13, 13}, {14, 14}, {15, 15}, {16, 16}};
  }
}

class OFileRecord {
 public:
  OFileRecord(std::span<const std::uint8_t> body, const ArticleGeometry& geometry)
      : body_(body), geometry_(geometry), kind_(body[0]), layout_(OFileLayout(kind_, geometry)) {}

  int Kind() const { return kind_; }
  bool HasText() const { return kind_ != kOFileKindEmpty; }
  bool HasValues() const { return HasText() && kind_ != kOFileKindArticle; }
  bool CodeInText() const { return kind_ == kOFileKindArticle; }

  std::span<const std::uint8_t> Field(int slot) const {
    for (const RecordField& field : layout_) {
      if (field.slot == slot)
        return body_.subspan(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.size));
    }
    return {};
  }
  std::string Digits(int slot) const { return BytesToHex(Field(slot)); }
  std::string Byte(int slot) const { return std::to_string(Field(slot)[0]); }
  std::string Text() const {
    const auto bytes = Field(kOFileTextSlot);
    if (CodeInText()) return ArticleCodeText(bytes, geometry_);
    std::string text =
        EcrToPcText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    TrimRight(text);
    return text;
  }
  // A kind's value as the O-file command reads it: amounts and the
  // percentage with their decimals.
  std::string CommandValue(int slot) const {
    std::string out;
    switch (slot) {
      case kOFileSmallNumberSlot:
        return Byte(slot);
      case kOFilePercentSlot:
        return BcdToDecimalText(out, Field(slot), kPercentDecimals);
      default:
        return BcdToDecimalText(out, Field(slot), BCD_REGISTER_DECIMALS);
    }
  }

 private:
  std::span<const std::uint8_t> body_;
  const ArticleGeometry& geometry_;
  int kind_;
  std::vector<RecordField> layout_;
};

}  // namespace

bool OFileRecordFits(std::span<const std::uint8_t> body, const ArticleGeometry& geometry) {
  if (body.empty()) return false;
  return body.size() >= static_cast<std::size_t>(RecordSize(OFileLayout(body[0], geometry)));
}

std::string OFileValuesLine(int number, std::span<const std::uint8_t> body, const ArticleGeometry& geometry) {
  const OFileRecord record(body, geometry);
  std::string line;
  EditOutField(line, std::to_string(number), 0);
  EditOutField(line, std::to_string(record.Kind()), 0);
  if (!record.HasText()) return line;
  for (int slot = kFirstSmallValueSlot; slot < kByteValueSlot; ++slot)
    EditOutField(line, record.Digits(slot), 0);
  EditOutField(line, record.Byte(kByteValueSlot), 0);
  EditOutField(line, record.Text(), record.CodeInText() && !geometry.alphanumeric ? 0 : OUT_FIELD_TEXT);
  if (!record.HasValues()) return line;
  // The columns an upload reads, whatever the kind uses.
  EditOutField(line, record.Byte(kOFileSmallNumberSlot), 0);
  for (const int slot : {kOFileFirstAmountSlot, kOFileSecondAmountSlot, kOFilePercentSlot})
    EditOutField(line, record.Digits(slot), 0);
  return line;
}

std::string OFileCommandLine(int number, std::span<const std::uint8_t> body,
                             const ArticleGeometry& geometry) {
  const OFileRecord record(body, geometry);
  CommandLineText line(kOFileCommand);
  line.Add(kOFileNumberSlot, std::to_string(number));
  line.Add(kOFileKindSlot, std::to_string(record.Kind()));
  if (!record.HasText()) return line.Text();
  for (int slot = kFirstSmallValueSlot; slot < kByteValueSlot; ++slot) line.Add(slot, record.Digits(slot));
  line.Add(kByteValueSlot, record.Byte(kByteValueSlot));
  if (record.CodeInText() && !geometry.alphanumeric)
    line.Add(kOFileTextSlot, record.Text());
  else
    line.AddQuoted(kOFileTextSlot, record.Text());
  if (!record.HasValues()) return line.Text();
  for (const KindField& field : KindFields(record.Kind()))
    line.Add(field.field, record.CommandValue(field.slot));
  return line.Text();
}

}  // namespace quadrel
