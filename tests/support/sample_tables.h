// The programming tables the dump tests fill, in-process and through the
// real DLL: a register configuration that places every table in memory, the
// command lines that program them, and the dump lines that write them out.
#pragma once

#include <string>
#include <vector>

#include "register_config.h"

namespace quadrel_test {

inline ecrsim::RegisterConfig SampleTablesConfig() {
  using ecrsim::Area;
  ecrsim::RegisterConfig c = *ecrsim::BuiltInConfig("t72");
  c.SetNumber(Area::Identity, 62, 1, 2);  // decimals
  c.SetNumber(Area::Identity, 47, 1, 2);  // departments: 16 bytes at 0xE200
  c.SetNumber(Area::Block1, 1, 2, 0xE200);
  c.SetNumber(Area::Block1, 3, 2, 16);
  c.SetNumber(Area::Block4, 38, 1, 6);
  c.SetNumber(Area::Block4, 40, 1, 3);
  c.SetNumber(Area::Identity, 49, 2, 1);  // table 2: 20 bytes at 0xE300, with a 14-digit code
  c.SetFeatureLevel(90, 1);
  c.SetNumber(Area::Block1, 5, 2, 0xE300);
  c.SetNumber(Area::Block1, 7, 2, 20);
  c.SetNumber(Area::Block4, 39, 1, 6);
  c.SetNumber(Area::Block4, 43, 1, 2);  // VAT rates at 0xE400
  c.SetNumber(Area::Block1, 9, 2, 0xE400);
  c.SetNumber(Area::Block1, 11, 2, 4);
  c.SetNumber(Area::Block3, 23, 2, 0xE000);  // two header lines
  c.SetNumber(Area::Block4, 37, 1, 2);
  c.SetFeatureLevel(57, 1);  // table 15: one record of 20 bytes at 0xE500, one more behind 'U' 0 0x20 4
  c.SetNumber(Area::Block4, 58, 1, 1);
  c.SetNumber(Area::Block1, 39, 2, 0xE500);
  c.SetNumber(Area::Block1, 41, 2, 20);
  c.SetFeatureLevel(114, 1);
  c.SetNumber(Area::Ext31, 48, 2, 1);
  c.SetNumber(Area::Ext31, 43, 2, 1);  // table 21: one record, texts of 4
  c.SetNumber(Area::Ext31, 78, 2, 4);
  c.SetFeatureLevel(95, 1);  // a second key map
  return c;
}

inline constexpr const char* kSampleTableLines[] = {
    "APRIPROG FUNZIONE",
    "REPARTO NUMERO=1, DESCRIZ='PANE', PREZZO=1.50, LIMITE=4, OPZ1=SI",
    "REPARTO NUMERO=2, DESCRIZ='LATTE', PREZZO=0.99",
    "TAB002 NUMERO=1, DESCRIZ='BAR', VALORE3=3, PREZZO=2.00, CODICE=12345678901234",
    "IVA NUMERO=1, ALIQUOTA=22.00",
    "IVA NUMERO=2, ALIQUOTA=4.00",
    "INTESTAZ RIGA1='CAFFE', RIGA2='BAR'",
    "TAB015 NUMERO=1, VALORE2=5, DESCRIZ='PROMO', VALORE4=2, IMPORTO=1.25, VALORE6=1",
    "TAB015 NUMERO=2, VALORE2=0",
    "TAB021 NUMERO=1, VALORE2=1, VALORE3=2, TESTO1='AA', TESTO2='BB', TESTO3='CC', "
    "TESTO4='NOTA', ALIQUOTA1=10.00, VALORE9=3, ALIQUOTA2=5.50",
    "CHIUDIPROG"};

// Files 1-4, 9 and 11 with session lines, appended to `path`.
inline std::vector<std::string> SampleTableDumpLines(const std::string& path) {
  std::vector<std::string> lines;
  for (const char* file : {"1", "2", "3", "4", "9", "11"})
    lines.push_back(std::string("SCARICA ARCHIVIO=") + file + ", SESSIONE, AGGIUNGI, NOMEFILE='" + path +
                    "'");
  return lines;
}

}  // namespace quadrel_test
