// How the mail client checks a TLS server, from the translator's HKLM settings:
// "MailCAFile" (a PEM file of further trusted roots) and "MailTlsVerify" ("0"
// turns the check off, which lets anyone in the middle read the credentials).
#pragma once

#include <string>

namespace quadrel {

struct MailTlsSettings {
  bool verifyServer = true;
  std::string caFile;
};

MailTlsSettings ReadMailTlsSettings();

}  // namespace quadrel
