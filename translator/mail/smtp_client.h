// CSmtp: one SMTP client session with its own socket and, when asked for, its
// own TLS session; connect, greeting, EHLO, STARTTLS or TLS from the start,
// and AUTH by LOGIN, PLAIN, CRAM-MD5 or DIGEST-MD5. Failures are ECSmtp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "mail/smtp_errors.h"
#include "mail/smtp_steps.h"
#include "platform/sockets.h"

struct ssl_ctx_st;
struct ssl_st;

namespace quadrel {

// 0 plain; 1 STARTTLS after the first EHLO; 2 TLS from the start; 3, given to
// OpenSession, keeps the stored type.
enum SmtpSecurity : int { kSmtpPlain = 0, kSmtpStartTls = 1, kSmtpImplicitTls = 2, kSmtpKeepSecurity = 3 };

// The longest reply the session holds; a longer one raises 408.
inline constexpr std::size_t kSmtpMaxReply = 10239;

class CSmtp {
 public:
  CSmtp();  // raises 100, 101 or 107
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
  void CloseConnection();

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

  void PlainSendBuffer(const SmtpStepEntry& step, std::string_view text);
  std::string ReceiveChunk(const SmtpStepEntry& step);
  std::string PlainReceiveChunk(const SmtpStepEntry& step);
  void TlsSendBuffer(const SmtpStepEntry& step, std::string_view text);
  std::string TlsReceiveChunk(const SmtpStepEntry& step);
  void WaitFor(bool forRead, bool forWrite, std::uint32_t timeoutMs);

  void TlsCreateContext();
  void TlsHandshake();
  void TlsEndSession();
  void TlsCleanup();

  std::string localHostName_;
  std::string loginUser_;
  std::string password_;
  std::string serverHost_;
  std::string receiveBuffer_;
  platform::SocketHandle socket_ = platform::kNoSocket;
  bool connected_ = false;
  int security_ = kSmtpPlain;
  ssl_ctx_st* tlsContext_ = nullptr;
  ssl_st* tlsSession_ = nullptr;
};

}  // namespace quadrel
