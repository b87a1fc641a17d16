// Command 120: the last fiscal closure's data downloaded from the register,
// turned into the selected report files and mailed with them.
#pragma once

namespace quadrel {

// The work files of the closure's VAT rates and totals, in the current folder.
inline constexpr char kVatRatesWorkFile[] = "IVAEMAIL.DAT";
inline constexpr char kTotalsWorkFile[] = "TOTEMAIL.DAT";

int CmdMailClosure();

}  // namespace quadrel
