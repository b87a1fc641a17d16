// The SMTP session's protocol steps: time-outs and expected reply per step.
#pragma once

#include <array>
#include <cstdint>

namespace quadrel {

enum SmtpStepId : std::int32_t {
  kStepGreeting = 0,
  kStepEhlo = 1,
  kStepAuthPlain = 2,
  kStepAuthLogin = 3,
  kStepAuthCramMd5 = 4,
  kStepAuthDigestMd5 = 6,
  kStepLoginUser = 7,
  kStepAuthAnswer = 8,
  kStepMailFrom = 9,
  kStepRcptTo = 10,
  kStepData = 11,
  kStepMessageText = 12,
  kStepEndOfMessage = 13,
  kStepQuit = 14,
  kStepStartTls = 15,
};

struct SmtpStepEntry {
  std::int32_t id;
  std::int32_t sendSeconds;
  std::int32_t receiveSeconds;
  std::int32_t expectedReply;
  std::int32_t errorCode;
};

extern const std::array<SmtpStepEntry, 16> SmtpStepTable;

// The row of a step id; null for an id the table does not hold.
const SmtpStepEntry* FindSmtpStep(std::int32_t id);
// The row of a step the session knows it has.
const SmtpStepEntry& SmtpStep(SmtpStepId id);

// A wait of `seconds` in milliseconds. Tests shrink every wait of the session
// with ScaleSmtpWaitsForTests; nothing else changes the scale.
std::uint32_t SmtpWaitMs(std::int32_t seconds);
void ScaleSmtpWaitsForTests(std::uint32_t millisecondsPerSecond);

// One limit over all the waits of an exchange (a reply, a handshake), so a
// server that sends a byte now and then cannot stretch it without end.
class SmtpDeadline {
 public:
  explicit SmtpDeadline(std::int32_t seconds);
  // Milliseconds left; 0 once the limit has passed.
  std::uint32_t LeftMs() const;

 private:
  std::uint32_t start_;
  std::uint32_t limitMs_;
};

}  // namespace quadrel
