// The print-line commands: one line of text, hex bytes or a linear barcode on
// the register's printer, sent at once as output frames (22) or queued as key
// records (21).
#pragma once

namespace quadrel {

// Command 22: #1 begin / #2 end of a printout, or the line of #3 (#8 the
// barcode kind, #10 the module width). 0, 265 or the exchange's error; the
// first failed frame ends it.
int CmdPrintLineOrBarcode();

// Command 21: the same lines as key records (#6 the barcode kind). The
// configuration is read first; its error is returned.
int CmdBarcodeRecords();

}  // namespace quadrel
