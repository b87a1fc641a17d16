// The code and text GetLastProtocolError reports: the last failure of any call.
#pragma once

#include <string>

namespace prot {

void SetLastProtocolError(int code, const std::string& text);
void ClearLastProtocolError();
// Copies the text, cut to fit `size` bytes with its terminator.
int CopyLastProtocolError(char* text, std::size_t size);

}  // namespace prot
