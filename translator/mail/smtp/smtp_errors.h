// ECSmtp, the mail client's one failure type: it carries a code and no text.
#pragma once

namespace quadrel {

struct ECSmtp {
  int code;
};

// The codes the session raises itself; the step codes (300-310, 402, 406,
// 407, 413) come from the step table.
enum SmtpCode : int {
  kSmtpSocketLayerFailed = 100,
  kSmtpSocketLayerVersion = 101,
  kSmtpSendFailed = 102,
  kSmtpReceiveFailed = 103,
  kSmtpConnectFailed = 104,
  kSmtpHostUnknown = 105,
  kSmtpNoSocket = 106,
  kSmtpNoLocalHostName = 107,
  kSmtpNotNonBlocking = 108,
  kSmtpWaitFailed = 109,
  kSmtpNoSender = 201,
  kSmtpNoRecipient = 203,
  kSmtpNoLoginUser = 204,
  kSmtpNoPassword = 205,
  kSmtpDigestChallengeBad = 207,
  kSmtpNoPeerAddress = 208,
  kSmtpRecipientWithoutAddress = 209,
  kSmtpConnectionClosed = 400,
  kSmtpTimedOut = 402,
  kSmtpConnectTimedOut = 403,
  kSmtpAttachmentUnreadable = 404,
  kSmtpAttachmentsTooLarge = 405,
  kSmtpReplyTooLong = 408,
  kSmtpNoValidTime = 409,
  kSmtpBodyLineIndex = 412,
  kSmtpTlsFailed = 414,
  kSmtpNoStartTls = 416,
  kSmtpNoKnownMechanism = 417,
};

[[noreturn]] inline void RaiseSmtp(int code) {
  throw ECSmtp{code};
}

}  // namespace quadrel
