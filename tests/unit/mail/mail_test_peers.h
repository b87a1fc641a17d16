// Reading the mail tests' peers: their NAME=value files, the logs they keep,
// and the ECSmtp code a session ends in.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace mail_test {

using PeerValues = std::map<std::string, std::string>;

// Empty when the file is missing (the peer was not started).
PeerValues ReadPeerValues(const std::string& path);

// The text of a log once it holds `marker` (waits up to 10 s); what it holds
// by then otherwise.
std::string WaitForLog(const std::string& path, const std::string& marker);

// The first line of a log holding both texts, once there is one (waits up to
// 10 s); empty otherwise.
std::string WaitForLine(const std::string& path, const std::string& first, const std::string& second);

// 0 when the call raises nothing, else the ECSmtp code.
int SmtpCodeOf(const std::function<void()>& call);

// Points the mail client's TLS check at a CA file, or turns it off.
void SetMailSetting(const char* name, const std::string& value);
void ClearMailSettings();

}  // namespace mail_test
