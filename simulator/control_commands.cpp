#include "control_commands.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "event_builder.h"
#include "memory_image.h"
#include "store_commands.h"
#include "wire.h"
#include "word_parsing.h"

namespace ecrsim {
namespace {

// Words of a command line; a word may quote parts with '"' to hold blanks. The
// offset of each word in the line lets "text" take the rest of the line.
struct Words {
  std::vector<std::string> words;
  std::vector<std::size_t> starts;
  std::size_t size() const { return words.size(); }
  const std::string& operator[](std::size_t i) const { return words[i]; }
};

std::optional<Words> SplitWords(std::string_view line) {
  Words out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    out.starts.push_back(i);
    // A quoted part, anywhere in a word, holds blanks: text:20:"TWO WORDS".
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] != '"') {
        word.push_back(line[i++]);
        continue;
      }
      const std::size_t end = line.find('"', i + 1);
      if (end == std::string_view::npos) return std::nullopt;
      word.append(line.substr(i + 1, end - i - 1));
      i = end + 1;
    }
    out.words.push_back(std::move(word));
  }
  return out;
}

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

std::string Ok(std::string output = {}) {
  return output + "OK\n";
}
std::string Error(std::string_view reason) {
  return "ERROR " + std::string(reason) + "\n";
}

class Interpreter {
 public:
  Interpreter(Simulator& sim, std::string_view line, const Words& w) : sim_(sim), line_(line), w_(w) {}

  std::string Run(bool configOnly) {
    const std::string& verb = w_[0];
    if (verb == "register") return AddRegister();
    if (verb == "remove") return Remove();
    if (verb == "set") return Set();
    if (verb == "status") return Status();
    if (configOnly) return Error("not a configuration command: " + verb);
    if (verb == "help") return Ok(kHelp);
    if (verb == "registers") return List();
    if (verb == "get") return Get();
    if (verb == "fault") return AddFault();
    if (verb == "event") return QueueEvent();
    if (verb == "log") return Log();
    if (verb == "print") return Print();
    if (verb == "pbm") return Pbm();
    if (verb == "logo") return Logo();
    if (verb == "display") return Display();
    if (verb == "record") return Record();
    if (verb == "table") return Table();
    if (verb == "function") return Function();
    if (verb == "parameter") return Parameter();
    if (verb == "records") return Records();
    if (verb == "collect") return Collect();
    if (verb == "texttable") return TextTable();
    if (verb == "journal" || verb == "xml") return Store();
    if (verb == "card") return Card();
    if (verb == "device") return Device();
    if (verb == "place") return Place();
    if (verb == "keys") return Keys();
    if (verb == "macro") return MacroKeys();
    if (verb == "stop") {
      sim_.stopRequested = true;
      return Ok();
    }
    return Error("unknown command: " + verb);
  }

 private:
  static constexpr const char* kHelp =
      "registers | register N BUILTIN | remove N\n"
      "set N AREA byte|word|triple OFFSET VALUE | set N AREA text OFFSET WIDTH TEXT\n"
      "set N AREA hex OFFSET HEX | set N AREA size BYTES | set N feature INDEX LEVEL\n"
      "get N AREA byte|word|triple OFFSET | get N AREA hex OFFSET COUNT\n"
      "status N [FIELD VALUE]\n"
      "fault N result|letter|short|critical|delay VALUE [DATA] [after K] | fault N drop [after K] | "
      "fault N clear\n"
      "event N KIND [HEX] | event N line TEXT | event N record KIND FLAG FIELD... |\n"
      "event N interact|enquiry|update FIELD... (FIELD: amount:N code:N bcdb:N bcd:W:N textcode:T\n"
      "  text:W:T byte:N word:N date:DDMMYYhhmm hex:HEX)\n"
      "record N article HEXCODE | record N ofile NUMBER | table N TABLE RECORD\n"
      "function N NUMBER RECORD | parameter N NUMBER\n"
      "records N article|ofile | collect N HEXRECORD | texttable N ENTRY WORD HEXAMOUNT\n"
      "card N [none|blank|personalised [after MS]]\n"
      "device N transfers | device N close 77|78 STATUS | device N query TEXT STATUS DELAY [ANSWER]\n"
      "place N [extended] ADDRESS HEX | place N clear\n"
      "keys N MAP [POSITION CODE] | macro N NUMBER [= CODE...]\n"
      "log N [clear] | print N [clear] | pbm N | display N | stop\n"
      "logo N pbm SLOT | logo N answer VALUE | logo N memory BYTES\n"
      "journal N [date DDMMYY | time HHMM | closure N] | xml N [oldest INDEX | add TOTALS [OUTCOME] | "
      "send]\n";

  std::string Store() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    return RunStoreCommand(*reg, w_[0], std::span(w_.words).subspan(2));
  }

  SimRegister* Reg(std::size_t index, std::string& error) {
    if (w_.size() <= index) {
      error = Error("register number missing");
      return nullptr;
    }
    const auto number = ParseNumber(w_[index]);
    SimRegister* reg = number ? sim_.Find(static_cast<int>(*number)) : nullptr;
    if (!reg) error = Error("no register " + w_[index]);
    return reg;
  }

  std::string AddRegister() {
    if (w_.size() != 3) return Error("usage: register N BUILTIN");
    const auto number = ParseInRange(w_[1], 1, kMaxRegisters);
    if (!number) return Error("register numbers are 1-24");
    auto config = BuiltInConfig(w_[2]);
    if (!config) return Error("no built-in configuration " + w_[2]);
    sim_.AddRegister(static_cast<int>(*number), std::move(*config));
    return Ok();
  }

  std::string Remove() {
    if (w_.size() != 2) return Error("usage: remove N");
    const auto number = ParseNumber(w_[1]);
    if (!number || !sim_.RemoveRegister(static_cast<int>(*number))) return Error("no register " + w_[1]);
    return Ok();
  }

  std::string List() {
    std::string out;
    for (int number : sim_.RegisterNumbers()) {
      const RegisterConfig& c = sim_.Find(number)->Config();
      out += std::to_string(number) + " " + c.name + " model " + c.Text(Area::Identity, 69, 8) + " id " +
             c.Text(Area::Identity, 1, 10) + "\n";
    }
    return Ok(out);
  }

  static int Width(std::string_view kind) {
    if (kind == "byte") return 1;
    if (kind == "word") return 2;
    if (kind == "triple") return 3;
    return 0;
  }

  std::string Set() {
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

  std::string Get() {
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

  // A stored article or O-file record as the register holds it (the body after the key).
  std::string Record() {
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
  std::string Records() {
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
  std::string Collect() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    const auto record = w_.size() == 3 ? ParseHex(w_[2]) : std::nullopt;
    if (!record || record->empty()) return Error("usage: collect N HEXRECORD");
    reg->transfers.AddCollected(*record, reg->EditConfig());
    return Ok();
  }

  // An entry of the numbered text table.
  std::string TextTable() {
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
  std::string Table() {
    return KeyedFields("table", [](const Keyboard& keys, int table, int record) {
      return keys.tables.Fields(table, record);
    });
  }

  // The fields of a record of a setting function (percentages 121, table 4: 3) as keyed.
  std::string Function() {
    return KeyedFields("function", [](const Keyboard& keys, int number, int record) {
      return keys.settings.Fields(number, record);
    });
  }

  template <typename Lookup>
  std::string KeyedFields(const std::string& verb, Lookup lookup) {
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
  std::string Parameter() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    const auto number = w_.size() == 3 ? ParseInRange(w_[2], 1, kModelNParameters) : std::nullopt;
    if (!number) return Error("usage: parameter N NUMBER, number 1-64");
    return Ok(std::to_string(reg->parameters[static_cast<std::size_t>(*number - 1)]) + "\n");
  }

  // card N: what the reader holds; card N none|blank|personalised [after MS]: a card goes in.
  std::string Card() {
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
  std::string Place() {
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
  std::string Device() {
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
  std::string Keys() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    const auto map = w_.size() == 3 || w_.size() == 5 ? ParseInRange(w_[2], 1, 2) : std::nullopt;
    if (!map) return Error("usage: keys N MAP [POSITION CODE], map 1 or 2");
    const int index = static_cast<int>(*map) - 1;
    if (w_.size() == 3) {
      std::vector<std::uint8_t> codes;
      for (int position = 1; position <= kKeyPositions; ++position) codes.push_back(reg->keyMaps.Code(index, position));
      return Ok(Hex(codes) + "\n");
    }
    const auto position = ParseInRange(w_[3], 1, kKeyPositions);
    const auto code = ParseInRange(w_[4], 0, 255);
    if (!position || !code) return Error("position 1-80, code 0-255");
    reg->keyMaps.SetCode(index, static_cast<int>(*position), static_cast<std::uint8_t>(*code));
    return Ok();
  }

  // A macro's sequence in hex, or set from decimal codes after "=".
  std::string MacroKeys() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    const auto number = w_.size() >= 3 ? ParseInRange(w_[2], 1, kMacroKeys) : std::nullopt;
    if (!number || (w_.size() > 3 && w_[3] != "=")) return Error("usage: macro N NUMBER [= CODE...], number 1-40");
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

  std::string Status() {
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

  std::string AddFault() {
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

  std::string QueueEvent() {
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
      const auto data = w_.size() == 4
                            ? ParseHex(w_[3])
                            : std::optional<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{});
      if (!code || !data || w_.size() > 4) return Error("usage: event N KIND [HEX]");
      event.kind = static_cast<std::uint8_t>(*code);
      event.data = *data;
    }
    if (!sim_.QueueEvent(event)) return Error("event refused (too long, or the queue is full)");
    // The built forms show the bytes they made.
    return Ok(kind == "line" || ParseNumber(kind) ? std::string() : Hex(event.data) + "\n");
  }

  // What the register printed, each line as printed.
  std::string Print() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    if (w_.size() == 3 && w_[2] == "clear") {
      reg->printer.Clear();
      return Ok();
    }
    if (w_.size() != 2) return Error("usage: print N [clear]");
    return Ok(reg->printer.Text());
  }

  // The rows of graphic dots printed, as a plain PBM image.
  std::string Pbm() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    if (w_.size() != 2) return Error("usage: pbm N");
    return Ok(reg->printer.Pbm());
  }

  // A logo slot read back as a PBM picture; the verdict on logo frames; the
  // bytes a logo slot holds.
  std::string Logo() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    const std::string usage = "usage: logo N pbm SLOT | logo N answer VALUE | logo N memory BYTES";
    if (w_.size() != 4) return Error(usage);
    if (w_[2] == "pbm") {
      const auto slot = ParseInRange(w_[3], 1, kLogoSlots);
      const std::string picture = slot ? reg->logos.Pbm(static_cast<int>(*slot)) : std::string();
      return picture.empty() ? Error("no packed logo in slot " + w_[3]) : Ok(picture);
    }
    if (const auto verdict = ParseInRange(w_[3], 0, 255); verdict && w_[2] == "answer") {
      reg->logos.verdict = static_cast<std::uint8_t>(*verdict);
      return Ok();
    }
    if (const auto bytes = ParseInRange(w_[3], 0, 1 << 24); bytes && w_[2] == "memory") {
      reg->logos.memory = static_cast<std::size_t>(*bytes);
      return Ok();
    }
    return Error(usage);
  }

  // The display lines shown, one "CODE TEXT" line each, and the last control byte.
  std::string Display() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    if (w_.size() != 2) return Error("usage: display N");
    std::string text;
    for (std::size_t code = 0; code < reg->display.size(); ++code) {
      if (!reg->display[code].empty()) text += std::to_string(code) + " " + reg->display[code] + "\n";
    }
    if (reg->displayControl >= 0) text += "control " + std::to_string(reg->displayControl) + "\n";
    return Ok(text);
  }

  std::string Log() {
    std::string error;
    SimRegister* reg = Reg(1, error);
    if (!reg) return error;
    if (w_.size() == 3 && w_[2] == "clear") {
      reg->ClearLog();
      return Ok();
    }
    if (w_.size() != 2) return Error("usage: log N [clear]");
    std::string out;
    for (const LoggedFrame& entry : reg->Log()) {
      out += std::to_string(entry.index) + " " + Hex(entry.frame) + " -> ";
      out += entry.reply.answered ? std::to_string(entry.reply.hostResult) + " " + Hex(entry.reply.answer)
                                  : "none";
      out += "\n";
    }
    return Ok(out);
  }

  Simulator& sim_;
  std::string_view line_;
  const Words& w_;
};

std::string RunLine(Simulator& sim, std::string_view line, bool configOnly) {
  if (line.size() > kMaxControlLine) return Error("line too long");
  const auto words = SplitWords(line);
  if (!words) return Error("unterminated quote");
  if (words->size() == 0) return Error("empty line");
  return Interpreter(sim, line, *words).Run(configOnly);
}

}  // namespace

std::string RunControlLine(Simulator& sim, std::string_view line) {
  return RunLine(sim, line, false);
}

bool LoadConfigText(Simulator& sim, std::string_view text, std::string& error) {
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') continue;
    const std::string reply = RunLine(sim, line, true);
    if (!reply.ends_with("OK\n")) {
      error = "line " + std::to_string(lineNumber) + ": " + reply.substr(0, reply.size() - 1);
      return false;
    }
  }
  return true;
}

bool LoadConfigFile(Simulator& sim, const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return LoadConfigText(sim, text, error);
}

}  // namespace ecrsim
