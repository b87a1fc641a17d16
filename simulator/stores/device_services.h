// The device behind a scale port and the host's service requests it serves:
// it keeps each file transfer (77 totals, 78 tables: the kind, the host's
// text and the file's bytes) and answers queries (79) from a scripted table,
// each with a status and a delay.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace ecrsim {

// Status words of the device (the host adds its own, see the protocol library).
constexpr std::int32_t kServiceDone = 0;
constexpr std::int32_t kServiceUnknownQuery = 1;
constexpr std::int32_t kServiceNoTransfer = 2;  // a data or close step with no transfer open

constexpr std::size_t kMaxKeptTransfers = 32;  // older ones are dropped

struct DeviceTransfer {
  int service = 0;  // 77 or 78
  int kind = 0;
  std::int32_t entryWord = 0;
  std::string text;
  std::vector<std::uint8_t> bytes;
  bool closed = false;
  bool aborted = false;
};

struct ScriptedQuery {
  std::int32_t status = kServiceDone;
  int delayMs = 0;
  std::string answer;
};

struct ServiceAnswer {
  bool valid = false;  // false: a malformed message, answered with host result 4
  std::vector<std::uint8_t> payload;
  int delayMs = 0;
};

class DeviceServices {
 public:
  // One service message: its code (77, 78, 79), step and payload.
  ServiceAnswer Serve(int service, int step, std::span<const std::uint8_t> payload);

  const std::deque<DeviceTransfer>& Transfers() const { return transfers_; }
  // Queries by their text; an unscripted query is answered kServiceUnknownQuery at once.
  std::map<std::string, ScriptedQuery> queries;
  // The status a transfer of service 77 or 78 closes with (kServiceDone when not set).
  std::map<int, std::int32_t> closingStatus;
  // The last query's time-out and entry word as the host sent them.
  std::int32_t lastQueryTimeOut = 0;
  std::int32_t lastQueryEntryWord = 0;

 private:
  ServiceAnswer Query(std::span<const std::uint8_t> payload);

  std::deque<DeviceTransfer> transfers_;
};

}  // namespace ecrsim
