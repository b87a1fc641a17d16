// The control verbs for what the register stores: records, tables, settings, card, memory, device, keyboard.
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/memory_image.h"
#include "config/word_parsing.h"
#include "control/control_interpreter.h"
#include "control/store_commands.h"
#include "wire/wire.h"

namespace ecrsim {

namespace {

constexpr long long kMaxCardDelayMs = 600000;
constexpr long long kMaxServiceDelayMs = 600000;
constexpr std::size_t kMaxQueryAnswer = ecrwire::kMaxPayload - 4;  // after the status word

// One line a transfer: service, kind, entry word, text, closed/aborted, the bytes in hex.
std::string DescribeTransfers(const std::deque<DeviceTransfer>& transfers) {
  std::string out;
  for (const DeviceTransfer& t : transfers) {
    out += std::to_string(t.service) + " kind " + std::to_string(t.kind) + " entry " +
           std::to_string(t.entryWord) + " text \"" + t.text + "\" " +
           (t.aborted  ? "aborted"
            : t.closed ? "closed"
                       : "open") +
           " " + Hex(t.bytes) + "\n";
  }
  return out;
}

}  // namespace

std::string ControlInterpreter::Store() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  return RunStoreCommand(*reg, w_[0], std::span(w_.words).subspan(2));
}

// A stored article or O-file record as the register holds it (the body after the key).
std::string ControlInterpreter::Record() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() != 4) return Error("usage: record N article HEXCODE | record N ofile NUMBER");
  const RecordFiles& files = reg->records;
  if (w_[2] == "article") {
    const auto code = ParseHex(w_[3]);
    const auto found = code ? files.articles.find(*code) : files.articles.end();
    if (found == files.articles.end()) return Error("no article " + w_[3]);
    return Ok(Hex(found->second) + "\n");
  }
  const auto number = w_[2] == "ofile" ? ParseInRange(w_[3], 0, 0xFFFF) : std::nullopt;
  const auto found = number ? files.oFile.find(static_cast<std::uint16_t>(*number)) : files.oFile.end();
  if (found == files.oFile.end()) return Error("no O-file record " + w_[3]);
  return Ok(Hex(found->second) + "\n");
}

// A whole record file, one "KEY BODY" line in hex a record (O-file keys in decimal).
std::string ControlInterpreter::Records() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() != 3 || (w_[2] != "article" && w_[2] != "ofile"))
    return Error("usage: records N article|ofile");
  std::string out;
  if (w_[2] == "article") {
    for (const auto& [code, body] : reg->records.articles) out += Hex(code) + " " + Hex(body) + "\n";
  } else {
    for (const auto& [number, body] : reg->records.oFile)
      out += std::to_string(number) + " " + Hex(body) + "\n";
  }
  return Ok(out);
}

// A data-collect record the register keeps for the host's download.
std::string ControlInterpreter::Collect() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  const auto record = w_.size() == 3 ? ParseHex(w_[2]) : std::nullopt;
  if (!record || record->empty()) return Error("usage: collect N HEXRECORD");
  reg->transfers.AddCollected(*record, reg->EditConfig());
  return Ok();
}

// An entry of the numbered text table.
std::string ControlInterpreter::TextTable() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  const auto entry = w_.size() == 5 ? ParseInRange(w_[2], 1, 255) : std::nullopt;
  const auto word = w_.size() == 5 ? ParseInRange(w_[3], 0, 0xFFFF) : std::nullopt;
  const auto amount = w_.size() == 5 ? ParseHex(w_[4]) : std::nullopt;
  if (!entry || !word || !amount) return Error("usage: texttable N ENTRY(1-255) WORD HEXAMOUNT");
  reg->transfers.textTable[static_cast<int>(*entry)] = {static_cast<std::uint16_t>(*word), *amount};
  return Ok();
}

// The fields of a programming-table record as keyed, one line each in hex.
std::string ControlInterpreter::Table() {
  return KeyedFields(
      "table", [](const Keyboard& keys, int table, int record) { return keys.tables.Fields(table, record); });
}

// The fields of a record of a setting function (percentages 121, table 4: 3) as keyed.
std::string ControlInterpreter::Function() {
  return KeyedFields("function", [](const Keyboard& keys, int number, int record) {
    return keys.settings.Fields(number, record);
  });
}

template <typename Lookup>
std::string ControlInterpreter::KeyedFields(const std::string& verb, Lookup lookup) {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() != 4) return Error("usage: " + verb + " N NUMBER RECORD");
  const auto number = ParseInRange(w_[2], 0, 0xFFFF);
  const auto record = ParseInRange(w_[3], 0, 0xFFFF);
  const auto* fields = number && record
                           ? lookup(reg->keyboard, static_cast<int>(*number), static_cast<int>(*record))
                           : nullptr;
  if (!fields) return Error("no record " + w_[3] + " in " + verb + " " + w_[2]);
  std::string out;
  for (const std::string& field : *fields)
    out += Hex(std::vector<std::uint8_t>(field.begin(), field.end())) + "\n";
  return Ok(out);
}

// A model 'N' parameter as 'C' 10 set it.
std::string ControlInterpreter::Parameter() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  const auto number = w_.size() == 3 ? ParseInRange(w_[2], 1, kModelNParameters) : std::nullopt;
  if (!number) return Error("usage: parameter N NUMBER, number 1-64");
  return Ok(std::to_string(reg->parameters[static_cast<std::size_t>(*number - 1)]) + "\n");
}

// card N: what the reader holds; card N none|blank|personalised [after MS]: a card goes in.
std::string ControlInterpreter::Card() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() == 2) return Ok(reg->chipCard.Describe());
  const auto kind = w_.size() >= 3 ? ChipCard::KindNamed(w_[2]) : std::nullopt;
  std::optional<long long> delay = 0;
  if (w_.size() == 5 && w_[3] == "after") delay = ParseInRange(w_[4], 0, kMaxCardDelayMs);
  if (!kind || !delay || w_.size() == 4 || (w_.size() == 5 && w_[3] != "after") || w_.size() > 5)
    return Error("usage: card N [none|blank|personalised [after MS]]");
  reg->chipCard.Insert(*kind, static_cast<int>(*delay));
  return Ok();
}

// Bytes laid over the 16-bit memory (or the 32-bit one) where the configuration composes none.
std::string ControlInterpreter::Place() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() == 3 && w_[2] == "clear") {
    reg->placedMemory.Clear();
    reg->placedExtendedMemory.Clear();
    return Ok();
  }
  const bool extended = w_.size() == 5 && w_[2] == "extended";
  const std::size_t first = extended ? 3 : 2;
  const auto address = w_.size() == first + 2
                           ? ParseInRange(w_[first], 0, extended ? kExtendedMemoryBytes - 1 : 0xFFFF)
                           : std::nullopt;
  auto bytes = address ? ParseHex(w_[first + 1]) : std::nullopt;
  if (!address || !bytes) return Error("usage: place N [extended] ADDRESS HEX | place N clear");
  (extended ? reg->placedExtendedMemory : reg->placedMemory)
      .Place(static_cast<std::uint32_t>(*address), std::move(*bytes));
  return Ok();
}

// The device's transfers, the status its transfers close with, a scripted query.
std::string ControlInterpreter::Device() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  DeviceServices& device = reg->device;
  if (w_.size() == 3 && w_[2] == "transfers") return Ok(DescribeTransfers(device.Transfers()));
  if (w_.size() == 5 && w_[2] == "close") {
    const auto service = ParseInRange(w_[3], 77, 78);
    const auto status = ParseInRange(w_[4], INT32_MIN, INT32_MAX);
    if (!service || !status) return Error("usage: device N close 77|78 STATUS");
    device.closingStatus[static_cast<int>(*service)] = static_cast<std::int32_t>(*status);
    return Ok();
  }
  if (w_.size() >= 6 && w_[2] == "query") {
    const auto status = ParseInRange(w_[4], INT32_MIN, INT32_MAX);
    const auto delay = ParseInRange(w_[5], 0, kMaxServiceDelayMs);
    // The answer is the rest of the line, or one quoted word.
    const std::string answer = w_.size() == 7  ? w_[6]
                               : w_.size() > 7 ? std::string(line_.substr(w_.starts[6]))
                                               : std::string();
    if (!status || !delay || answer.size() > kMaxQueryAnswer)
      return Error("usage: device N query TEXT STATUS DELAY [ANSWER], an answer of at most 508 bytes");
    device.queries[w_[3]] = {static_cast<std::int32_t>(*status), static_cast<int>(*delay), answer};
    return Ok();
  }
  return Error(
      "usage: device N transfers | device N close 77|78 STATUS | device N query TEXT STATUS DELAY "
      "[ANSWER]");
}

// Key map 1 or 2: its 80 codes in hex, or one position set.
std::string ControlInterpreter::Keys() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  const auto map = w_.size() == 3 || w_.size() == 5 ? ParseInRange(w_[2], 1, 2) : std::nullopt;
  if (!map) return Error("usage: keys N MAP [POSITION CODE], map 1 or 2");
  const int index = static_cast<int>(*map) - 1;
  if (w_.size() == 3) {
    std::vector<std::uint8_t> codes;
    for (int position = 1; position <= kKeyPositions; ++position)
      codes.push_back(reg->keyMaps.Code(index, position));
    return Ok(Hex(codes) + "\n");
  }
  const auto position = ParseInRange(w_[3], 1, kKeyPositions);
  const auto code = ParseInRange(w_[4], 0, 255);
  if (!position || !code) return Error("position 1-80, code 0-255");
  reg->keyMaps.SetCode(index, static_cast<int>(*position), static_cast<std::uint8_t>(*code));
  return Ok();
}

// A macro's sequence in hex, or set from decimal codes after "=".
std::string ControlInterpreter::MacroKeys() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  const auto number = w_.size() >= 3 ? ParseInRange(w_[2], 1, kMacroKeys) : std::nullopt;
  if (!number || (w_.size() > 3 && w_[3] != "="))
    return Error("usage: macro N NUMBER [= CODE...], number 1-40");
  if (w_.size() == 3) return Ok(Hex(reg->keyMaps.Macro(static_cast<int>(*number))) + "\n");
  std::vector<std::uint8_t> keys;
  for (std::size_t i = 4; i < w_.size(); ++i) {
    const auto code = ParseInRange(w_[i], 0, 255);
    if (!code) return Error("code 0-255: " + w_[i]);
    keys.push_back(static_cast<std::uint8_t>(*code));
  }
  reg->keyMaps.SetMacro(static_cast<int>(*number), std::move(keys));
  return Ok();
}

}  // namespace ecrsim
