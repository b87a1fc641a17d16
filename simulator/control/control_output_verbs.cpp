// The control verbs for what the register put out: printout, dots, logos, display, frame log.
#include <cstdint>
#include <string>

#include "config/word_parsing.h"
#include "control/control_interpreter.h"

namespace ecrsim {

// What the register printed, each line as printed.
std::string ControlInterpreter::Print() {
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
std::string ControlInterpreter::Pbm() {
  std::string error;
  SimRegister* reg = Reg(1, error);
  if (!reg) return error;
  if (w_.size() != 2) return Error("usage: pbm N");
  return Ok(reg->printer.Pbm());
}

// A logo slot read back as a PBM picture; the verdict on logo frames; the
// bytes a logo slot holds.
std::string ControlInterpreter::Logo() {
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
std::string ControlInterpreter::Display() {
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

std::string ControlInterpreter::Log() {
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

}  // namespace ecrsim
