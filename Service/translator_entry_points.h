// The 19 exports of the translator library, in the order they are bound.
#pragma once

#include "export_api.h"

struct TranslatorEntryPoints {
  int(QUADREL_CALL* TradInit)(const char* ini, int flags, TradProgressProc, TradEcrIOProc) = nullptr;
  int(QUADREL_CALL* TradClose)() = nullptr;
  int(QUADREL_CALL* GetEnableTradDC)() = nullptr;
  int(QUADREL_CALL* SetEnableTradDC)(int) = nullptr;
  int(QUADREL_CALL* GetQuoteChar)() = nullptr;
  int(QUADREL_CALL* SetQuoteChar)(int) = nullptr;
  int(QUADREL_CALL* GetSeparatorChar)() = nullptr;
  int(QUADREL_CALL* SetSeparatorChar)(int) = nullptr;
  int(QUADREL_CALL* GetOutEditOptions)() = nullptr;
  int(QUADREL_CALL* SetOutEditOptions)(int) = nullptr;
  int(QUADREL_CALL* EcrCmd)(const char* line, char* answer) = nullptr;
  const char*(QUADREL_CALL* Trad_DCYEvent)(int ecr, const unsigned char* data, int len) = nullptr;
  const char*(QUADREL_CALL* Trad_DCXEvent)(int ecr, const unsigned char* data, int len) = nullptr;
  void(QUADREL_CALL* Trad_FileExtEnq)(int ecr, const unsigned char* data, int len, int* status, char* code,
                                      double* quantity) = nullptr;
  void(QUADREL_CALL* Trad_RispExtEnq)(int ecr, unsigned replyCode, int status, const char* replyText,
                                      unsigned char* out, int* outLen) = nullptr;
  void(QUADREL_CALL* Trad_FileExtUpd)(int ecr, const unsigned char* data, int len, int* status, char* code,
                                      double* first, double* second) = nullptr;
  const char*(QUADREL_CALL* Trad_IEvent)(int ecr, const unsigned char* data, int len) = nullptr;
  int(QUADREL_CALL* GetEcrConfVal)(unsigned id) = nullptr;
  const char*(QUADREL_CALL* GetEcrConfStr)(unsigned id) = nullptr;
};
