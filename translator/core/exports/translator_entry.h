// Life cycle of the translator: attach (once per process), TradInit at every
// port open, TradClose at port close, detach at process end.
#pragma once

#include "interfaces/translator_exports.h"

namespace quadrel {

constexpr int kTradInitReady = 0;
constexpr int kTradInitDefinitionFileFailed = 2;
constexpr int kTradInitNoHost = 4;

int AttachTranslator();
void DetachTranslator();

}  // namespace quadrel

