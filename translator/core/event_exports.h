// The event exports: the host hands over the raw bytes of an unsolicited
// register message and gets text or values for its client back, and builds
// the reply to an external-file enquiry from the client's answer. Texts stay
// valid until the next call of the same export.
#pragma once

#include "export_api.h"

// A data-collection line: register text turned into PC text; written to the
// capture file too while one is open.
QUADREL_EXPORT const char* QUADREL_CALL Trad_DCXEvent(int ecr, const unsigned char* data, int len);

// A data-capture record as a text line (hex when EnableTradDC is 0, else
// edited in the DataCaptureFormat).
QUADREL_EXPORT const char* QUADREL_CALL Trad_DCYEvent(int ecr, const unsigned char* data, int len);

// Interaction data as hex digits.
QUADREL_EXPORT const char* QUADREL_CALL Trad_IEvent(int ecr, const unsigned char* data, int len);

// An external-file enquiry: `code` receives at most 20 characters and a zero.
QUADREL_EXPORT void QUADREL_CALL Trad_FileExtEnq(int ecr, const unsigned char* data, int len, int* status,
                                                 char* code, double* quantity);

// An external-file update: `code` receives at most 20 characters and a zero.
QUADREL_EXPORT void QUADREL_CALL Trad_FileExtUpd(int ecr, const unsigned char* data, int len, int* status,
                                                 char* code, double* value1, double* value2);

// The reply to an enquiry: `reply` (1024 bytes) receives the frame and
// `replyLength` its length.
QUADREL_EXPORT void QUADREL_CALL Trad_RispExtEnq(int ecr, unsigned kind, int textCode, const char* answer,
                                                 unsigned char* reply, int* replyLength);
