// CSmtp: one SMTP client with its own socket and, when asked for, its own TLS
// session; connect, greeting, EHLO, STARTTLS or TLS from the start, AUTH by
// LOGIN, PLAIN, CRAM-MD5 or DIGEST-MD5, and the message: sender, recipients,
// body lines and attachments sent as one MIME message. Failures are ECSmtp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mail/smtp/smtp_errors.h"
#include "mail/smtp/smtp_sockets.h"
#include "mail/smtp/smtp_steps.h"
#include "platform/platform.h"
#include "platform/sockets.h"

struct ssl_ctx_st;
struct ssl_st;

namespace quadrel {

// 0 plain; 1 STARTTLS after the first EHLO; 2 TLS from the start; 3, given to
// OpenSession, keeps the stored type.
enum SmtpSecurity : int { kSmtpPlain = 0, kSmtpStartTls = 1, kSmtpImplicitTls = 2, kSmtpKeepSecurity = 3 };

struct SmtpRecipient {
  std::string displayName;
  std::string address;
};

// The longest reply the session holds; a longer one raises 408.
inline constexpr std::size_t kSmtpMaxReply = 10239;

class CSmtp {
 public:
  // Raises 100, 101 or 107. The sockets must outlive the client.
  explicit CSmtp(SmtpSockets& sockets = SystemSmtpSockets());
  virtual ~CSmtp();
  CSmtp(const CSmtp&) = delete;
  CSmtp& operator=(const CSmtp&) = delete;

  const std::string& HostNameText() const { return localHostName_; }
  // The last complete reply received.
  const std::string& LastReply() const { return receiveBuffer_; }
  bool Connected() const { return connected_; }

  // Port 0 takes the "mail" service's port, else 25. An empty user or
  // password keeps the stored one.
  void OpenSession(const std::string& host, std::uint16_t port, int security, bool authenticate,
                   const std::string& user, const std::string& password);
  // Sends QUIT when connected and closes the socket; never raises.
  void CloseConnection() noexcept;

  // ---- the message ----
  // Texts are copied; CR and LF in the subject, mailer and display names
  // become blanks so that no text can add a header line.
  void SetFromAddress(std::string_view address) { fromAddress_ = address; }
  void SetSubjectLine(std::string_view subject);
  void SetMailerHeader(std::string_view mailer);
  void SetAuthUser(std::string_view user) { loginUser_ = user; }
  void SetAuthSecret(std::string_view secret) { password_ = secret; }
  void SetServerEndpoint(std::string_view host, std::uint16_t port, bool authenticate);
  void SetSecurityType(int security) { security_ = security; }
  int SecurityType() const { return security_; }
  // A missing or empty address, or one holding CR, LF, "<" or ">", raises 209.
  void AddToRecipient(const char* address, const char* displayName);
  void AttachFile(std::string_view path) { attachments_.emplace_back(path); }
  void AppendBodyLine(std::string_view text) { bodyLines_.emplace_back(text); }
  std::size_t BodyLineCount() const { return bodyLines_.size(); }
  const std::string& BodyLineAt(std::size_t index) const;  // 412 beyond the last line
  // The message header for `moment`: 409 for a moment that is no valid time,
  // 203 without a To recipient, 201 without a usable sender address.
  std::string ComposeHeader(const platform::LocalTime& moment) const;
  // Sends the message, opening a session when none is open; the session stays
  // open afterwards. Recipients, body lines and attachments are kept, so a
  // second call sends the same message again.
  void TransmitMessage();
  // The code that ended the last TransmitMessage; 0 when it was sent (or
  // when it failed on something else than an ECSmtp).
  int LastSendFailure() const { return lastSendFailure_; }

  // Reads one complete reply and raises the step's error code when its code
  // differs from the one the step expects.
  void AwaitReply(const SmtpStepEntry& step);

 protected:
  // Sends `text` and traces it, or `trace` in its place when that is given.
  void SendBuffer(const SmtpStepEntry& step, std::string_view text, std::string_view trace = {});

 private:
  void Connect(const std::string& host, std::uint16_t port);
  void GreetServer();
  void SendQuit();
  void UpgradeToTls();
  void Authenticate(const std::string& user, const std::string& password);
  void LoginByLogin();
  void LoginByPlain();
  void LoginByCramMd5();
  void LoginByDigestMd5();
  std::string ChallengeOfLastReply() const;
  void SendOneMessage();

  struct OpenAttachment;
  std::vector<OpenAttachment> OpenAttachments() const;
  void SendEnvelope();
  void SendMessageText(const std::string& header, std::vector<OpenAttachment>& files);
  void SendBodyLines();
  void SendAttachment(OpenAttachment& attachment);

  void PlainSendBuffer(const SmtpStepEntry& step, std::string_view text);
  std::string ReceiveChunk(const SmtpDeadline& deadline);
  std::string PlainReceiveChunk(const SmtpDeadline& deadline);
  void TlsSendBuffer(const SmtpStepEntry& step, std::string_view text);
  std::string TlsReceiveChunk(const SmtpDeadline& deadline);
  void WaitFor(bool forRead, bool forWrite, std::uint32_t timeoutMs);

  void TlsCreateContext();
  void TlsHandshake();
  void TlsEndSession();
  void TlsCleanup();

  SmtpSockets& sockets_;
  std::string localHostName_;
  std::string loginUser_;
  std::string password_;
  std::string serverHost_;
  std::uint16_t serverPort_ = 0;
  bool authenticate_ = true;
  std::string fromAddress_;
  std::string subject_;
  std::string mailer_;
  std::vector<SmtpRecipient> toRecipients_;
  std::vector<std::string> attachments_;
  std::vector<std::string> bodyLines_;
  std::string receiveBuffer_;
  platform::SocketHandle socket_ = platform::kNoSocket;
  bool connected_ = false;
  int security_ = kSmtpPlain;
  int lastSendFailure_ = 0;
  ssl_ctx_st* tlsContext_ = nullptr;
  ssl_st* tlsSession_ = nullptr;
};

}  // namespace quadrel
