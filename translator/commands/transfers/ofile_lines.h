// An O-file record as the register sends it back, and the two line forms it
// is written in: separated values (the columns an O-file upload reads after
// its operation) and a command line of the O-file command.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "records/record_fields.h"

namespace quadrel {

// `body` starts at the kind byte. False when it is too short for its kind's
// layout: nothing is read past it.
bool OFileRecordFits(std::span<const std::uint8_t> body, const ArticleGeometry& geometry);

std::string OFileValuesLine(int number, std::span<const std::uint8_t> body, const ArticleGeometry& geometry);
std::string OFileCommandLine(int number, std::span<const std::uint8_t> body, const ArticleGeometry& geometry);

}  // namespace quadrel
