// The texts of GetEcrConfStr: the host's status line, the counters of
// 'U' 0 23, the chip card, the extended status and the 'C' 20 values. Each
// is built fresh and comes back empty (nullopt) when it is not available.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

struct EcrConfigRecord;

// Longest texts, terminator not counted (the host may copy them into
// buffers of one more byte).
constexpr std::size_t kHostStatusTextChars = 80;
constexpr std::size_t kInfoCountersTextChars = 127;
constexpr std::size_t kSettingValuesTextChars = 127;

// 80 characters: protocol type, register count, selected register, the two
// host switches and the registers' flag digits. Needs the host-info record.
std::optional<std::string> HostStatusText();

// 'U' 0 23: counters and totals of the register, amounts `AmountBytes` wide.
std::optional<std::string> InfoCountersText(const EcrConfigRecord& record);

// Whether the line-state reply of command 71 (item 8) shows the reader in one
// of the states (49, 50 in its sixth comma-separated field) that need the
// register cleared before the reader answers again.
bool EnquiryShowsBlockedReader(std::string_view reply);

// ReadExtendedStatus's result when the host has no extended-status function.
constexpr int kNoExtendedStatus = -1;

// The host's extended status of CurrentEcr, with its trace lines: 0 with
// `bytes` filled, else the host's result (`bytes` empty).
int ReadExtendedStatus(std::vector<std::uint8_t>& bytes);

// The extended status as hex.
std::optional<std::string> ExtendedStatusHex();

// 'C' 20: the values of the register's setting block.
std::optional<std::string> SettingValuesText(const EcrConfigRecord& record);

}  // namespace quadrel
