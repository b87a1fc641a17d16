// The programming tables the dump tests and the replay benchmark fill, in
// process and through the real DLL: register configurations that place every
// dumped table in memory, the command lines that program them, and the dump
// lines that write them out.
#pragma once

#include <algorithm>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "config/register_config.h"

namespace quadrel_test {

// Where and how long each table is in a sample register. Every table lies in
// its own page of the register's memory.
struct SampleGeometry {
  int decimals;
  int departments, descriptionBytes, groupBytes, priceBytes, departmentBytes;
  int table2Records, table2TextBytes, table2Bytes;
  int vatRates, vatBytes;
  int headerLines, headerBytes;
  bool nineDigitLine;
  int amountBytes, table15Records, table15Bytes, table15Extension;
  int table21Records, table21TextBytes;
  int groupBytesEach;  // 0: the register's ten-byte default
  std::vector<int> missingOptions;
  std::vector<std::pair<int, int>> features;  // level entry, level
};

// The option block: options in the order of their numbers, each as wide as
// its kind, none where `missing` says so. The bytes are 0 but for options 17
// and 18, which hold values the programming cannot key (hex digits A-F, and
// 18 is only ever confirmed), the same in every register of this configuration.
inline void LayOutSampleOptions(ecrsim::RegisterConfig& c, const SampleGeometry& g) {
  using ecrsim::Area;
  for (int i = 1; i <= ecrsim::kBlock2Bytes; ++i) c.SetNumber(Area::Block2, i, 1, 0);
  for (int i = 1; i <= ecrsim::kBlock5Bytes; ++i) c.SetNumber(Area::Block5, i, 1, 0xFF);
  int position = 0;
  for (int option = 1; option <= 28; ++option) {
    if (std::find(g.missingOptions.begin(), g.missingOptions.end(), option) != g.missingOptions.end())
      continue;
    c.SetNumber(Area::Block5, option + 1, 1, position);
    if (option == 17) c.SetBytes(Area::Block2, position + 1, {0x0A, 0x0F});
    if (option == 18) c.SetBytes(Area::Block2, position + 1, {0xAB, 0xCD});
    position += option == 1                    ? 3
                : option == 17 || option == 18 ? 2
                : option == 21 || option == 22 ? g.amountBytes
                                               : 1;
  }
}

inline ecrsim::RegisterConfig SampleConfig(const char* modelCode, const SampleGeometry& g) {
  using ecrsim::Area;
  ecrsim::RegisterConfig c = *ecrsim::BuiltInConfig("t72");
  c.SetText(Area::Identity, 69, 8, modelCode);
  c.SetNumber(Area::Identity, 62, 1, g.decimals);
  c.SetNumber(Area::Identity, 47, 1, g.departments);  // departments at 0xE200
  c.SetNumber(Area::Block1, 1, 2, 0xE200);
  c.SetNumber(Area::Block1, 3, 2, g.departmentBytes);
  c.SetNumber(Area::Block4, 38, 1, g.descriptionBytes);
  c.SetNumber(Area::Block4, 57, 1, g.groupBytes);
  c.SetNumber(Area::Block4, 40, 1, g.priceBytes);
  c.SetNumber(Area::Identity, 49, 2, g.table2Records);  // table 2 at 0xE300
  c.SetNumber(Area::Block1, 5, 2, 0xE300);
  c.SetNumber(Area::Block1, 7, 2, g.table2Bytes);
  c.SetNumber(Area::Block4, 39, 1, g.table2TextBytes);
  c.SetNumber(Area::Block4, 43, 1, g.vatRates);  // VAT rates at 0xE400
  c.SetNumber(Area::Block1, 9, 2, 0xE400);
  c.SetNumber(Area::Block1, 11, 2, g.vatBytes);
  c.SetNumber(Area::Block3, 23, 2, 0xE000);  // header lines
  c.SetNumber(Area::Block4, 37, 1, g.headerLines);
  c.SetNumber(Area::Block4, 33, 1, g.headerBytes);
  c.SetNumber(Area::Identity, 48, 1, g.nineDigitLine ? 1 : 0);
  c.SetNumber(Area::Block4, 35, 1, g.amountBytes);
  c.SetNumber(Area::Block4, 58, 1, g.table15Records);  // table 15 at 0xE500, the rest behind 'U' 0 0x20 4
  c.SetNumber(Area::Block1, 39, 2, 0xE500);
  c.SetNumber(Area::Block1, 41, 2, g.table15Bytes);
  c.SetNumber(Area::Ext31, 48, 2, g.table15Extension);
  c.SetNumber(Area::Ext31, 43, 2, g.table21Records);  // table 21 behind 'U' 0 0x20 2
  c.SetNumber(Area::Ext31, 78, 2, g.table21TextBytes);
  c.SetNumber(Area::Block1, 27, 2, 0xE600);  // currencies
  c.SetNumber(Area::Block1, 35, 2, 0xE700);  // groups
  c.SetNumber(Area::Block1, 37, 2, g.groupBytesEach);
  for (const auto& [entry, level] : g.features) c.SetFeatureLevel(entry, level);
  LayOutSampleOptions(c, g);
  return c;
}

// Model T: two departments with their group in the flag byte, a 14-digit
// code in table 2, the nine-digit line, every option.
inline ecrsim::RegisterConfig SampleTablesConfig() {
  return SampleConfig("T1RT072A",
                      {.decimals = 2,
                       .departments = 2,
                       .descriptionBytes = 6,
                       .groupBytes = 0,
                       .priceBytes = 3,
                       .departmentBytes = 16,
                       .table2Records = 1,
                       .table2TextBytes = 6,
                       .table2Bytes = 20,
                       .vatRates = 2,
                       .vatBytes = 4,
                       .headerLines = 2,
                       .headerBytes = 40,
                       .nineDigitLine = true,
                       .amountBytes = 6,
                       .table15Records = 1,
                       .table15Bytes = 20,
                       .table15Extension = 1,
                       .table21Records = 1,
                       .table21TextBytes = 4,
                       .groupBytesEach = 12,
                       .missingOptions = {},
                       .features = {{90, 1}, {57, 1}, {114, 1}, {95, 1}, {18, 1}, {41, 1}, {109, 1}}});
}

// Model 7: three decimals, longer department records with a group byte, the
// compact limit and every department switch, no nine-digit line and no option
// 27, other lengths everywhere.
inline ecrsim::RegisterConfig Model7TablesConfig() {
  return SampleConfig(
      "7100A45 ",
      {.decimals = 3,
       .departments = 3,
       .descriptionBytes = 10,
       .groupBytes = 3,
       .priceBytes = 4,
       .departmentBytes = 24,
       .table2Records = 2,
       .table2TextBytes = 8,
       .table2Bytes = 20,
       .vatRates = 3,
       .vatBytes = 2,
       .headerLines = 3,
       .headerBytes = 24,
       .nineDigitLine = false,
       .amountBytes = 5,
       .table15Records = 2,
       .table15Bytes = 18,
       .table15Extension = 1,
       .table21Records = 2,
       .table21TextBytes = 3,
       .groupBytesEach = 0,
       .missingOptions = {5, 27, 28},
       .features = {
           {57, 1}, {114, 1}, {18, 1}, {41, 1}, {31, 1}, {59, 1}, {81, 1}, {110, 1}, {111, 1}, {113, 1}}});
}

// Model M: table 2 read back by record number, two bytes more in each
// department record, the two extra groups of VAT rates.
inline ecrsim::RegisterConfig ModelMTablesConfig() {
  return SampleConfig("M100A45 ",
                      {.decimals = 2,
                       .departments = 2,
                       .descriptionBytes = 8,
                       .groupBytes = 0,
                       .priceBytes = 4,
                       .departmentBytes = 20,
                       .table2Records = 3,
                       .table2TextBytes = 7,
                       .table2Bytes = 24,
                       .vatRates = 2,
                       .vatBytes = 2,
                       .headerLines = 2,
                       .headerBytes = 32,
                       .nineDigitLine = false,
                       .amountBytes = 6,
                       .table15Records = 1,
                       .table15Bytes = 20,
                       .table15Extension = 1,
                       .table21Records = 1,
                       .table21TextBytes = 4,
                       .groupBytesEach = 12,
                       .missingOptions = {27, 28},
                       .features = {{90, 1}, {31, 1}, {57, 1}, {114, 1}, {18, 1}, {41, 1}}});
}

inline constexpr const char* kSampleTableLines[] = {
    "APRIPROG FUNZIONE",
    "REPARTO NUMERO=1, DESCRIZ='PANE', PREZZO=1.50, LIMITE=4, OPZ1=SI, GRUPPO=2",
    "REPARTO NUMERO=2, DESCRIZ='LATTE', PREZZO=0.99, GRUPPO=5",
    "TAB002 NUMERO=1, DESCRIZ='BAR', VALORE3=3, PREZZO=2.00, CODICE=12345678901234",
    "IVA NUMERO=1, ALIQUOTA=22.00",
    "IVA NUMERO=2, ALIQUOTA=4.00",
    "INTESTAZ RIGA1='CAFFE', RIGA2='BAR'",
    "TAB015 NUMERO=1, VALORE2=5, DESCRIZ='PROMO', VALORE4=2, IMPORTO=1.25, VALORE6=1",
    "TAB015 NUMERO=2, VALORE2=0",
    "TAB021 NUMERO=1, VALORE2=1, VALORE3=2, TESTO1='AA', TESTO2='BB', TESTO3='CC', "
    "TESTO4='NOTA', ALIQUOTA1=10.00, VALORE9=3, ALIQUOTA2=5.50",
    "OPZIONI OPZ01='EUR', OPZ02=12, OPZ03=SI, OPZ13=200, OPZ16=SI, OPZ17=1234, OPZ18=9999, OPZ21=1.5, "
    "OPZ22=20, OPZ26=SI, OPZ27='RIGA DI CORTESIA DEL NEGOZIO'",
    "VALUTA NUMERO=1, DESCRIZ='DOLLARO', CAMBIO=1.085, VALORE4=123, VALORE5=7",
    "VALUTA NUMERO=2, DESCRIZ='STERLINA', CAMBIO=0.86, VALORE4=4, VALORE5=1",
    "VALUTA NUMERO=3, DESCRIZ='FRANCO', CAMBIO=0.00",
    "VALUTA NUMERO=4, DESCRIZ='YEN', CAMBIO=160.5, VALORE4=999999, VALORE5=99",
    "VALUTA NUMERO=5, DESCRIZ='CORONA', CAMBIO=11.2",
    "GRUPPO NUMERO=1, DESCRIZ='PANETTERIA'",
    "GRUPPO NUMERO=2, DESCRIZ='LATTICINI'",
    "GRUPPO NUMERO=3, DESCRIZ='BAR'",
    "GRUPPO NUMERO=4, DESCRIZ='VARIE'",
    "GRUPPO NUMERO=5, DESCRIZ='X'",
    "MODIFICAT NUMERO=1, DESCRIZ='SCONTO', OPZ3=2, VALORE=10",
    "TAB251 VALORE1=1, VALORE2=2, VALORE3=3, VALORE4=4, TESTO='FINE'",
    "CHIUDIPROG"};

inline constexpr const char* kModel7TableLines[] = {
    "APRIPROG FUNZIONE",
    "REPARTO NUMERO=1, DESCRIZ='ACQUA', PREZZO=0.450, LIMITE=0.500, OPZ1=SI, CIFRA5=3, GRUPPO=12, OPZ2=SI, "
    "VALORE9=1234, VALORE10=7, OPZ3=SI, OPZ4=NO, OPZ5=SI",
    "REPARTO NUMERO=2, DESCRIZ='VINO ROSSO', PREZZO=12.000, LIMITE=90, OPZ2=SI, VALORE9=0, VALORE10=1, "
    "GRUPPO=1",
    "REPARTO NUMERO=3, DESCRIZ='X', PREZZO=0.00, LIMITE=0.001, OPZ4=SI",
    "TAB002 NUMERO=1, DESCRIZ='MENU', VALORE3=4, PREZZO=3.250, OPZ5=SI, VALORE7=98765, VALORE8=2",
    "TAB002 NUMERO=2, DESCRIZ='COPERTO', VALORE3=0, PREZZO=1.5, VALORE7=1, VALORE8=0",
    "IVA NUMERO=1, ALIQUOTA=22.00",
    "IVA NUMERO=2, ALIQUOTA=10.00",
    "IVA NUMERO=3, ALIQUOTA=0.00",
    "INTESTAZ RIGA1='TRATTORIA', RIGA2='DA MARIO', RIGA3='VIA ROMA 1'",
    "TAB015 NUMERO=1, VALORE2=3, DESCRIZ='SCONTO', VALORE4=1, IMPORTO=0.750, VALORE6=4, VALORE11=12",
    "TAB015 NUMERO=2, VALORE2=1, DESCRIZ='B', VALORE4=0, IMPORTO=2, VALORE6=0, VALORE11=0",
    "TAB015 NUMERO=3, VALORE2=2, DESCRIZ='EXTRA', VALORE4=9, IMPORTO=100, VALORE6=2, VALORE11=5",
    "TAB021 NUMERO=1, VALORE2=1, VALORE3=2, TESTO1='A', TESTO2='BCD', TESTO3='EF', "
    "TESTO4='NOTA DI 16 CHARS', ALIQUOTA1=10.00, VALORE9=3, ALIQUOTA2=5.50",
    "TAB021 NUMERO=2, VALORE2=0, VALORE3=0, TESTO1='Z', TESTO2='Y', TESTO3='X', TESTO4='W', ALIQUOTA1=0.00, "
    "VALORE9=0, ALIQUOTA2=22.00",
    "OPZIONI OPZ01='USD', OPZ02=3, OPZ07=45, OPZ13=9, OPZ21=12.345, OPZ22=0.5, OPZ24=SI",
    "VALUTA NUMERO=1, DESCRIZ='DOLLARO', CAMBIO=0.913, VALORE4=1, VALORE5=2",
    "VALUTA NUMERO=2, DESCRIZ='FRANCO', CAMBIO=1.05, VALORE4=0, VALORE5=0",
    "VALUTA NUMERO=3, DESCRIZ='A', CAMBIO=1",
    "VALUTA NUMERO=4, DESCRIZ='ULTIMA', CAMBIO=2.5",
    "GRUPPO NUMERO=1, DESCRIZ='CUCINA'",
    "GRUPPO NUMERO=2, DESCRIZ='CANTINA'",
    "GRUPPO NUMERO=3, DESCRIZ='BAR'",
    "GRUPPO NUMERO=4, DESCRIZ='ASPORTO'",
    "GRUPPO NUMERO=5, DESCRIZ='ALTRO'",
    "MODIFICAT NUMERO=2, DESCRIZ='MAGG', OPZ3=1, VALORE=5",
    "CHIUDIPROG"};

inline constexpr const char* kModelMTableLines[] = {
    "APRIPROG FUNZIONE",
    "REPARTO NUMERO=1, DESCRIZ='FORMAGGI', PREZZO=7.25, LIMITE=9, GRUPPO=3, CIFRA12=4, CIFRA13=7",
    "REPARTO NUMERO=2, DESCRIZ='OLIO', PREZZO=0.00, CIFRA12=0, CIFRA13=1",
    "TAB002 NUMERO=1, DESCRIZ='PIZZA', VALORE3=2, PREZZO=6.50, OPZ5=SI, CODICE=80012345678901",
    "TAB002 NUMERO=3, DESCRIZ='BIBITA', VALORE3=1, PREZZO=2.20, CODICE=1",
    "IVA NUMERO=1, ALIQUOTA=22.00",
    "IVA NUMERO=2, ALIQUOTA=10.00",
    "IVA GRUPPOA=3, ALIQUOTA=4.00",
    "IVA GRUPPOB=2, ALIQUOTA=5.00",
    "INTESTAZ RIGA1='PIZZERIA', RIGA2='NAPOLI'",
    "TAB015 NUMERO=1, VALORE2=2, DESCRIZ='MENU', VALORE4=1, IMPORTO=3.50, VALORE6=2",
    "OPZIONI OPZ01='EUR', OPZ02=4, OPZ13=15, OPZ21=2.5",
    "VALUTA NUMERO=1, DESCRIZ='DOLLARO', CAMBIO=1.1",
    "GRUPPO NUMERO=3, DESCRIZ='SALUMI'",
    "CHIUDIPROG"};

// A configuration, the lines that fill its tables and texts their dump must show.
struct SampleTables {
  const char* name;
  ecrsim::RegisterConfig (*config)();
  std::span<const char* const> lines;
  std::vector<std::string> dumped;
};

inline std::vector<SampleTables> AllSampleTables() {
  return {{"ModelT",
           SampleTablesConfig,
           kSampleTableLines,
           {"DESCRIZ='PANE  ', LIMITE=4, OPZ1=SI", "GRUPPO=5", "PREZZO=2.00, CODICE=12345678901234",
            "ALIQUOTA=22.00", "RIGA1='CAFFE ", "IMPORTO=1.25", "TESTO4='NOTA", "OPZ01='EUR', OPZ02=12",
            "OPZ13=200", "OPZ17='1234'", "OPZ18='ABCD'", "OPZ21=1.50, OPZ22=20.00", "OPZ27=SI",
            "DESCRIZ='YEN       ', CAMBIO=160.500, VALORE4=999999, VALORE5=99", "DESCRIZ='LATTICINI '"}},
          {"Model7",
           Model7TablesConfig,
           kModel7TableLines,
           {"LIMITE=0.500", "CIFRA5=3, PREZZO=0.450, GRUPPO=12, OPZ2=SI", "VALORE9=1234, VALORE10=7",
            "LIMITE=90.000", "OPZ5=SI, VALORE7=98765, VALORE8=2", "RIGA3='VIA ROMA 1", "VALORE11=12",
            "IMPORTO=100.000", "TESTO2='BCD'", "OPZ02=3", "OPZ07=45", "OPZ16=NO, OPZ17='0A0F'",
            "OPZ18='ABCD'", "OPZ21=12.345, OPZ22=0.500", "CAMBIO=0.913", "DESCRIZ='ASPORTO   '"}},
          {"ModelM",
           ModelMTablesConfig,
           kModelMTableLines,
           {"DESCRIZ='PIZZA  '", "PREZZO=6.50, OPZ5=SI, CODICE=80012345678901", "DESCRIZ='BIBITA '",
            "ALIQUOTA=4.00, GRUPPOA=3", "ALIQUOTA=5.00, GRUPPOB=2", "CIFRA12=4, CIFRA13=7", "RIGA2='NAPOLI"}}};
}

// Files 1-4, 6-9 and 11 with session lines, appended to `path`.
inline std::vector<std::string> SampleTableDumpLines(const std::string& path) {
  std::vector<std::string> lines;
  for (const char* file : {"1", "2", "3", "4", "6", "7", "8", "9", "11"})
    lines.push_back(std::string("SCARICA ARCHIVIO=") + file + ", SESSIONE, AGGIUNGI, NOMEFILE='" + path +
                    "'");
  return lines;
}

}  // namespace quadrel_test
