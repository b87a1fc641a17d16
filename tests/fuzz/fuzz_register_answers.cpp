// What a register sends back, fuzzed: the first byte picks a command line of
// the table below (bit 7: the register's configuration, identity block and
// all, is read again from the answers), the rest answers every frame and
// extended-status call it makes (see AnswerStream): record reads, dumps,
// enquiry items, downloads of articles, O-files and data collection, journal
// and XML blocks. The configuration items are read out afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <span>

#include "interfaces/translator_exports.h"
#include "state/ecr_config.h"
#include "translator_host.h"

namespace {

constexpr std::uint32_t kConfigItems = 128;
constexpr std::size_t kLongestConfigText = 512;

constexpr const char* kCommands[] = {
    "SELEZIONA CASSA=1",
    "ARTICOLO CODICE=123, OPERAZ='LE'",
    "ARTICOLO CODICE=123, DESCRIZ='PEN', CLASSE='1D', PREZZO1=1.5, OPERAZ='MO'",
    "OFILE NUMERO=2, OPERAZ='LE'",
    "OFILE NUMERO=2, VAL1=5, OPERAZ='MO'",
    "SCARICA ARCHIVIO=0, NOMEFILE='dump.txt'",
    "SCARICA ARCHIVIO=5, NOMEFILE='dump.txt'",
    "SCARICA ARCHIVIO=21, NOMEFILE='dump.txt'",
    "SCARICA NOMEFILE='dump.txt'",
    "INFO VOCE=1", "INFO VOCE=5", "INFO VOCE=6", "INFO VOCE=10", "INFO VOCE=14", "INFO VOCE=19",
    "INFO VOCE=20", "INFO VOCE=3", "INFO VOCE=7",
    "TRASFER MODO='DA', FILE='da.txt'",
    "TRASFER MODO='DO', FILE='do.txt'",
    "TRASFER MODO='DM', FILE='dm.txt'",
    "TRASFER MODO='DT', FILE='dt.txt'",
    "TRASFER MODO='DF', FILE='df.txt'",
    "TRASFER MODO='DA', FILE='da.txt', COMANDI",
    "GIORNALE DADATA='010126', ADATA='311226', FILE='j.txt'",
    "GIORNALE DACHIUS=1, ACHIUS=3, FILE='j.txt'",
    "GIORNALE FILE='j.txt'",
    "ESPORTA CHIUSURA=7, CARTELLA='x'",
    "XML DA=1, A=2",
    "XML NUMERO=3",
    "REPORT NUMERO=1",
    "CHIUSURA",
    "CHIAVE X",
    "VENDITA REPARTO=1, PREZZO=1",
    "PAGA",
    "VERIFICA IMPORTO=12.5",
    "LOGO IMPOSTA",
    "CHIPCARD OPERAZ=1, TIPO=1",
    "REPARTO NUMERO=1, DESCRIZ='A'",
    "OPZIONI OPZ17=34",
    "RIPRISTINA",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::AnswerStream answers(std::span(data + 1, size - 1));
  fuzz::TranslatorHost host(&answers);
  if (data[0] & 0x80) quadrel::EcrRecord(1).EcrNumber = 0;
  host.Run(kCommands[(data[0] & 0x7F) % std::size(kCommands)]);
  for (std::uint32_t item = 0; item < kConfigItems; ++item) {
    GetEcrConfVal(item);
    if (const char* text = GetEcrConfStr(item); text && std::strlen(text) > kLongestConfigText) std::abort();
  }
  return 0;
}
