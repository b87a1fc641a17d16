#include "config/config_text_fields.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "link/frame_exchange.h"
#include "state/library_state.h"
#include "text/bcd_text.h"
#include "text/code_page.h"
#include "text/out_field.h"

namespace quadrel {
namespace {

constexpr int kOutEditPlain = 1;  // OutEditOptions: no separators

bool SeparatorWanted() {
  return Library().options.OutEditOptions != kOutEditPlain && SeparatorChar() != '\0';
}

}  // namespace

void ConfigTextFields::UseAnswer(std::span<const std::uint8_t> answer) {
  answer_.assign(answer.begin(), answer.end());
}

void ConfigTextFields::UseFrameAnswer() {
  const FrameBufferData& buffer = FrameBuffer();
  const auto length = static_cast<std::size_t>(std::clamp<std::int32_t>(buffer.length, 0, kMaxFrameLength));
  UseAnswer(std::span<const std::uint8_t>(buffer.data).first(length));
}

bool ConfigTextFields::Fits(int offset, int count) const {
  return offset >= 0 && count >= 0 &&
         static_cast<std::size_t>(offset) + static_cast<std::size_t>(count) <= answer_.size();
}

std::span<const std::uint8_t> ConfigTextFields::Bytes(int offset, int count) const {
  if (!Fits(offset, count)) return {};
  return std::span<const std::uint8_t>(answer_).subspan(static_cast<std::size_t>(offset),
                                                        static_cast<std::size_t>(count));
}

bool ConfigTextFields::Digit(int offset, int mask) {
  if (!Fits(offset, 1)) return false;
  text_ += static_cast<char>('0' + (answer_[offset] & mask));
  return true;
}

void ConfigTextFields::Separator() {
  if (SeparatorWanted()) text_ += SeparatorChar();
}

bool ConfigTextFields::UnsignedByte(int offset) {
  if (!Fits(offset, 1)) return false;
  EditOutField(text_, std::to_string(answer_[offset]), 0);
  return true;
}

bool ConfigTextFields::SignedByte(int offset) {
  if (!Fits(offset, 1)) return false;
  EditOutField(text_, std::to_string(static_cast<std::int8_t>(answer_[offset])), 0);
  return true;
}

bool ConfigTextFields::Word(int offset) {
  if (!Fits(offset, 2)) return false;
  EditOutField(text_, std::to_string(answer_[offset] | answer_[offset + 1] << 8), 0);
  return true;
}

bool ConfigTextFields::SignedLong(int offset) {
  if (!Fits(offset, 4)) return false;
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | answer_[offset + i];
  EditOutField(text_, std::to_string(static_cast<std::int32_t>(value)), 0);
  return true;
}

bool ConfigTextFields::Bcd(int offset, int count) {
  if (!Fits(offset, count)) return false;
  EditOutField(text_, BytesToHex(Bytes(offset, count)), 0);
  return true;
}

bool ConfigTextFields::BcdAmount(int offset, int count, int decimals) {
  if (!Fits(offset, count)) return false;
  std::string digits;
  EditOutField(text_, BcdToDecimalText(digits, Bytes(offset, count), decimals), 0);
  return true;
}

bool ConfigTextFields::RawHex(int offset, int count) {
  if (!Fits(offset, count)) return false;
  text_ += BytesToHex(Bytes(offset, count));
  Separator();
  return true;
}

bool ConfigTextFields::Text(int offset, int count) {
  if (!Fits(offset, count)) return false;
  const auto bytes = Bytes(offset, count);
  std::string text =
      EcrToPcText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), record_);
  if (const std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  EditOutField(text_, text, OUT_FIELD_TEXT);
  return true;
}

std::string ConfigTextFields::Finish(std::size_t limit) {
  if (SeparatorChar() != '\0' && !text_.empty() && text_.back() == SeparatorChar()) text_.pop_back();
  if (text_.size() > limit) text_.resize(limit);
  return std::move(text_);
}

}  // namespace quadrel
