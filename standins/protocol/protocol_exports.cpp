// The 15 functions of a protocol library. Each one catches everything: no
// exception crosses into the host.
#include <span>

#include "host_services.h"
#include "last_error.h"
#include "protocol_api.h"

using namespace prot;

namespace {

constexpr int kMaxWireRegister = 255;

void NoteExchangeFailure(const ExchangeResult& r) {
  if (!r.local) {
    SetLastProtocolError(kErrRegister,
                         "register result " + std::to_string(r.result) + " detail " + std::to_string(r.detail));
    return;
  }
  switch (r.detail) {
    case kDetailTimeOut: SetLastProtocolError(kErrTimeOut, "no answer in time"); break;
    case kDetailNotOpen: SetLastProtocolError(kErrNotOpen, "port not open"); break;
    case kDetailLineLost: SetLastProtocolError(kErrLineLost, "line lost"); break;
    case kDetailSendFailed: SetLastProtocolError(kErrSend, "sending failed"); break;
    case kDetailAnswerTooLong: SetLastProtocolError(kErrAnswerTooLong, "answer longer than the buffer"); break;
    default: break;
  }
}

bool ValidFrame(int ecr, const void* data, int length) {
  return ecr >= 0 && ecr <= kMaxWireRegister && data && length >= 1 && length <= kMaxFrame;
}

}  // namespace

extern "C" {

void PROT_CALL GetLastProtocolError(int* code, char* text) {
  const int value = CopyLastProtocolError(text, kMaxErrorText);
  if (code) *code = value;
}

int PROT_CALL OpenProt(const char* portKeyPath, const char*) {
  try {
    PortSettings settings;
    std::string error;
    if (!ReadPortSettings(portKeyPath, settings, error)) {
      SetLastProtocolError(settings.portType.empty() ? kErrNoPortKey : kErrBadSettings, error);
      return 0;
    }
    if (!Link().Open(settings, error)) {
      SetLastProtocolError(kErrConnect, error);
      return 0;
    }
    PrepareHostInfo(settings);
    ClearLastProtocolError();
    return 1;
  } catch (...) {
    SetLastProtocolError(kErrConnect, "out of memory");
    return 0;
  }
}

// 1: how many times the line has been connected since OpenProt; 2 and 3 have
// no counterpart in our transport.
int PROT_CALL GetClient(int n) { return n == 1 ? Link().Generation() : 0; }

void PROT_CALL CloseProt(int) {
  try {
    Link().Close();
  } catch (...) {
  }
}

int PROT_CALL SetOnRxEvent(ProtEventProc callback) {
  Link().SetRxCallback(callback);
  return 1;
}

int PROT_CALL SetOnNetChangeEvent(ProtEventProc callback) {
  Link().SetNetChangeCallback(callback);
  return 1;
}

// Kept for hosts that bind it; our transport has no separate raw-message notice.
int PROT_CALL SetMessRxEvent(ProtEventProc) { return 1; }

int PROT_CALL SendData(int ecr, const void* data, int length) {
  try {
    if (!ValidFrame(ecr, data, length)) {
      SetLastProtocolError(kErrBadArgument, "SendData: no data, or more than 512 bytes");
      return 0;
    }
    if (!Link().SendOnly(ecr, 3, {static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(length)})) {
      SetLastProtocolError(Link().IsOpen() ? kErrSend : kErrNotOpen, "SendData: not sent");
      return 0;
    }
    return 1;
  } catch (...) {
    return 0;
  }
}

// *outLen is the capacity of `out` on entry and the answer's length on return.
int PROT_CALL EcrIO(int ecrOrRequest, int mode, void* in, int inLen, void* out, int* outLen, int* detail) {
  try {
    if (ecrOrRequest < 0) return ServeRequest(ecrOrRequest, mode, in, inLen, out, outLen, detail);
    int ignoredDetail = 0;
    int& detailOut = detail ? *detail : ignoredDetail;
    if (!ValidFrame(ecrOrRequest, in, inLen) || !out || !outLen) {
      if (outLen) *outLen = 0;
      detailOut = kDetailBadFrame;
      SetLastProtocolError(kErrBadArgument, "EcrIO: no frame, more than 512 bytes, or no answer buffer");
      return kResultRequestError;
    }
    const int capacity = *outLen > 0 ? *outLen : 0;
    const ExchangeResult r = Link().Exchange(ecrOrRequest, mode,
                                             {static_cast<const std::uint8_t*>(in), static_cast<std::size_t>(inLen)},
                                             static_cast<std::uint8_t*>(out), capacity);
    *outLen = r.answerLength;
    detailOut = r.detail;
    if (r.result != kResultAnswered) NoteExchangeFailure(r);
    return r.result;
  } catch (...) {
    return kResultRequestError;
  }
}

int PROT_CALL EcrBrdcIO(int mode, const void* frame, int length, int ecrCount, int answerSize, void* answers,
                        int* answerLengths, int* statusCodes) {
  try {
    return HostBroadcastIO(mode, frame, length, ecrCount, answerSize, answers, answerLengths, statusCodes);
  } catch (...) {
    return 2;
  }
}

int PROT_CALL GetEcrMessage(int index, TEcrMessage* message) {
  if (!message) return 0;
  return Link().GetMessage(index, *message) ? 1 : 0;
}

// Answers are handed back by EcrIO itself; nothing is kept for a later call.
int PROT_CALL GetEcrAnswer(int, void*, int* length) {
  if (length) *length = 0;
  return 0;
}

// The register's status bytes 1-4 (state, critical code, transaction flags,
// reserved) from a fresh 'S' exchange, the state in the low byte.
int PROT_CALL GetEcrIStatus(int ecr, int* status) {
  try {
    if (!status || ecr < 0 || ecr > kMaxWireRegister) {
      SetLastProtocolError(kErrBadArgument, "GetEcrIStatus: no status word or no such register");
      return 0;
    }
    const std::uint8_t frame[] = {'S'};
    std::uint8_t answer[kMaxFrame];
    const ExchangeResult r = Link().Exchange(ecr, 3, frame, answer, kMaxFrame);
    if (r.result != kResultAnswered) {
      NoteExchangeFailure(r);
      return 0;
    }
    if (r.answerLength < 5 || answer[0] != 'S') {
      SetLastProtocolError(kErrRegister, "status answer malformed");
      return 0;
    }
    *status = answer[1] | answer[2] << 8 | answer[3] << 16 | answer[4] << 24;
    return 1;
  } catch (...) {
    return 0;
  }
}

int PROT_CALL GetByteCount() { return Link().TakeByteCount(); }

// Extended-status requests are answered through EcrIO's 'S' frames in our transport.
int PROT_CALL SendStExRq(int) { return 0; }

}  // extern "C"
