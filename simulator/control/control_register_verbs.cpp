// The control verbs for registers, their configuration, status, faults and events.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "config/word_parsing.h"
#include "control/control_interpreter.h"
#include "wire/event_builder.h"

namespace ecrsim {

namespace {

int Width(std::string_view kind) {
  if (kind == "byte") return 1;
  if (kind == "word") return 2;
  if (kind == "triple") return 3;
  return 0;
}

}  // namespace

std::string ControlInterpreter::AddRegister() {
  if (w_.size() != 3) return Error("usage: register N BUILTIN");
  const auto number = ParseInRange(w_[1], 1, kMaxRegisters);
  if (!number) return Error("register numbers are 1-24");
  auto config = BuiltInConfig(w_[2]);
  if (!config) return Error("no built-in configuration " + w_[2]);
  sim_.AddRegister(static_cast<int>(*number), std::move(*config));
  return Ok();
}

std::string ControlInterpreter::Remove() {
  if (w_.size() != 2) return Error("usage: remove N");
  const auto number = ParseNumber(w_[1]);
  if (!number || !sim_.RemoveRegister(static_cast<int>(*number))) return Error("no register " + w_[1]);
  return Ok();
}

std::string ControlInterpreter::List() {
  std::string out;
  for (int number : sim_.RegisterNumbers()) {
    const RegisterConfig& c = sim_.Find(number)->Config();
    out += std::to_string(number) + " " + c.name + " model " + c.Text(Area::Identity, 69, 8) + " id " +
           c.Text(Area::Identity, 1, 10) + "\n";
  }
  return Ok(out);
}

std::string ControlInterpreter::Set() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() == 5 && w_[2] == "feature") {
    const auto index = ParseInRange(w_[3], 0, kFeatureCount - 1);
    const auto level = ParseInRange(w_[4], 0, 3);
    if (!index || !level) return Error("feature index 0-127, level 0-3");
    reg->EditConfig().SetFeatureLevel(static_cast<int>(*index), static_cast<int>(*level));
    return Ok();
  }
  if (w_.size() < 5) return Error("usage: set N AREA KIND ...");
  const auto area = AreaByName(w_[2]);
  if (!area) return Error("no area " + w_[2]);
  const std::string& kind = w_[3];
  RegisterConfig& config = reg->EditConfig();
  if (kind == "size") {
    const auto bytes = ParseInRange(w_[4], 0, 0xFFFF);
    if (w_.size() != 5 || !bytes || !config.Resize(*area, static_cast<std::size_t>(*bytes))) {
      return Error("this area cannot take that size");
    }
    return Ok();
  }
  const auto offset = ParseInRange(w_[4], 1, 0xFFFF);
  if (!offset) return Error("offsets start at 1");
  bool done = false;
  if (const int width = Width(kind); width != 0 && w_.size() == 6) {
    const auto value = ParseInRange(w_[5], 0, (1LL << (8 * width)) - 1);
    if (!value) return Error("value does not fit");
    done = config.SetNumber(*area, static_cast<int>(*offset), width, static_cast<std::uint32_t>(*value));
  } else if (kind == "hex" && w_.size() == 6) {
    const auto bytes = ParseHex(w_[5]);
    if (!bytes) return Error("bad hex");
    done = config.SetBytes(*area, static_cast<int>(*offset), *bytes);
  } else if (kind == "text" && w_.size() >= 7) {
    const auto width = ParseInRange(w_[5], 0, 511);
    if (!width) return Error("bad width");
    // The text is the rest of the line, or one quoted word.
    std::string text = w_.size() == 7 ? w_[6] : std::string(line_.substr(w_.starts[6]));
    done = config.SetText(*area, static_cast<int>(*offset), static_cast<int>(*width), text);
  } else {
    return Error("usage: set N AREA byte|word|triple|hex|text|size ...");
  }
  return done ? Ok() : Error("does not fit in the area");
}

std::string ControlInterpreter::Get() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  const auto area = w_.size() >= 5 ? AreaByName(w_[2]) : std::nullopt;
  const auto offset = w_.size() >= 5 ? ParseInRange(w_[4], 1, 0xFFFF) : std::nullopt;
  if (!area || !offset) return Error("usage: get N AREA KIND OFFSET [COUNT]");
  const RegisterConfig& config = reg->Config();
  if (const int width = Width(w_[3]); width != 0 && w_.size() == 5) {
    return Ok(std::to_string(config.Number(*area, static_cast<int>(*offset), width)) + "\n");
  }
  const auto count = w_.size() == 6 ? ParseInRange(w_[5], 0, 511) : std::nullopt;
  if (w_[3] != "hex" || !count) return Error("usage: get N AREA KIND OFFSET [COUNT]");
  std::vector<std::uint8_t> bytes;
  for (long long i = 0, n = count.value_or(0); i < n; ++i)
    bytes.push_back(config.Byte(*area, static_cast<int>(*offset + i)));
  return Ok(Hex(bytes) + "\n");
}

std::string ControlInterpreter::Status() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  StatusBytes& s = reg->Status();
  if (w_.size() == 2) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "state %d critical %d transaction %d reserved %d key %d extra %d card %d standby %d "
                  "articles %d function %d open %d output %d printer %d receipt %d\n",
                  s.state, s.critical, s.transaction, s.reserved, s.keyPosition, s.extra,
                  reg->cardPresent ? 1 : 0, reg->standBy ? 1 : 0, reg->articleResetStatus,
                  reg->keyboard.programmingFunction, reg->keyboard.openFunction, reg->outputBits,
                  reg->printer.fault, reg->keyboard.till.receiptNumber);
    return Ok(text);
  }
  const auto value = w_.size() == 4 ? ParseInRange(w_[3], 0, 255) : std::nullopt;
  if (!value) return Error("usage: status N [FIELD VALUE], value 0-255");
  const auto byte = static_cast<std::uint8_t>(*value);
  const std::string& field = w_[2];
  if (field == "state")
    s.state = byte;
  else if (field == "critical")
    s.critical = byte;
  else if (field == "transaction")
    s.transaction = byte;
  else if (field == "reserved")
    s.reserved = byte;
  else if (field == "key")
    s.keyPosition = byte;
  else if (field == "extra")
    s.extra = byte;
  else if (field == "card")
    reg->cardPresent = byte != 0;
  else if (field == "standby")
    reg->standBy = byte != 0;
  else if (field == "articles")
    reg->articleResetStatus = byte;
  else if (field == "function")
    reg->keyboard.programmingFunction = byte;
  else if (field == "output" && byte > 7)
    return Error("output bits are 0-7");
  else if (field == "output")
    reg->outputBits = byte;
  else if (field == "printer" && byte != 0 && byte != kPrinterCoverOpen && byte != kPrinterPaperOut)
    return Error("printer is 0, 22 (cover open) or 43 (paper out)");
  else if (field == "printer")
    reg->printer.fault = byte;
  else
    return Error("no status field " + field);
  return Ok();
}

std::string ControlInterpreter::AddFault() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() == 3 && w_[2] == "clear") {
    reg->ClearFaults();
    return Ok();
  }
  std::size_t end = w_.size();
  Fault fault;
  if (end >= 5 && w_[end - 2] == "after") {
    const auto skip = ParseInRange(w_[end - 1], 0, 1'000'000);
    if (!skip) return Error("bad frame count after 'after'");
    fault.skip = static_cast<int>(*skip);
    end -= 2;
  }
  if (end < 3) return Error("usage: fault N KIND [VALUE] [DATA] [after K]");
  const std::string& kind = w_[2];
  const std::size_t args = end - 3;
  const long long value = args >= 1 ? ParseInRange(w_[3], 0, 1'000'000).value_or(-1) : -1;
  if (kind == "drop" && args == 0) {
    fault.kind = FaultKind::NoAnswer;
  } else if (kind == "letter" && args == 1 && w_[3].size() == 1) {
    fault.kind = FaultKind::AnswerLetter;
    fault.value = static_cast<std::uint8_t>(w_[3][0]);
  } else if (kind == "result" && (args == 1 || args == 2) && value >= 0 && value <= 255) {
    const auto data = args == 2 ? ParseInRange(w_[4], 0, 255) : std::optional<long long>(0);
    if (!data) return Error("result data is a byte");
    fault.kind = FaultKind::HostResult;
    fault.data = static_cast<int>(*data);
  } else if (kind == "short" && args == 1 && value >= 0) {
    fault.kind = FaultKind::ShortAnswer;
  } else if (kind == "critical" && args == 1 && value >= 1 && value <= 255) {
    fault.kind = FaultKind::CriticalState;
  } else if (kind == "delay" && args == 1 && value >= 0 && value <= 60'000) {
    fault.kind = FaultKind::Delay;
  } else {
    return Error("usage: fault N result|letter|short|critical|delay VALUE [DATA] [after K] | drop | clear");
  }
  if (fault.kind != FaultKind::AnswerLetter && value >= 0) fault.value = static_cast<int>(value);
  return reg->AddFault(fault) ? Ok() : Error("too many pending faults");
}

std::string ControlInterpreter::QueueEvent() {
  std::string error;
  if (w_.size() < 3)
    return Error("usage: event N KIND [HEX] | event N line|record|interact|enquiry|update ...");
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  const int number = static_cast<int>(*ParseNumber(w_[1]));
  const std::string& kind = w_[2];
  Event event{number, 0, {}};
  if (kind == "line") {
    event.kind = kEventDataLine;
    // The line is the rest of the command, or one quoted word.
    const std::string text = w_.size() == 4  ? w_[3]
                             : w_.size() > 4 ? std::string(line_.substr(w_.starts[3]))
                                             : std::string();
    event.data.assign(text.begin(), text.end());
  } else if (kind == "record" || kind == "interact" || kind == "enquiry" || kind == "update") {
    std::size_t first = 3;
    if (kind == "record") {
      const auto recordKind = w_.size() >= 5 ? ParseInRange(w_[3], 0, 63) : std::nullopt;
      const auto flag = w_.size() >= 5 ? ParseInRange(w_[4], 0, 3) : std::nullopt;
      if (!recordKind || !flag) return Error("usage: event N record KIND(0-63) FLAG(0-3) FIELD...");
      event.data.push_back(*RecordKindByte(static_cast<int>(*recordKind), static_cast<int>(*flag)));
      first = 5;
    }
    event.kind = kind == "record"     ? kEventDataRecord
                 : kind == "interact" ? kEventInteract
                 : kind == "enquiry"  ? kEventFileEnquiry
                                      : kEventFileUpdate;
    const std::vector<std::string> fields(w_.words.begin() + static_cast<std::ptrdiff_t>(first),
                                          w_.words.end());
    if (!EncodeEventFields(fields, WidthsOf(reg->Config()), event.data, error)) return Error(error);
  } else {
    const auto code = ParseInRange(kind, 0, 255);
    const auto data = w_.size() == 4 ? ParseHex(w_[3])
                                     : std::optional<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{});
    if (!code || !data || w_.size() > 4) return Error("usage: event N KIND [HEX]");
    event.kind = static_cast<std::uint8_t>(*code);
    event.data = *data;
  }
  if (!sim_.QueueEvent(event)) return Error("event refused (too long, or the queue is full)");
  // The built forms show the bytes they made.
  return Ok(kind == "line" || ParseNumber(kind) ? std::string() : Hex(event.data) + "\n");
}

}  // namespace ecrsim
