// Commands 26 (a register report, captured into a file when asked), 27 (the
// daily closure, with the XML send and the QR reprint of its receipt) and 28
// (the register's output settings, on one register or on all of them).
#pragma once

namespace quadrel {

int CmdPrintReport();
int CmdDailyClosure();
int CmdSetOutputSettings();

}  // namespace quadrel
