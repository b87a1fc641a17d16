#include "sim_register.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "config/bcd_digits.h"
#include "config/config_places.h"
#include "till/current_amount.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kTransactionOpen = 0x01;
constexpr int kFeatureCombinedWrite = 92;  // the register takes article sub-code 27
constexpr int kFeatureSecondKeyMap = 95;   // the register has a second key map ('C' 9)
constexpr std::uint8_t kSecondKeyMapFrame = 9;
constexpr std::uint8_t kNoCard = 1;
constexpr int kCardValueSlotsWord = 73;       // block 3: how many card values the register keeps
constexpr int kPrintWidthOffset = 33;         // block 4; 0 = the model's fixed width
constexpr std::uint8_t kParameterFrame = 10;  // 'C' 10
constexpr std::uint8_t kStateFieldsRequest = 11;
constexpr int kStateFieldsBytes = 24;
constexpr int kStateClosureOffset = 15;
constexpr int kIdentityClockOffset = 31;       // 'T' answer: BCD day, month, year, hour, minute
constexpr std::uint8_t kSlaveStateQuery = 23;  // 'U' 0 23, answered only in the REG position
constexpr std::uint8_t kSlaveText = 2;
constexpr int kEchoSetting = 4;                 // output settings byte: the line echo
constexpr std::uint8_t kVatTotalsRequest = 13;  // 'C' 13 0
constexpr std::uint8_t kTable31Request = 17;    // 'C' 17 n
constexpr int kFeatureTable31 = 105;            // model 6's extension

// 'U' 0 n requests and the areas that answer them.
std::optional<Area> InformationArea(std::uint8_t n) {
  switch (n) {
    case 0:
      return Area::Info0;
    case 1:
      return Area::FileInfo;
    case 23:
      return Area::Counters;
    case 24:
      return Area::Info24;
    case 31:
      return Area::Ext31;
    default:
      return std::nullopt;
  }
}

}  // namespace

SimRegister::SimRegister(RegisterConfig config) : config_(std::move(config)) {
  FollowConfig();
  printer.journal = &journal;
  keyboard.reports = &reports;
  keyboard.card = &chipCard;
  keyboard.till.vatIndexOf = [this](int department) { return DepartmentVatIndex(department); };
}

std::vector<std::string> SimRegister::TakeEchoedLines() {
  return std::exchange(printer.echoed, {});
}

RegisterConfig& SimRegister::EditConfig() {
  memoryStale_ = true;
  return config_;
}

bool SimRegister::AddFault(const Fault& fault) {
  if (faults_.size() >= kMaxPendingFaults) return false;
  faults_.push_back(fault);
  return true;
}

// The configuration may change between frames (control channel, tests), so
// the parts that keep a value of it take it afresh before each frame.
void SimRegister::FollowConfig() {
  const int width = config_.Byte(Area::Block4, kPrintWidthOffset);
  printer.width = width != 0 ? width : kDefaultPrintWidth;
  printer.echo = config_.Byte(Area::OutputSettings, kEchoSetting) != 0;
}

Reply SimRegister::Exchange(std::span<const std::uint8_t> frame) {
  FollowConfig();
  Reply reply;
  if (!faults_.empty() && faults_.front().skip > 0) {
    --faults_.front().skip;
    reply = Answer(frame);
  } else if (!faults_.empty()) {
    const Fault fault = faults_.front();
    faults_.pop_front();
    reply = ApplyFault(fault, frame);
  } else {
    reply = Answer(frame);
  }
  if (log_.size() >= kMaxLoggedFrames) log_.pop_front();
  log_.push_back({++framesReceived_, {frame.begin(), frame.end()}, reply});
  return reply;
}

Reply SimRegister::ApplyFault(const Fault& fault, std::span<const std::uint8_t> frame) {
  const bool keyFrame = !frame.empty() && frame[0] == 'A';
  switch (fault.kind) {
    case FaultKind::HostResult: {
      Reply reply;
      reply.hostResult = fault.value;
      if (fault.value == kHostCritical) return StatusAnswer(kHostCritical);
      if (fault.value == kHostRefused) {
        const char letter = keyFrame ? 'S' : (frame.empty() ? '?' : static_cast<char>(frame[0]));
        reply.answer = {static_cast<std::uint8_t>(letter), static_cast<std::uint8_t>(fault.data)};
      } else {
        reply.detail = fault.data;
      }
      return reply;
    }
    case FaultKind::AnswerLetter: {
      Reply reply = Answer(frame);
      if (reply.answer.empty()) reply.answer.push_back(0);
      reply.answer[0] = static_cast<std::uint8_t>(fault.value);
      return reply;
    }
    case FaultKind::ShortAnswer: {
      Reply reply = Answer(frame);
      if (static_cast<std::size_t>(fault.value) < reply.answer.size()) reply.answer.resize(fault.value);
      return reply;
    }
    case FaultKind::CriticalState:
      status_.critical = static_cast<std::uint8_t>(fault.value);
      status_.state |= kStateNotReady;
      return Answer(frame);
    case FaultKind::Delay: {
      Reply reply = Answer(frame);
      reply.delayMs = fault.value;
      return reply;
    }
    case FaultKind::NoAnswer: {
      Reply reply;
      reply.answered = false;
      return reply;
    }
  }
  return Answer(frame);
}

Reply SimRegister::Answer(std::span<const std::uint8_t> frame) {
  if (frame.empty()) return Refuse('?', kRefuseUnknownFrame);
  switch (frame[0]) {
    case 'S':
      if (frame.size() == 1) return StatusAnswer(kHostOk);
      break;
    case 'T':
      if (frame.size() == 1) return IdentityAnswer();
      break;
    case 'A':
      return KeyRecord(frame);
    case 'D':
      return MemoryRead(frame);
    case 'O':
      return OutputFrame(frame);
    case 'C':
      return CardOrSettings(frame);
    case 'U':
      return Information(frame);
    case 'H':
      return StandBy(frame);
    default:
      break;
  }
  return Refuse(static_cast<char>(frame[0]), kRefuseUnknownFrame);
}

Reply SimRegister::StatusAnswer(int hostResult) const {
  Reply reply;
  reply.hostResult = hostResult;
  reply.answer = {'S',
                  status_.state,
                  status_.critical,
                  status_.transaction,
                  status_.reserved,
                  status_.keyPosition,
                  status_.extra};
  return reply;
}

Reply SimRegister::AreaAnswer(char letter, Area area) const {
  const auto& data = config_.Data(area);
  Reply reply;
  reply.answer.resize(1 + data.size());
  reply.answer[0] = static_cast<std::uint8_t>(letter);
  std::copy(data.begin(), data.end(), reply.answer.begin() + 1);
  return reply;
}

// The identity carries the clock the journal stamps documents with.
Reply SimRegister::IdentityAnswer() const {
  Reply reply = AreaAnswer('T', Area::Identity);
  const auto clock = PackBcd(journal.date + journal.time, 5);
  if (clock && reply.answer.size() >= kIdentityClockOffset + clock->size())
    std::copy(clock->begin(), clock->end(), reply.answer.begin() + kIdentityClockOffset);
  return reply;
}

Reply SimRegister::Refuse(char letter, std::uint8_t code) {
  Reply reply;
  reply.hostResult = kHostRefused;
  reply.answer = {static_cast<std::uint8_t>(letter), code};
  return reply;
}

// Key records go through the keyboard; the answer is the status, with host
// result 32 while the register is in a critical state.
Reply SimRegister::KeyRecord(std::span<const std::uint8_t> frame) {
  keyboard.Press(frame.subspan(1), status_);
  return StatusAnswer(status_.critical != 0 ? kHostCritical : kHostOk);
}

// 'D' address-low address-high length: bytes of the 16-bit memory. A fifth
// byte selects a record the register finds by number instead: 0xF0 a record
// of table 2 (the first two bytes its number), 0xF1 an entry of a totals
// block of file 24 (block, entry).
// 'C' 4 (card data) and 'C' 5 (card text): status 1 alone without a card; a
// register without a reader (empty area) refuses them.
Reply SimRegister::CardReader(std::uint8_t request) {
  const Area area = request == 4 ? Area::Card : Area::CardText;
  if (config_.Size(area) == 0) return Refuse('C', kRefuseUnknownFrame);
  const ChipCard::Kind chip = chipCard.InReader();
  if (chip == ChipCard::Kind::Blank && request == 4) {
    Reply reply;
    reply.answer = {'C', kCardBlank};
    return reply;
  }
  if (!cardPresent && chip != ChipCard::Kind::Personalised) {
    Reply reply;
    reply.answer = {'C', kNoCard};
    return reply;
  }
  return AreaAnswer('C', area);
}

// 'C' 4 and 5 card reader, 'C' 3 output settings (read, or write with nine
// bytes), 'C' 15 2 5 0, 'C' 20 setting values.
Reply SimRegister::CardOrSettings(std::span<const std::uint8_t> frame) {
  if (KeyMaps::Handles(frame)) {
    if (frame[1] == kSecondKeyMapFrame && config_.FeatureLevel(kFeatureSecondKeyMap) == 0)
      return Refuse('C', kRefuseUnknownFrame);
    const auto answer = keyMaps.Take(frame);
    if (!answer) return Refuse('C', kRefuseUnknownFrame);
    Reply reply;
    reply.answer = {'C'};
    reply.answer.insert(reply.answer.end(), answer->begin(), answer->end());
    return reply;
  }
  if (LogoStore::Handles(frame)) {
    const auto verdict = logos.Take(frame);
    if (!verdict) return Refuse('C', kRefuseUnknownFrame);
    Reply reply;
    reply.answer = {'C', *verdict};
    return reply;
  }
  if (frame.size() == 2 && (frame[1] == 4 || frame[1] == 5)) return CardReader(frame[1]);
  if (frame.size() == 4 && frame[1] == kParameterFrame) return SetParameter(frame);
  if (ChipCard::Handles(frame)) {
    Reply reply;
    if (auto answer = chipCard.Answer(frame, config_.Word(Area::Block3, kCardValueSlotsWord))) {
      reply.answer = std::move(*answer);
      return reply;
    }
    return Refuse('C', kRefuseUnknownFrame);
  }
  if (frame.size() == 2 && frame[1] == 20 && config_.Size(Area::SettingValues) != 0)
    return AreaAnswer('C', Area::SettingValues);
  if (frame.size() == 2 && frame[1] == 3) return AreaAnswer('C', Area::OutputSettings);
  if (frame.size() == 2 && frame[1] == kStateFieldsRequest) return StateFields();
  if (frame.size() == 3 && frame[1] == kVatTotalsRequest && frame[2] == 0 && ModelLetter(config_) == 'M')
    return VatTotalsUpdate();
  if (frame.size() == 3 && frame[1] == kTable31Request && ModelLetter(config_) == '6' &&
      config_.FeatureLevel(kFeatureTable31) != 0)
    return Table31Record(frame[2]);
  if (frame.size() == 11 && frame[1] == 3) {
    config_.SetBytes(Area::OutputSettings, 1, {frame.begin() + 2, frame.end()});
    Reply reply;
    reply.answer = {'C', 0};
    return reply;
  }
  if (frame.size() == 5 && frame[1] == 15 && frame[2] == 2 && frame[3] == 5 && frame[4] == 0 &&
      config_.Size(Area::Setting15) != 0) {
    return AreaAnswer('C', Area::Setting15);
  }
  return Refuse('C', kRefuseUnknownFrame);
}

// 'C' 10 parameter value: only model 'N' registers keep parameters (1-64).
Reply SimRegister::SetParameter(std::span<const std::uint8_t> frame) {
  const std::size_t parameter = frame[2];
  if (ModelLetter(config_) != 'N' || parameter < 1 || parameter > parameters.size())
    return Refuse('C', kRefuseUnknownFrame);
  parameters[parameter - 1] = frame[3];
  Reply reply;
  reply.answer = {'C', 0};
  return reply;
}

// 'C' 11: the state record, 24 bytes; the only value kept is the number of
// the closure the next documents belong to, BCD in bytes 15-16.
Reply SimRegister::StateFields() const {
  Reply reply;
  reply.answer.assign(kStateFieldsBytes + 1, 0);
  reply.answer[0] = 'C';
  const auto closure = PackBcd(std::to_string(journal.closure % 10000), 2);
  std::copy(closure->begin(), closure->end(), reply.answer.begin() + kStateClosureOffset);
  return reply;
}

// 'U' 0 n: information answers, the two resets of the host's transfers, the record files and
// what the transfers download.
Reply SimRegister::Information(std::span<const std::uint8_t> frame) {
  if (RecordFiles::Handles(frame))
    return records.Answer(frame, RecordGeometry::Of(config_),
                          config_.FeatureLevel(kFeatureCombinedWrite) == 1);
  if (TransferFiles::Handles(frame)) return transfers.Answer(frame, records, RecordGeometry::Of(config_));
  if (frame.size() == 6 && frame[1] == 0 && frame[2] == kTableRecordRead) return TableRecord(frame);
  if (frame.size() == 6 && frame[1] == 0 && frame[2] == kMemoryImageRead) return MemoryImage(frame);
  if (frame.size() != 3 || frame[1] != 0) return Refuse('U', kRefuseUnknownFrame);
  Reply reply;
  if (frame[2] == 11) {
    ++dataCollectionResets;
    transfers.ClearCollected(config_);
    reply.answer = {'U', 0};
    return reply;
  }
  if (frame[2] == 15 || frame[2] == 16) {  // the article file, the O-file
    const bool articles = frame[2] == 15;
    ++(articles ? articleResets : oFileResets);
    const std::uint8_t status = articles ? articleResetStatus : oFileResetStatus;
    if (status == 0) articles ? records.articles.clear() : records.oFile.clear();
    reply.answer = {'U', status};
    return reply;
  }
  if (frame[2] == kSlaveStateQuery && status_.keyPosition != kRegPosition)
    return Refuse('U', kRefuseKeyPosition);
  const auto area = InformationArea(frame[2]);
  if (!area || config_.Size(*area) == 0) return Refuse('U', kRefuseUnknownFrame);
  // While a receipt is open its amount stands in the counters answer.
  if (*area == Area::Counters && (status_.transaction & kTransactionOpen)) {
    reply.answer = {'U'};
    const auto data = CountersWithAmount(config_, keyboard.till.Total());
    reply.answer.insert(reply.answer.end(), data.begin(), data.end());
    return reply;
  }
  return AreaAnswer('U', *area);
}

// 'H' 1 blocks the register for a download or the slave mode (refused while
// a transaction is open), 'H' 0 releases it; 'H' 2 and a text ending in a
// zero byte (a zero byte may stand before it) is the slave-mode text.
Reply SimRegister::StandBy(std::span<const std::uint8_t> frame) {
  if (frame.size() >= 3 && frame[1] == kSlaveText) {
    const auto first = frame.begin() + (frame[2] == 0 ? 3 : 2);
    auto end = frame.end();
    while (end != first && *(end - 1) == 0) --end;
    slaveText.assign(first, end);
    Reply reply;
    reply.answer = {'H', 0};
    return reply;
  }
  if (frame.size() != 2 || frame[1] > 1) return Refuse('H', kRefuseUnknownFrame);
  if (frame[1] == 1 && (status_.transaction & kTransactionOpen)) return Refuse('H', kRefuseTransactionOpen);
  standBy = frame[1] == 1;
  Reply reply;
  reply.answer = {'H', 0};
  return reply;
}

}  // namespace ecrsim
