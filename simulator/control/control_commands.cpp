#include "control/control_commands.h"

#include <fstream>
#include <iterator>

#include "config/word_parsing.h"
#include "control/control_interpreter.h"

namespace ecrsim {
namespace {

constexpr const char* kHelp =
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

}  // namespace

std::optional<ControlInterpreter::Words> ControlInterpreter::Split(std::string_view line) {
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

std::string ControlInterpreter::Ok(std::string output) {
  return output + "OK\n";
}

std::string ControlInterpreter::Error(std::string_view reason) {
  return "ERROR " + std::string(reason) + "\n";
}

std::string ControlInterpreter::Run(bool configOnly) {
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

SimRegister* ControlInterpreter::Reg(std::size_t index, std::string& error) {
  if (w_.size() <= index) {
    error = Error("register number missing");
    return nullptr;
  }
  const auto number = ParseNumber(w_[index]);
  SimRegister* reg = number ? sim_.Find(static_cast<int>(*number)) : nullptr;
  if (!reg) error = Error("no register " + w_[index]);
  return reg;
}

namespace {

std::string RunLine(Simulator& sim, std::string_view line, bool configOnly) {
  if (line.size() > kMaxControlLine) return ControlInterpreter::Error("line too long");
  const auto words = ControlInterpreter::Split(line);
  if (!words) return ControlInterpreter::Error("unterminated quote");
  if (words->size() == 0) return ControlInterpreter::Error("empty line");
  return ControlInterpreter(sim, line, *words).Run(configOnly);
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
