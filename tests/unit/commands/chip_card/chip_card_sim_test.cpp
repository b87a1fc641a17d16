// The chip-card command against a simulated register: a blank card is
// personalised, pays in a sale and takes bookings while its balance follows;
// card values; the reader wait ends on the card, at once, or on an abort.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "sim_command_fixture.h"

namespace quadrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = ecrsim::ChipCard::Kind;

class ChipCardSim : public SimCommandTest {
 protected:
  const ecrsim::ChipCard& Card() { return Reg().chipCard; }
  int ReaderQueries() {
    int queries = 0;
    for (const auto& logged : Reg().Log()) queries += logged.frame == Bytes{'C', 4};
    return queries;
  }
};

TEST_F(ChipCardSim, ThePersonalisedCardsBalanceFollowsSalesAndBookings) {
  Reg().chipCard.Insert(Kind::Blank);
  ASSERT_EQ(Run("CHIPCARD OPERAZ=1, TIPO=2, CODICE='C1', NOME='ROSSI', NUMCARTA=12.5, CREDITO=20, "
                "RIGA1='BENVENUTO'"),
            0);
  EXPECT_EQ(Card().number, 1250);
  EXPECT_EQ(Card().ownerName, "ROSSI");
  EXPECT_EQ(Card().lines[0], "BENVENUTO");
  EXPECT_EQ(Card().balance, 2000);
  EXPECT_EQ(Run("CHIPCARD OPERAZ=1, TIPO=1"), 26);

  ASSERT_EQ(Run("CHIPCARD OPERAZ=2, PAGAMENTO=5.50"), 0);
  EXPECT_EQ(Card().balance, 1450);
  EXPECT_NE(Reg().printer.Text().find("SALDO"), std::string::npos);
  ASSERT_EQ(Run("CHIPCARD OPERAZ=2, PAGAMENTO=1, RESO"), 0);
  EXPECT_EQ(Card().balance, 1550);

  struct Row {
    const char* line;
    int result;
    std::int64_t balance;
  } rows[] = {
      {"CHIPCARD OPERAZ=4, ORIGINE=1250, IMPORTO1=-1000, IMPORTO2=0, NUMERO=1", 0, 2550},  // sign dropped
      {"CHIPCARD OPERAZ=5, ORIGINE=1250, IMPORTO1=3000, IMPORTO2=0, NUMERO=1", 25, 2550},  // no funds
      {"CHIPCARD OPERAZ=5, ORIGINE=1250, IMPORTO1=550, IMPORTO2=0, NUMERO=1", 0, 2000},
      {"CHIPCARD OPERAZ=6, ORIGINE=1250, IMPORTO1=-3, IMPORTO2=0, NUMERO=0", 0, 1997},
      {"CHIPCARD OPERAZ=7, ORIGINE=7, IMPORTO1=3, IMPORTO2=0, NUMERO=0", 25, 1997},  // another card
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Run(row.line), row.result) << row.line;
    EXPECT_EQ(Card().balance, row.balance) << row.line;
  }
  EXPECT_EQ(Run("CHIPCARD OPERAZ=10, ORIGINE=1250"), 0);
  EXPECT_EQ(Card().lastShortOperation, 28);
}

TEST_F(ChipCardSim, CardValuesAreKeptBySlot) {
  ASSERT_EQ(Run("CHIPCARD OPERAZ=3, INDICE=2, VALORE=1234567"), 0);
  EXPECT_EQ(Reg().Exchange(Bytes{'C', 14, 2, 0}).answer, (Bytes{'C', 0, 0x00, 0x01, 0x23, 0x45, 0x67}));
  EXPECT_EQ(Reg().Exchange(Bytes{'C', 14, 3, 0}).answer, (Bytes{'C', 0, 0, 0, 0, 0, 0}));
}

TEST_F(ChipCardSim, TheReaderWaitEndsOnTheCardAtOnceOrOnAnAbort) {
  Reg().chipCard.Insert(Kind::Blank, 400);
  EXPECT_EQ(Run("CHIPCARD OPERAZ=8"), 25);  // the short operations never wait
  EXPECT_EQ(ReaderQueries(), 1);

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run("CHIPCARD OPERAZ=1, TIPO=1, ATTENDI"), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(Card().InReader(), Kind::Personalised);

  Reg().chipCard.Insert(Kind::None);
  host_.progressTexts.clear();
  host_.onProgress = [](int call, int* abort) { *abort = call >= 3 ? 1 : 0; };
  EXPECT_EQ(Run("CHIPCARD OPERAZ=2, PAGAMENTO=1, ATTENDI=2"), 25);
  EXPECT_EQ(host_.progressTexts.size(), 3u);
}

}  // namespace
}  // namespace quadrel
