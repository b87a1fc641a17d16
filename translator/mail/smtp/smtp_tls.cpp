// CSmtp's TLS by OpenSSL on the connected socket: the context with the
// server check, the handshake, sending and receiving, and the cleanup.
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_tls_settings.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

constexpr std::int32_t kHandshakeSeconds = 180;
constexpr int kTlsPiece = 1024;

bool IsDottedAddress(const std::string& host) {
  std::uint32_t address = 0;
  return !host.empty() && host.find_first_not_of("0123456789.") == std::string::npos &&
         platform::ResolveIpv4(host, address);
}

// The system's trusted roots: where OpenSSL is the system's own, its default
// paths; else (Windows) the system's store alone, never the folders built
// into the library, which any user may create there.
void AddSystemRoots(SSL_CTX* context) {
  if (platform::TlsLibraryPathsAreTheSystems()) SSL_CTX_set_default_verify_paths(context);
  X509_STORE* store = SSL_CTX_get_cert_store(context);
  for (const std::string& der : platform::SystemRootCertificates()) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(der.data());
    X509* certificate = d2i_X509(nullptr, &bytes, static_cast<long>(der.size()));
    if (!certificate) continue;
    X509_STORE_add_cert(store, certificate);
    X509_free(certificate);
  }
}

}  // namespace

void CSmtp::TlsCreateContext() {
  if (tlsContext_) return;
  // No configuration file: through it OpenSSL would load any module it names.
  OPENSSL_init_ssl(
      OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS | OPENSSL_INIT_NO_LOAD_CONFIG,
      nullptr);
  SSL_CTX* context = SSL_CTX_new(TLS_client_method());
  if (!context) RaiseSmtp(kSmtpTlsFailed);
  SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
  MailTlsSettings settings = ReadMailTlsSettings();
  bool ready = true;
  if (settings.verifyServer) {
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    AddSystemRoots(context);
    // A CA file that is named but cannot be read is an error, not a silent
    // fall-back to the other roots.
    if (!settings.caFile.empty())
      ready = SSL_CTX_load_verify_locations(context, settings.caFile.c_str(), nullptr) == 1;
  } else {
    SSL_CTX_set_verify(context, SSL_VERIFY_NONE, nullptr);
  }
  if (!ready) {
    SSL_CTX_free(context);
    RaiseSmtp(kSmtpTlsFailed);
  }
  tlsContext_ = context;
}

void CSmtp::TlsHandshake() {
  TlsEndSession();
  if (!tlsContext_) RaiseSmtp(kSmtpTlsFailed);
  SSL* session = SSL_new(tlsContext_);
  if (!session) RaiseSmtp(kSmtpTlsFailed);
  tlsSession_ = session;
  bool bound = sockets_.BindTls(session, socket_);
  SSL_set_mode(session, SSL_MODE_AUTO_RETRY);
  // The certificate must name the host we asked for: by address or by name
  // (the name also goes out as SNI).
  if (IsDottedAddress(serverHost_)) {
    bound = bound && X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(session), serverHost_.c_str()) == 1;
  } else {
    bound = bound && SSL_set_tlsext_host_name(session, serverHost_.c_str()) == 1 &&
            SSL_set1_host(session, serverHost_.c_str()) == 1;
  }
  if (!bound) RaiseSmtp(kSmtpTlsFailed);
  const SmtpDeadline deadline(kHandshakeSeconds);
  for (;;) {
    int result = SSL_connect(session);
    if (result == 1) return;
    switch (SSL_get_error(session, result)) {
      case SSL_ERROR_WANT_READ:
        WaitFor(true, false, deadline.LeftMs());
        break;
      case SSL_ERROR_WANT_WRITE:
        WaitFor(false, true, deadline.LeftMs());
        break;
      default:
        ERR_clear_error();
        RaiseSmtp(kSmtpTlsFailed);
    }
  }
}

void CSmtp::TlsSendBuffer(const SmtpStepEntry& step, std::string_view text) {
  bool wantRead = false;
  while (!text.empty()) {
    WaitFor(wantRead, true, SmtpWaitMs(step.sendSeconds));
    int written = SSL_write(tlsSession_, text.data(), static_cast<int>(text.size()));
    if (written > 0) {
      text.remove_prefix(static_cast<std::size_t>(written));
      wantRead = false;
      continue;
    }
    switch (SSL_get_error(tlsSession_, written)) {
      case SSL_ERROR_WANT_READ:
        wantRead = true;
        break;
      case SSL_ERROR_WANT_WRITE:
        wantRead = false;
        break;
      default:
        ERR_clear_error();
        RaiseSmtp(kSmtpTlsFailed);
    }
  }
}

std::string CSmtp::TlsReceiveChunk(const SmtpDeadline& deadline) {
  std::string chunk;
  bool wantWrite = false;
  for (;;) {
    if (SSL_pending(tlsSession_) == 0) WaitFor(true, wantWrite, deadline.LeftMs());
    char piece[kTlsPiece];
    int read = SSL_read(tlsSession_, piece, sizeof piece);
    if (read > 0) {
      chunk.append(piece, static_cast<std::size_t>(read));
      if (chunk.size() > kSmtpMaxReply) RaiseSmtp(kSmtpReplyTooLong);
      if (SSL_pending(tlsSession_) == 0) return chunk;
      continue;
    }
    switch (SSL_get_error(tlsSession_, read)) {
      case SSL_ERROR_ZERO_RETURN:
      case SSL_ERROR_SYSCALL:  // closed without a TLS close notice
        ERR_clear_error();
        if (chunk.empty()) RaiseSmtp(kSmtpConnectionClosed);
        return chunk;
      case SSL_ERROR_WANT_READ:
        wantWrite = false;
        break;
      case SSL_ERROR_WANT_WRITE:
        wantWrite = true;
        break;
      default:
        ERR_clear_error();
        RaiseSmtp(kSmtpTlsFailed);
    }
  }
}

void CSmtp::TlsEndSession() {
  if (!tlsSession_) return;
  SSL_shutdown(tlsSession_);
  SSL_free(tlsSession_);
  tlsSession_ = nullptr;
  ERR_clear_error();
}

void CSmtp::TlsCleanup() {
  TlsEndSession();
  if (tlsContext_) SSL_CTX_free(tlsContext_);
  tlsContext_ = nullptr;
}

}  // namespace quadrel
