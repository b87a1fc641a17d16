// Command 72: the register's electronic journal into a text file, read
// directly block by block or captured from the echo of a journal report.
#pragma once

namespace quadrel {

// FeatureLevels entry with the register's journal-read level: 0 no direct
// read, 1 direct read by dates, 2 and above by closure numbers too.
constexpr int kFeatureJournalRead = 72;

int CmdJournalRead();

}  // namespace quadrel
