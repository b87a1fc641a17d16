// The totals files end to end: what the simulated register's sales, card
// values, model-6 table and totals blocks hold comes back through command 3 line by line.
#include <functional>

#include "totals_sim_fixture.h"

namespace quadrel {
namespace {

class TotalsDumpsSim : public TotalsSimTest {};

TEST_F(TotalsDumpsSim, EachFileCarriesWhatTheRegisterHolds) {
  const auto sales = [this] {
    SellAndPay(
        {"VENDITA REPARTO=1, PREZZO=12.20", "VENDITA REPARTO=1, PREZZO=2", "VENDITA REPARTO=2, PREZZO=5.50"});
  };
  const auto cardValues = [this] {
    Reg().EditConfig().SetNumber(ecrsim::Area::Block3, 73, 2, 2);  // two value slots
    InvalidateAllEcrRecords();
    ASSERT_EQ(Run("#47 #1=3, #16=2, #15=123456789"), 0);
  };
  const auto table31 = [this] {
    Reg().EditConfig().SetFeatureLevel(105, 1);
    InvalidateAllEcrRecords();
    Reg().table31[7] = {0x00, 0x00, 0x12, 0x34, 0x05, 'T', 'E', 'A', ' ', ' ', ' '};
    Reg().table31[200] = {0x00, 0x98, 0x76, 0x54, 0x00, 'C', 'A', 'F', 'F', 'E', ' '};
  };
  const auto blocksByRecord = [this] {
    ecrsim::RegisterConfig& c = Reg().EditConfig();
    c.SetFeatureLevel(118, 1);
    c.SetNumber(ecrsim::Area::Block1, 13, 2, 0xE800);  // one block of two 1 + 4-byte entries
    c.SetNumber(ecrsim::Area::Block1, 15, 2, 10);
    c.SetNumber(ecrsim::Area::Block4, 36, 1, 1);
    c.SetNumber(ecrsim::Area::Block4, 61, 1, 1);
    Reg().placedMemory.Place(0xE800, {0x04, 0x00, 0x00, 0x01, 0x25, 0x07, 0x00, 0x00, 0x00, 0x50});
    InvalidateAllEcrRecords();
  };
  const std::vector<std::string> departments = {
      "TOTREPARTO REPARTO=1, QUANTITA=2.000, IMPORTO1=0, IMPORTO2=14.20",
      "TOTREPARTO REPARTO=2, QUANTITA=1.000, IMPORTO1=0, IMPORTO2=5.50"};
  struct Case {
    char model;
    std::function<void()> fill;
    std::string file;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {'T', sales, "20", {"TOTALI NUMERO=1, CONTATORE=3, IMPORTO=19.70"}},
      {'T', sales, "22", departments},
      {'7', sales, "22", departments},  // the totals area five bytes later on both sides
      {'T', cardValues, "30", {"1,0000000000", "2,0123456789"}},
      {'6',
       table31,
       "31, NUMERICO",
       {"#59 #1=7, #2=1234, #3=5, #4='TEA   '", "#59 #1=200, #2=987654, #3=0, #4='CAFFE '"}},
      {'T',
       blocksByRecord,
       "24",
       {"TOTBLOCCO BLOCCO=1, VOCE=1, CONTATORE=4, IMPORTO=1.25", "TOTBLOCCO BLOCCO=1, VOCE=2, CONTATORE=7, IMPORTO=0.50"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + " on model " + c.model);
    LayOut(c.model);
    c.fill();
    EXPECT_EQ(Dump(c.file), c.lines);
    ASSERT_EQ(Run("#27"), 0);
  }
}

}  // namespace
}  // namespace quadrel
