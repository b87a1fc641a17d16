#include "stores/record_files.h"

#include <algorithm>

#include "wire/register_answer.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kInsert = 2;
constexpr std::uint8_t kRead = 3;
constexpr std::uint8_t kWrite = 6;
constexpr std::uint8_t kOFileWrite = 12;
constexpr std::uint8_t kOFileRead = 13;
constexpr std::uint8_t kDelete = 18;
constexpr std::uint8_t kCombined = 27;
constexpr std::uint8_t kFieldList = 0x80;
constexpr int kMaxOFileKind = 99;
constexpr int kOFileKindArticle = 7;
constexpr std::size_t kHeaderBytes = 3;
constexpr std::size_t kNumberBytes = 2;

Reply Answered(std::uint8_t code) {
  Reply reply;
  reply.answer = {'U', code};
  return reply;
}

// A frame the register cannot parse: refused as every malformed frame is.
Reply Malformed() {
  Reply reply;
  reply.hostResult = kHostRefused;
  reply.answer = {'U', kRefuseUnknownFrame};
  return reply;
}

// A new article's fields before any is given: a blank description, zeros elsewhere.
RecordBytes BlankArticle(const RecordGeometry& g) {
  RecordBytes body(static_cast<std::size_t>(g.ArticleBodyBytes()), 0);
  std::fill_n(body.begin(), g.descriptionBytes, ' ');
  return body;
}

// Lays the (offset, length, data) entries of a field list over `body`;
// offsets count from the code's first byte. False for an entry outside the record.
bool ApplyFieldList(std::span<const std::uint8_t> list, const RecordGeometry& g, RecordBytes& body) {
  std::size_t i = 0;
  while (i < list.size()) {
    if (list.size() - i < 2) return false;
    const int offset = list[i] - g.codeBytes;
    const std::size_t length = list[i + 1];
    i += 2;
    if (offset < 0 || length > list.size() - i || offset + length > body.size()) return false;
    std::copy_n(list.begin() + static_cast<std::ptrdiff_t>(i), length, body.begin() + offset);
    i += length;
  }
  return true;
}

}  // namespace

RecordGeometry RecordGeometry::Of(const RegisterConfig& config) {
  const std::uint8_t flags = config.Byte(Area::FileInfo, 15);
  const int byte23 = config.Byte(Area::FileInfo, 23);
  const int byte24 = config.Byte(Area::FileInfo, 24);
  const int fourth = byte24 != 0 ? byte24 : byte23;
  RecordGeometry g;
  g.codeBytes = config.Byte(Area::FileInfo, 16);
  g.descriptionBytes = config.Byte(Area::FileInfo, 17);
  g.priceBytes = config.Byte(Area::FileInfo, 22);
  g.fourthBytes = (flags & 4) ? fourth : 0;
  g.extraGroupBytes = (flags & 2) ? fourth + byte23 : 0;
  g.amountBytes = config.Byte(Area::Block4, 40);
  return g;
}

int RecordGeometry::OFileBodyBytes(int kind) const {
  if (kind < 0 || kind > kMaxOFileKind) return 0;
  if (kind == 0) return 1;
  if (kind == kOFileKindArticle) return 10 + codeBytes;
  return 29 + 2 * amountBytes;
}

bool RecordFiles::Handles(std::span<const std::uint8_t> frame) {
  if (frame.size() < kHeaderBytes || frame[0] != 'U') return false;
  switch (frame[2]) {
    case kInsert:
    case kRead:
    case kWrite:
    case kOFileWrite:
    case kOFileRead:
    case kDelete:
    case kCombined:
      return true;
    default:
      return false;
  }
}

Reply RecordFiles::Answer(std::span<const std::uint8_t> frame, const RecordGeometry& geometry,
                          bool combinedWrite) {
  const std::uint8_t subCode = frame[2];
  const auto rest = frame.subspan(kHeaderBytes);
  if (subCode == kOFileWrite || subCode == kOFileRead) {
    if (frame[1] != 0) return Malformed();
    return OFileFrame(subCode, rest, geometry);
  }
  const auto codeBytes = static_cast<std::size_t>(geometry.codeBytes);
  if (codeBytes == 0 || rest.size() < codeBytes) return Malformed();
  const auto key = rest.first(codeBytes);
  if (subCode == kCombined) {
    if (!combinedWrite || (frame[1] != 0 && frame[1] != kFieldList)) return Malformed();
    return CombinedWrite(frame[1] == kFieldList, key, rest.subspan(codeBytes), geometry);
  }
  if (frame[1] != 0) return Malformed();
  return ArticleFrame(subCode, key, rest.subspan(codeBytes), geometry);
}

Reply RecordFiles::ArticleFrame(std::uint8_t subCode, std::span<const std::uint8_t> key,
                                std::span<const std::uint8_t> rest, const RecordGeometry& g) {
  const RecordBytes code(key.begin(), key.end());
  const auto found = articles.find(code);
  const auto bodyBytes = static_cast<std::size_t>(g.ArticleBodyBytes());
  switch (subCode) {
    case kDelete:
      if (!rest.empty()) return Malformed();
      if (found == articles.end()) return Answered(kRecordNotFound);
      articles.erase(found);
      return Answered(kRecordAccepted);
    case kInsert:
      if (rest.size() != bodyBytes) return Malformed();
      if (found != articles.end()) return Answered(kRecordExists);
      articles[code].assign(rest.begin(), rest.end());
      return Answered(kRecordAccepted);
    case kWrite:
      if (rest.size() != bodyBytes + 1 || rest[0] != g.codeBytes) return Malformed();
      if (found == articles.end()) return Answered(kRecordNotFound);
      found->second.assign(rest.begin() + 1, rest.end());
      return Answered(kRecordAccepted);
    default: {  // read
      if (!rest.empty()) return Malformed();
      if (found == articles.end()) return Answered(kRecordNotFound);
      Reply reply = Answered(kRecordAccepted);
      reply.answer.push_back(kRead);
      reply.answer.push_back(static_cast<std::uint8_t>(g.codeBytes));
      reply.answer.insert(reply.answer.end(), code.begin(), code.end());
      reply.answer.insert(reply.answer.end(), found->second.begin(), found->second.end());
      reply.answer.resize(reply.answer.size() + static_cast<std::size_t>(g.extraGroupBytes), 0);
      return reply;
    }
  }
}

Reply RecordFiles::CombinedWrite(bool fieldList, std::span<const std::uint8_t> key,
                                 std::span<const std::uint8_t> rest, const RecordGeometry& g) {
  const RecordBytes code(key.begin(), key.end());
  const auto found = articles.find(code);
  RecordBytes body = found != articles.end() ? found->second : BlankArticle(g);
  if (!fieldList) {
    if (rest.size() != body.size()) return Malformed();
    body.assign(rest.begin(), rest.end());
  } else if (!ApplyFieldList(rest, g, body)) {
    return Malformed();
  }
  articles[code] = std::move(body);
  return Answered(kRecordAccepted);
}

Reply RecordFiles::OFileFrame(std::uint8_t subCode, std::span<const std::uint8_t> rest,
                              const RecordGeometry& g) {
  if (rest.size() < kNumberBytes) return Malformed();
  const auto number = static_cast<std::uint16_t>(rest[0] | rest[1] << 8);
  const auto body = rest.subspan(kNumberBytes);
  if (subCode == kOFileRead) {
    if (!body.empty()) return Malformed();
    const auto found = oFile.find(number);
    if (found == oFile.end()) return Answered(kRecordNotFound);
    Reply reply = Answered(kRecordAccepted);
    reply.answer.push_back(rest[0]);
    reply.answer.push_back(rest[1]);
    reply.answer.insert(reply.answer.end(), found->second.begin(), found->second.end());
    return reply;
  }
  const std::size_t full = body.empty() ? 0 : static_cast<std::size_t>(g.OFileBodyBytes(body[0]));
  // A percentage without decimals may come as its one byte: the other is 0.
  const bool oneByteShort = full > 1 && body[0] != kOFileKindArticle && body.size() + 1 == full;
  if (full == 0 || (body.size() != full && !oneByteShort)) return Malformed();
  RecordBytes stored(body.begin(), body.end());
  stored.resize(full, 0);
  oFile[number] = std::move(stored);
  return Answered(kRecordAccepted);
}

}  // namespace ecrsim
