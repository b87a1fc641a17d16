// Barcodes drawn by the symbol library (zint): the kinds above 100 of the
// print-line commands, QR codes among them. zint encodes the data and renders
// a bitmap; its rows go to the KeyBatch as graphic print rows, output frames
// for command 22 and key records for command 21.
#pragma once

#include "commands/barcodes/barcode_library.h"
#include "commands/barcodes/linear_symbol.h"

namespace quadrel {

enum class ZintForm { KeyRecords = 0, OutputFrames = 1 };

// The adapter's parameter slots, in the order both commands give them.
enum ZintSlot : int {
  kZintScale,
  kZintHeight,
  kZintRotation,  // quarter turns
  kZintAlignment,
  kZintHumanReadable,
  kZintOption1,
  kZintOption2,
  kZintOption3,
  kZintBorderWidth,
  kZintInputMode,
  kZintPrimary,
  kZintOutputOptions,
  kZintData2,
  kZintData3,
  kZintData4,
  kZintData5,
  kZintDataFile,
  kZintSlotCount
};

struct ZintRequest {
  int kind = 0;       // above 100
  int dataSlot = 0;   // the data; kind 113 shortens it there
  int firstSlot = 0;  // the slot of kZintScale, the others following it
  int margin = 0;
  ZintForm form = ZintForm::OutputFrames;
  LineGeometry line;
  int graphicMode = 0;  // 1: output frames carry a repeat count
};

constexpr int kZintBlankRowsBefore = 5;
constexpr int kZintBlankRowsAfter = 25;

// Encodes, renders and queues the symbol: blank rows, the bitmap's rows top
// first, blank rows. 0; 281 when the symbol is wider than the line; 282 when
// the library is missing or fails; 265 for a slot that is not a number; 31
// when the rows do not fit the KeyBatch. On failure nothing is queued.
int RenderZintBarcode(const ZintCalls& zint, const ZintRequest& request);

}  // namespace quadrel
