// Texts printed inside a document: the two text fields (19) and a text line
// (20), each a text-line record.
#pragma once

namespace quadrel {

// Command 19: #1 and #2 as text lines of kind 2 (subs 0 and 1), each when
// given. The configuration is read first; its error is returned.
int CmdTextFields();

// Command 20: #1 as a text line of kind 3; nothing without #1. The
// configuration is read first; its error is returned.
int CmdTextLine();

}  // namespace quadrel
