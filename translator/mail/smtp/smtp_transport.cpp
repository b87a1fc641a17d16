// CSmtp's sending and receiving: select waits with the step's time-outs,
// plain or TLS, reading whole replies, and the debugger trace of both ways.
#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_reply.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

// The trace shows a line without its CR LF.
void Trace(std::string_view text) {
  while (text.ends_with('\n') || text.ends_with('\r')) text.remove_suffix(1);
  platform::DebugOutput(std::string(text).c_str());
}

}  // namespace

void CSmtp::WaitFor(bool forRead, bool forWrite, std::uint32_t timeoutMs) {
  switch (sockets_.Wait(socket_, forRead, forWrite, timeoutMs)) {
    case platform::WaitResult::Ready:
      return;
    case platform::WaitResult::TimedOut:
      RaiseSmtp(kSmtpTimedOut);
    case platform::WaitResult::Failed:
      RaiseSmtp(kSmtpWaitFailed);
  }
}

void CSmtp::SendBuffer(const SmtpStepEntry& step, std::string_view text, std::string_view trace) {
  if (socket_ == platform::kNoSocket) RaiseSmtp(kSmtpSendFailed);
  if (tlsSession_)
    TlsSendBuffer(step, text);
  else
    PlainSendBuffer(step, text);
  Trace(trace.empty() ? text : trace);
}

void CSmtp::PlainSendBuffer(const SmtpStepEntry& step, std::string_view text) {
  while (!text.empty()) {
    WaitFor(false, true, SmtpWaitMs(step.sendSeconds));
    long sent = sockets_.Send(socket_, text.data(), text.size());
    if (sent <= 0) RaiseSmtp(kSmtpSendFailed);
    text.remove_prefix(static_cast<std::size_t>(sent));
  }
}

std::string CSmtp::ReceiveChunk(const SmtpDeadline& deadline) {
  if (socket_ == platform::kNoSocket) RaiseSmtp(kSmtpReceiveFailed);
  return tlsSession_ ? TlsReceiveChunk(deadline) : PlainReceiveChunk(deadline);
}

std::string CSmtp::PlainReceiveChunk(const SmtpDeadline& deadline) {
  WaitFor(true, false, deadline.LeftMs());
  std::string chunk(kSmtpMaxReply, '\0');
  long received = sockets_.Receive(socket_, chunk.data(), chunk.size());
  if (received < 0) RaiseSmtp(kSmtpReceiveFailed);
  if (received == 0) RaiseSmtp(kSmtpConnectionClosed);
  chunk.resize(static_cast<std::size_t>(received));
  return chunk;
}

void CSmtp::AwaitReply(const SmtpStepEntry& step) {
  const SmtpDeadline deadline(step.receiveSeconds);
  std::string reply;
  std::optional<int> code;
  while (!code) {
    reply += ReceiveChunk(deadline);
    // A reply the receive buffer cannot hold is refused over either socket.
    if (reply.size() > kSmtpMaxReply) RaiseSmtp(kSmtpReplyTooLong);
    code = FinalReplyCode(reply);
  }
  receiveBuffer_ = std::move(reply);
  Trace(receiveBuffer_);
  if (*code != step.expectedReply) RaiseSmtp(step.errorCode);
}

}  // namespace quadrel
