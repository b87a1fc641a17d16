// The eight option exports: getters and setters of the options a host may
// change between command lines. Values are not checked here (command 48 checks).
#include "interfaces/translator_exports.h"

#include "state/library_state.h"

using quadrel::Library;

// Characters are returned sign-extended, as a char converts to int.
int QUADREL_CALL GetEnableTradDC() { return Library().options.EnableTradDC; }
int QUADREL_CALL SetEnableTradDC(int value) { return Library().options.EnableTradDC = value; }
int QUADREL_CALL GetQuoteChar() { return static_cast<signed char>(Library().options.QuoteChar); }
int QUADREL_CALL SetQuoteChar(char c) {
  Library().options.QuoteChar = c;
  return GetQuoteChar();
}
int QUADREL_CALL GetSeparatorChar() { return static_cast<signed char>(Library().options.SeparatorChar); }
int QUADREL_CALL SetSeparatorChar(char c) {
  Library().options.SeparatorChar = c;
  return GetSeparatorChar();
}
int QUADREL_CALL GetOutEditOptions() { return Library().options.OutEditOptions; }
int QUADREL_CALL SetOutEditOptions(int value) { return Library().options.OutEditOptions = value; }
