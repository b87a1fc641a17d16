// The register's state fields read with 'C' 11: the status record shown by
// the information enquiry and traced by the retry policy after a critical
// state.
#pragma once

#include <string>

namespace quadrel {

// Sends 'C' 11 and appends the state fields to `dst` as output fields
// (EditOutField), without a trailing separator. False when the read failed:
// nothing is appended and `error` holds the ResultCode. The answer stays in
// the FrameBuffer until the next frame.
bool ReadEcrStateFields(std::string& dst, int& error);

// The critical code of the 'C' 11 answer in the FrameBuffer: byte 2 when
// byte 1 signals a critical error (bit 2 or 3), else 0.
int StateAnswerCriticalCode();

}  // namespace quadrel
