// The eight option exports: getters and setters of the options a host may
// change between command lines. Values are not checked here (command 48 checks).
#pragma once

#include "export_api.h"

QUADREL_EXPORT int QUADREL_CALL GetEnableTradDC();
QUADREL_EXPORT int QUADREL_CALL SetEnableTradDC(int value);
QUADREL_EXPORT int QUADREL_CALL GetQuoteChar();
QUADREL_EXPORT int QUADREL_CALL SetQuoteChar(char c);
QUADREL_EXPORT int QUADREL_CALL GetSeparatorChar();
QUADREL_EXPORT int QUADREL_CALL SetSeparatorChar(char c);
QUADREL_EXPORT int QUADREL_CALL GetOutEditOptions();
QUADREL_EXPORT int QUADREL_CALL SetOutEditOptions(int value);
