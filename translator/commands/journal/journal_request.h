// The parameters of command 72 checked and read into one request: the stretch
// of the journal (dates or closure numbers), the way it is read and the
// options of each way.
#pragma once

#include <string>

namespace quadrel {

struct JournalRequest {
  std::string fromDate, toDate;  // six digits each; empty when closures are used
  std::string fromTime = "0000", toTime = "2359";
  int fromDocument = 0, toDocument = 0;
  int fromClosure = 0, toClosure = 0;  // 0: the stretch is chosen by dates
  bool secondFamily = false;           // #5
  std::string outputFile;              // #6, empty: none
  bool bit7 = false, bit8 = false, bit9 = false;
  bool withTimes = false;      // #12
  bool direct = false;         // #13
  int documentKind = 0;        // #14
  bool optionBit0 = false;     // #15
  bool formFeedLines = false;  // #16
  int option = 0;              // #17

  bool ByClosures() const { return fromClosure != 0; }
};

// Checks the command's fields against the register's journal-read level and
// fills `request`. 0, 265 (a field of the wrong form or range, dates and
// closures both or neither), 259 (a combination the register cannot serve)
// or 5 (a way the register does not offer).
int ReadJournalRequest(int journalLevel, JournalRequest& request);

}  // namespace quadrel
