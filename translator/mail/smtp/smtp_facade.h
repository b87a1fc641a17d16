// The mail commands' road to the mail client: flat functions with C linkage
// over an untyped client handle. Internal to the translator, none exported.
// Only SmtpSend shields its caller (SmtpSendFailure then says why): every
// other failure leaves as ECSmtp.
#pragma once

extern "C" {

void* SmtpCreate();  // raises 100, 101 or 107
// Ends the client's session (QUIT when connected) and frees it; null is ignored.
void SmtpRelease(void* client);

void SmtpSetServer(void* client, const char* host, int port, int authenticate);
// 0 to 3 set the client's security type; any other value changes nothing.
void SmtpSetSecurity(void* client, unsigned security);
void SmtpSetUser(void* client, const char* user);
void SmtpSetSecret(void* client, const char* secret);
void SmtpSetFrom(void* client, const char* address);
void SmtpSetSubject(void* client, const char* subject);
void SmtpAddTo(void* client, const char* address, const char* displayName);  // raises 209
void SmtpSetMailer(void* client, const char* mailer);
void SmtpAddBodyLine(void* client, const char* text);
void SmtpAttachFile(void* client, const char* path);

// 1 when the message was sent, 0 when anything failed.
int SmtpSend(void* client);
// The mail client's code of the failure of the last SmtpSend; 0 after a
// message sent, or a failure that had no code.
int SmtpSendFailure(void* client);
}
