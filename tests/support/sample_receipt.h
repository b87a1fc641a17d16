// The receipt the end-to-end tests sell, in-process and through the COM
// server: its command lines and what the simulator prints for them on a
// fresh register (40 columns), and a printout as files hold it.
#pragma once

#include <string>
#include <string_view>

namespace quadrel_test {

// Three sales, a discount and two payments (card, then cash with change).
inline constexpr const char* kSampleReceiptLines[] = {
    "VENDITA REPARTO=1, PREZZO=2.50, QUANTITA=2, DESCRIZ='PANE'",
    "VENDITA REPARTO=2, PREZZO=1.20, DESCRIZ='LATTE'",
    "VENDITA REPARTO=3, PREZZO=4",
    "IMPORTO33 IMPORTO=0.70",
    "PAGA TIPO=3, IMPORTO=5",
    "PAGA IMPORTO=10",
};

inline constexpr const char* kSampleReceiptPrinted =
    "                 ECRSIM\n"
    "           SCONTRINO N. 0001\n"
    "  2 X 2.50\n"
    "PANE                                5.00\n"
    "LATTE                               1.20\n"
    "REPARTO 3                           4.00\n"
    "SCONTO                             -0.70\n"
    "TOTALE                              9.50\n"
    "CARTA                               5.00\n"
    "CONTANTI                           10.00\n"
    "RESTO                               5.50\n"
    "----------------------------------------\n";

// A printout as the files it is captured or journalled into hold it: CR LF lines.
inline std::string WithCrLf(std::string_view printed) {
  std::string text;
  for (const char c : printed) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return text;
}

}  // namespace quadrel_test
