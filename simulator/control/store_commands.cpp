#include "control/store_commands.h"

#include <algorithm>

#include "config/word_parsing.h"

namespace ecrsim {
namespace {

bool AllDigits(const std::string& word, std::size_t count) {
  return word.size() == count && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// journal | journal date DDMMYY | journal time HHMM | journal closure N
std::string JournalCommand(Journal& journal, std::span<const std::string> args) {
  if (args.empty()) {
    return "date " + journal.date + " time " + journal.time + " closure " + std::to_string(journal.closure) +
           " documents " + std::to_string(journal.Documents().size()) + "\nOK\n";
  }
  if (args.size() == 2 && args[0] == "date" && AllDigits(args[1], 6)) {
    journal.date = args[1];
  } else if (args.size() == 2 && args[0] == "time" && AllDigits(args[1], 4)) {
    journal.time = args[1];
  } else if (const auto closure = args.size() == 2 && args[0] == "closure" ? ParseInRange(args[1], 1, 9999)
                                                                           : std::nullopt) {
    journal.closure = static_cast<int>(*closure);
  } else {
    return "ERROR usage: journal N [date DDMMYY | time HHMM | closure 1-9999]\n";
  }
  return "OK\n";
}

// xml | xml oldest INDEX | xml add TOTALS [OUTCOME] | xml send
std::string XmlCommand(XmlStore& store, std::span<const std::string> args) {
  if (args.empty()) {
    return "oldest " + std::to_string(store.OldestIndex()) + " documents " + std::to_string(store.Count()) + "\nOK\n";
  }
  if (const auto index = args.size() == 2 && args[0] == "oldest" ? ParseInRange(args[1], 0, 0xFFFF) : std::nullopt) {
    store.SetOldestIndex(static_cast<std::uint16_t>(*index));
  } else if ((args.size() == 2 || args.size() == 3) && args[0] == "add") {
    store.Add({args[1], args.size() == 3 ? args[2] : std::string(), std::nullopt});
  } else if (args.size() == 1 && args[0] == "send") {
    return std::to_string(store.SendPending()) + "\nOK\n";
  } else {
    return "ERROR usage: xml N [oldest INDEX | add TOTALS [OUTCOME] | send]\n";
  }
  return "OK\n";
}

}  // namespace

std::string RunStoreCommand(SimRegister& reg, const std::string& verb, std::span<const std::string> args) {
  return verb == "journal" ? JournalCommand(reg.journal, args) : XmlCommand(reg.xmlStore, args);
}

}  // namespace ecrsim
