// Reading the mail tests' peers: their NAME=value files, the logs they keep,
// the messages they received, and the ECSmtp code a session ends in.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

// An empty folder of the system's temporary folder named after the running test.
std::filesystem::path FreshTestFolder();

// Writes `size` bytes of a pattern that differs with `seed`; returns the path.
std::string WriteFile(const std::string& path, std::size_t size, char seed = 0);

// The messages of a Maildir's new/ that hold `marker`, once there are
// `count` of them (waits up to 20 s); those found by then otherwise.
std::vector<std::string> WaitForMessages(const std::string& maildir, const std::string& marker,
                                         std::size_t count);
// The decoded bytes of the base64 attachment called `name` in a message.
std::string AttachmentBytes(const std::string& message, const std::string& name);

// 0 when the call raises nothing, else the ECSmtp code.
int SmtpCodeOf(const std::function<void()>& call);

// Points the mail client's TLS check at a CA file, or turns it off.
void SetMailSetting(const char* name, const std::string& value);
void ClearMailSettings();

}  // namespace mail_test
