// Command 76: one fiscal closure's journal exported into a text file, with a
// checksum file beside it that shows later whether the text was changed.
#pragma once

#include <string>

namespace quadrel {

// The two files of an export: folder, a separator when the folder has none at
// its end, then id + "_" + closure + ".txt" (and ".sh1").
struct SignedExportNames {
  std::string journal, checksum;
};
SignedExportNames MakeSignedExportNames(const std::string& folder, const std::string& id,
                                        const std::string& closure);

int CmdJournalExportSigned();

}  // namespace quadrel
