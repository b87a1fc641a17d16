#include "mail/smtp/smtp_facade.h"

#include "mail/smtp/smtp_client.h"

namespace {

quadrel::CSmtp& Client(void* client) {
  return *static_cast<quadrel::CSmtp*>(client);
}

// A missing text is an empty one.
std::string_view Text(const char* text) {
  return text ? std::string_view(text) : std::string_view();
}

}  // namespace

extern "C" {

void* SmtpCreate() {
  return new quadrel::CSmtp();
}

void SmtpRelease(void* client) {
  delete static_cast<quadrel::CSmtp*>(client);
}

void SmtpSetServer(void* client, const char* host, int port, int authenticate) {
  Client(client).SetServerEndpoint(Text(host), static_cast<std::uint16_t>(port), authenticate != 0);
}

void SmtpSetSecurity(void* client, unsigned security) {
  if (security <= quadrel::kSmtpKeepSecurity) Client(client).SetSecurityType(static_cast<int>(security));
}

void SmtpSetUser(void* client, const char* user) {
  Client(client).SetAuthUser(Text(user));
}

void SmtpSetSecret(void* client, const char* secret) {
  Client(client).SetAuthSecret(Text(secret));
}

void SmtpSetFrom(void* client, const char* address) {
  Client(client).SetFromAddress(Text(address));
}

void SmtpSetSubject(void* client, const char* subject) {
  Client(client).SetSubjectLine(Text(subject));
}

void SmtpAddTo(void* client, const char* address, const char* displayName) {
  Client(client).AddToRecipient(address, displayName);
}

void SmtpSetMailer(void* client, const char* mailer) {
  Client(client).SetMailerHeader(Text(mailer));
}

void SmtpAddBodyLine(void* client, const char* text) {
  Client(client).AppendBodyLine(Text(text));
}

void SmtpAttachFile(void* client, const char* path) {
  Client(client).AttachFile(Text(path));
}

int SmtpSend(void* client) {
  try {
    Client(client).TransmitMessage();
    return 1;
  } catch (...) {
    return 0;
  }
}

int SmtpSendFailure(void* client) {
  return Client(client).LastSendFailure();
}

}  // extern "C"
