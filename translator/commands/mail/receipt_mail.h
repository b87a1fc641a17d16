// Command 75: the last receipt drawn as a picture and mailed, with the
// telephone number it was asked for as the mail's text.
#pragma once

#include <string>

namespace quadrel {

// Recorded by the command's #12, emptied by every run that reaches the mail
// or stops for missing parameters; kept for the life of the library.
std::string& MailPhoneNumber();

int CmdMailReceipt();

}  // namespace quadrel
