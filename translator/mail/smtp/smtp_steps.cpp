#include "mail/smtp/smtp_steps.h"

#include <atomic>

#include "platform/platform.h"

namespace quadrel {

// id, send s, receive s, expected reply, error code.
const std::array<SmtpStepEntry, 16> SmtpStepTable = {{
    {0, 0, 300, 220, 402},     // server greeting
    {1, 300, 300, 250, 301},   // EHLO
    {2, 300, 300, 334, 302},   // AUTH PLAIN
    {3, 300, 300, 334, 303},   // AUTH LOGIN
    {4, 300, 300, 334, 304},   // AUTH CRAM-MD5
    {5, 300, 300, 334, 305},   // used by no exchange
    {6, 300, 300, 334, 306},   // AUTH DIGEST-MD5 and its response
    {7, 300, 300, 334, 407},   // login user (AUTH LOGIN)
    {8, 300, 300, 235, 406},   // password or final authentication answer
    {9, 300, 300, 250, 300},   // MAIL FROM
    {10, 300, 300, 250, 309},  // RCPT TO
    {11, 300, 120, 354, 307},  // DATA
    {12, 180, 0, 0, 415},      // message text
    {13, 180, 600, 250, 310},  // end of message
    {14, 300, 300, 221, 308},  // QUIT
    {15, 300, 300, 220, 413},  // STARTTLS
}};

const SmtpStepEntry* FindSmtpStep(std::int32_t id) {
  for (const SmtpStepEntry& entry : SmtpStepTable)
    if (entry.id == id) return &entry;
  return nullptr;
}

const SmtpStepEntry& SmtpStep(SmtpStepId id) {
  return *FindSmtpStep(id);
}

namespace {
std::atomic<std::uint32_t> millisecondsPerSecond{1000};
}

std::uint32_t SmtpWaitMs(std::int32_t seconds) {
  return static_cast<std::uint32_t>(seconds) * millisecondsPerSecond.load();
}

void ScaleSmtpWaitsForTests(std::uint32_t scale) {
  millisecondsPerSecond = scale;
}

SmtpDeadline::SmtpDeadline(std::int32_t seconds)
    : start_(platform::TickCount()), limitMs_(SmtpWaitMs(seconds)) {}

std::uint32_t SmtpDeadline::LeftMs() const {
  const std::uint32_t spent = platform::TickCount() - start_;  // unsigned: right across a wrap
  return spent >= limitMs_ ? 0 : limitMs_ - spent;
}

}  // namespace quadrel
