// How the form reads a logical port's number and what it offers for a port's
// files when none is stored.
#pragma once

#include <optional>
#include <string>

namespace lathwell {

// The error shown for a port number that is not one.
inline constexpr const char* kNotNumericPort = "Il valore di porta logica deve essere numerico";

// A whole text of decimal digits with an optional sign, within int.
std::optional<int> ParsePortNumber(const std::string& text);

// The errors shown at OK for an Ethernet port's address and TCP port.
inline constexpr const char* kNotAnIpAddress =
    "Il valore di indirizzo IP deve essere di quattro numeri da 0 a 255 separati da punti";
inline constexpr const char* kNotATcpPort = "Il valore di porta deve essere un numero da 1 a 65535";

// The text with every blank removed.
std::string WithoutBlanks(std::string text);

// Four numbers of one to three digits, 0 to 255, between dots; blanks are
// removed first, as the form stores the address without them.
bool IsIpAddress(const std::string& text);

// A TCP port of 1 to 65535 in decimal digits, blanks removed.
std::optional<int> ParseTcpPort(const std::string& text);

// Ports 1 to 999 are ours to list and store; other numbers belong to nobody.
bool IsStorablePort(int number);

// The port's protocol log: the stored name, or a file of the port's own when
// none is stored or the old shared default is.
std::string LogFileFor(const std::string& stored, const std::string& port);

// The spooler's command files of a port below the installation folder.
std::string DefaultSpoolerPattern(const std::string& installationDir, const std::string& port);

}  // namespace lathwell
