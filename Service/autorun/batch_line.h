// The line that runs one command file as a batch through the translator.
#pragma once

#include <string>

namespace ravelin {

// The separator the batch line is built for; the spooler sets it around the run.
inline constexpr char kDefaultSeparator = ',';

// "@ 'command', 'errors'": both names between `quote` characters, a quote
// inside a name doubled, so any name the file system allows (an apostrophe,
// a comma, a semicolon) reaches the batch runner whole. A quote character of
// 0 quotes nothing.
std::string BatchLine(const std::string& commandFile, const std::string& errorsFile, char quote);

}  // namespace ravelin
