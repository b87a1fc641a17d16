// CSmtp's life and session: socket layer, connect, greeting, EHLO, STARTTLS,
// QUIT and closing.
#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_reply.h"

namespace quadrel {
namespace {

constexpr std::int32_t kConnectSeconds = 180;
constexpr std::uint16_t kSmtpPort = 25;
constexpr std::size_t kMaxHostName = 254;

[[noreturn]] void CloseAndRaise(SmtpSockets& sockets, platform::SocketHandle& socket, int code) {
  sockets.Close(socket);
  socket = platform::kNoSocket;
  RaiseSmtp(code);
}

}  // namespace

CSmtp::CSmtp(SmtpSockets& sockets) : sockets_(sockets) {
  std::uint16_t version = 0;
  if (!platform::StartSockets(version)) RaiseSmtp(kSmtpSocketLayerFailed);
  if (version != 0x0202) {
    platform::StopSockets();
    RaiseSmtp(kSmtpSocketLayerVersion);
  }
  if (!platform::LocalHostName(localHostName_)) {
    platform::StopSockets();
    RaiseSmtp(kSmtpNoLocalHostName);
  }
  if (localHostName_.size() > kMaxHostName) localHostName_.resize(kMaxHostName);
}

CSmtp::~CSmtp() {
  CloseConnection();
  TlsCleanup();
  platform::StopSockets();
}

void CSmtp::OpenSession(const std::string& host, std::uint16_t port, int security, bool authenticate,
                        const std::string& user, const std::string& password) {
  try {
    Connect(host, port);
    if (security != kSmtpKeepSecurity) security_ = security;
    if (security_ == kSmtpStartTls || security_ == kSmtpImplicitTls) TlsCreateContext();
    if (security_ == kSmtpImplicitTls) TlsHandshake();
    AwaitReply(SmtpStep(kStepGreeting));
    GreetServer();
    if (security_ == kSmtpStartTls) {
      UpgradeToTls();
      GreetServer();
    }
    if (authenticate && HasEhloKeyword(receiveBuffer_, "AUTH")) Authenticate(user, password);
  } catch (const ECSmtp&) {
    // A server that answered 530 has ended the session: no QUIT to it.
    if (receiveBuffer_.starts_with("530")) connected_ = false;
    CloseConnection();
    throw;
  }
}

void CSmtp::Connect(const std::string& host, std::uint16_t port) {
  CloseConnection();
  receiveBuffer_.clear();
  serverHost_ = host;
  if (port == 0) port = platform::ServicePort("mail");
  if (port == 0) port = kSmtpPort;

  socket_ = sockets_.Open();
  if (socket_ == platform::kNoSocket) RaiseSmtp(kSmtpNoSocket);
  std::uint32_t address = 0;
  if (!platform::ResolveIpv4(host, address)) CloseAndRaise(sockets_, socket_, kSmtpHostUnknown);
  if (!sockets_.MakeNonBlocking(socket_)) CloseAndRaise(sockets_, socket_, kSmtpNotNonBlocking);
  switch (sockets_.StartConnect(socket_, address, port)) {
    case platform::ConnectStart::Connected:
      return;
    case platform::ConnectStart::Failed:
      CloseAndRaise(sockets_, socket_, kSmtpConnectFailed);
    case platform::ConnectStart::Pending:
      break;
  }
  switch (sockets_.WaitConnected(socket_, SmtpWaitMs(kConnectSeconds))) {
    case platform::WaitResult::Ready:
      return;
    case platform::WaitResult::TimedOut:
      CloseAndRaise(sockets_, socket_, kSmtpConnectTimedOut);
    case platform::WaitResult::Failed:
      CloseAndRaise(sockets_, socket_, kSmtpWaitFailed);
  }
}

void CSmtp::GreetServer() {
  const std::string& name = localHostName_.empty() ? std::string("domain") : localHostName_;
  SendBuffer(SmtpStep(kStepEhlo), "EHLO " + name + "\r\n");
  AwaitReply(SmtpStep(kStepEhlo));
  connected_ = true;
}

void CSmtp::SendQuit() {
  // Cleared first: a QUIT that fails leaves no session to quit again.
  connected_ = false;
  SendBuffer(SmtpStep(kStepQuit), "QUIT\r\n");
  AwaitReply(SmtpStep(kStepQuit));
}

void CSmtp::UpgradeToTls() {
  if (!HasEhloKeyword(receiveBuffer_, "STARTTLS")) RaiseSmtp(kSmtpNoStartTls);
  SendBuffer(SmtpStep(kStepStartTls), "STARTTLS\r\n");
  AwaitReply(SmtpStep(kStepStartTls));
  TlsHandshake();
}

void CSmtp::CloseConnection() noexcept {
  if (connected_) {
    // The failure that brought us here, or none, is what the caller hears of;
    // a server that is already gone cannot take a QUIT.
    try {
      SendQuit();
    } catch (...) {
      connected_ = false;
    }
  }
  TlsEndSession();
  if (socket_ != platform::kNoSocket) {
    sockets_.Close(socket_);
    socket_ = platform::kNoSocket;
  }
}

}  // namespace quadrel
