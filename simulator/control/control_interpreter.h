// The interpreter of the control language: one line's words and the verbs
// that act on the simulator, defined by what they touch in
// control_register_verbs.cpp, control_store_verbs.cpp and
// control_output_verbs.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator.h"

namespace ecrsim {

class ControlInterpreter {
 public:
  // Words of a command line; a word may quote parts with '"' to hold blanks. The
  // offset of each word in the line lets "text" take the rest of the line.
  struct Words {
    std::vector<std::string> words;
    std::vector<std::size_t> starts;
    std::size_t size() const { return words.size(); }
    const std::string& operator[](std::size_t i) const { return words[i]; }
  };
  static std::optional<Words> Split(std::string_view line);

  static std::string Ok(std::string output = {});
  static std::string Error(std::string_view reason);

  ControlInterpreter(Simulator& sim, std::string_view line, const Words& w) : sim_(sim), line_(line), w_(w) {}

  // The reply to the line; `configOnly` allows only the verbs of configuration files.
  std::string Run(bool configOnly);

 private:
  // Register `w_[index]`, or nullptr and the error reply.
  SimRegister* Reg(std::size_t index, std::string& error);

  // Registers, their configuration, status, faults and events (control_register_verbs.cpp).
  std::string AddRegister();
  std::string Remove();
  std::string List();
  std::string Set();
  std::string Get();
  std::string Status();
  std::string AddFault();
  std::string QueueEvent();

  // What the register stores: records, tables, settings, card, memory, device, keyboard
  // (control_store_verbs.cpp).
  std::string Store();
  std::string Record();
  std::string Records();
  std::string Collect();
  std::string TextTable();
  std::string Table();
  std::string Function();
  template <typename Lookup>
  std::string KeyedFields(const std::string& verb, Lookup lookup);
  std::string Parameter();
  std::string Card();
  std::string Place();
  std::string Device();
  std::string Keys();
  std::string MacroKeys();

  // What the register put out: printout, dots, logos, display, frame log (control_output_verbs.cpp).
  std::string Print();
  std::string Pbm();
  std::string Logo();
  std::string Display();
  std::string Log();

  Simulator& sim_;
  std::string_view line_;
  const Words& w_;
};

}  // namespace ecrsim
