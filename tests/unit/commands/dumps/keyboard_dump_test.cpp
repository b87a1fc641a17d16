// File 10 against a scripted register: the key maps line by line, by name or
// code, each macro key with its sequence read in between, the second map
// only where the register has one.
#include <string>
#include <vector>

#include "dump_fixture.h"

namespace quadrel {
namespace {

using namespace dump_test;

Exchange Map(int frame, std::string codes) { return {bytes({'C', frame}), bytes("C" + codes)}; }
Exchange Macro(int number, std::string keys) { return {bytes({'C', 1, number}), bytes("C" + keys)}; }

class KeyboardDump : public DumpTest {};

TEST_F(KeyboardDump, EachMapLineByLine) {
  const std::vector<Row> rows = {
      // 1 and 14 skipped; 12 and 150 have no name; MACRO1's sequence is empty.
      {"ARCHIVIO=10", Model('T', {}),
       {Map(0, "\x01\x0C\x0E\x31\xCA\x96\xC8"), Macro(3, "\x01\x91"), Macro(1, "")},
       {"TASTIERA1 POSIZIONE=2, CODICE=12", "TASTIERA1 POSIZIONE=4, CODICE=PAGAM1",
        "TASTIERA1 POSIZIONE=5, CODICE=MACRO3, SEQUENZA='CIFRA1 CONFERMA '", "TASTIERA1 POSIZIONE=6, CODICE=150",
        "TASTIERA1 POSIZIONE=7, CODICE=MACRO1, SEQUENZA=''"}},
      // The second map skips 12 too.
      {"ARCHIVIO=10, NUMERICO", Model('T', {95}),
       {Map(0, "\x0C\xCA"), Macro(3, "\x01\x91"), Map(9, std::string("\x0C\x31\x00", 3))},
       {"#43 #1=1, #2=12", "#43 #1=2, #2=202, #3='1 145 '", "#54 #1=2, #2=49"}},
      // A failed sequence read ends the dump with its code; the lines before it stay.
      {"ARCHIVIO=10, SESSIONE", Model('T', {95}), {Map(0, "\x31\xCB"), {bytes({'C', 1, 4}), bytes("X")}},
       {"APRIPROG FUNZIONE", "TASTIERA1 POSIZIONE=1, CODICE=PAGAM1", "CHIUDIPROG"}, 0x10000 | 'X'},
  };
  for (const Row& row : rows) Check(row);
}

TEST_F(KeyboardDump, ALongSequenceStaysOnOneLine) {
  std::string names;
  for (int i = 0; i < 99; ++i) names += "CIFRA1 ";
  Check({"ARCHIVIO=10", Model('T', {}), {Map(0, "\xC8"), Macro(1, std::string(99, '\x01'))},
         {"TASTIERA1 POSIZIONE=1, CODICE=MACRO1, SEQUENZA='" + names + "'"}});
}

}  // namespace
}  // namespace quadrel
