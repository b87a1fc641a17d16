// The register's report functions as its keyboard reaches them: the read (X)
// and resetting (Z) reports of key positions 2 and 3 over the day's totals,
// the daily closure (function 1 in position 3) that prints and journals its
// receipt, zeroes the day and files the day's XML document, the send function
// (99 in position 3) that sends the filed documents, and the journal reports
// of position 4 (160-177) that reprint a stretch of the journal once the
// dates and document numbers keyed after them are complete.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "printer/journal.h"
#include "printer/printer.h"
#include "till/till.h"
#include "till/xml_store.h"

namespace ecrsim {

constexpr int kReadPosition = 2;
constexpr int kJournalReportPosition = 4;
constexpr int kResetPosition = 3;
constexpr int kClosureFunction = 1;
constexpr int kSendFunction = 99;
constexpr int kFirstJournalReport = 160;
constexpr int kLastJournalReport = 177;

class ReportFunctions {
 public:
  ReportFunctions(Printer& printer, Journal& journal, Till& till, XmlStore& xml)
      : printer_(printer), journal_(journal), till_(till), xml_(xml) {}

  // Whether key position `position` has function `function`.
  static bool Offers(int position, int function);
  // Runs the function, or starts the journal report that waits for its
  // fields. 0, or the critical code the register reports.
  int Start(int position, int function);
  bool Collecting() const { return journalReport_ != 0; }
  // One field of the waiting journal report (digits as keyed); the report
  // prints once it has them all. 0 or a critical code.
  int Field(const std::string& entry);
  // The clear key or a key position change drops a report half keyed.
  void Cancel();

 private:
  int DayReport(int position, int function);
  int Closure();
  int Send();
  bool FieldsComplete() const;
  int PrintJournal();

  Printer& printer_;
  Journal& journal_;
  Till& till_;
  XmlStore& xml_;
  int journalReport_ = 0;
  std::vector<std::string> fields_;
};

}  // namespace ecrsim
