#include "till/report_functions.h"

#include <cstdio>
#include <cstdlib>

namespace ecrsim {
namespace {

constexpr int kLastDayReport = 16;
constexpr int kFirstRangeReport = 200;
constexpr int kLastRangeReport = 204;

bool WithTimes(int report) {
  return report == 166 || report == 167 || report == 177;
}
bool WithoutDocuments(int report) {
  return report == 161 || report == 171;
}

std::string Numbered(const char* format, int number) {
  char text[48];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

// A label on the left and a count on the right of a printed line.
std::string CountLine(const std::string& label, int count, int width) {
  const std::string number = std::to_string(count);
  const std::size_t room = width > 0 ? static_cast<std::size_t>(width) : 0;
  const std::size_t gap = room > label.size() + number.size() ? room - label.size() - number.size() : 1;
  return label + std::string(gap, ' ') + number;
}

// What is printed while it lives is one journal document.
class JournalDocumentScope {
 public:
  explicit JournalDocumentScope(Journal& journal) : journal_(journal) { journal_.BeginDocument(0); }
  ~JournalDocumentScope() { journal_.EndDocument(); }
  JournalDocumentScope(const JournalDocumentScope&) = delete;
  JournalDocumentScope& operator=(const JournalDocumentScope&) = delete;

 private:
  Journal& journal_;
};

}  // namespace

bool ReportFunctions::Offers(int position, int function) {
  if (position == kJournalReportPosition) return function >= kFirstJournalReport && function <= kLastJournalReport;
  if (position != kReadPosition && position != kResetPosition) return false;
  return (function >= 1 && function <= kLastDayReport) || function == kSendFunction ||
         (function >= kFirstRangeReport && function <= kLastRangeReport);
}

int ReportFunctions::Start(int position, int function) {
  if (printer_.fault) return printer_.fault;
  if (position == kResetPosition && function == kClosureFunction) return Closure();
  if (position == kResetPosition && function == kSendFunction) return Send();
  if (function >= kFirstJournalReport) {
    journalReport_ = function;
    fields_.clear();
    return 0;
  }
  return DayReport(position, function);
}

void ReportFunctions::Cancel() {
  journalReport_ = 0;
  fields_.clear();
}

int ReportFunctions::DayReport(int position, int function) {
  const JournalDocumentScope document(journal_);
  printer_.PrintCentred("ECRSIM");
  printer_.PrintCentred(function == 1 ? std::string("LETTURA GIORNALIERA") : Numbered("REPORT %d", function));
  if (position == kResetPosition) printer_.PrintCentred("AZZERAMENTO");
  const DayTotals& day = till_.totals.Day();
  printer_.Print(CountLine("SCONTRINI", day.receipts, printer_.width));
  printer_.PrintAmount("TOTALE GIORNO", day.total);
  printer_.PrintRule();
  return 0;
}

// The closure's receipt goes into the journal under the closure it ends;
// then the day starts again under the next closure number.
int ReportFunctions::Closure() {
  const int closure = journal_.closure;
  const DayTotals& day = till_.totals.Day();
  {
    const JournalDocumentScope document(journal_);
    printer_.PrintCentred("ECRSIM");
    printer_.PrintCentred("CHIUSURA GIORNALIERA");
    printer_.PrintCentred(Numbered("AZZERAMENTO N. %04d", closure));
    printer_.Print("DATA " + journal_.date + " ORA " + journal_.time);
    printer_.Print(CountLine("SCONTRINI", day.receipts, printer_.width));
    printer_.Print(CountLine("ANNULLATI", day.cancelled, printer_.width));
    printer_.PrintAmount("TOTALE GIORNO", day.total);
    printer_.PrintRule();
  }
  xml_.AddDaily(static_cast<std::uint16_t>(closure),
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Corrispettivi><Chiusura>" +
                    std::to_string(closure) + "</Chiusura><Data>" + journal_.date + "</Data><Scontrini>" +
                    std::to_string(day.receipts) + "</Scontrini><Totale>" + AmountText(day.total) +
                    "</Totale></Corrispettivi>\n");
  till_.totals.CloseDay();
  ++journal_.closure;
  return 0;
}

int ReportFunctions::Send() {
  const JournalDocumentScope document(journal_);
  printer_.PrintCentred("INVIO CORRISPETTIVI");
  printer_.Print(CountLine("DOCUMENTI INVIATI", xml_.SendPending(), printer_.width));
  return 0;
}

int ReportFunctions::Field(const std::string& entry) {
  fields_.push_back(entry);
  if (!FieldsComplete()) return 0;
  const int critical = PrintJournal();
  Cancel();
  return critical;
}

// From date, [from time], to date, [to time], then the two document numbers
// when the report takes times or when both dates are one day.
bool ReportFunctions::FieldsComplete() const {
  if (WithTimes(journalReport_)) return fields_.size() == 6;
  if (WithoutDocuments(journalReport_) || (fields_.size() == 2 && fields_[0] != fields_[1]))
    return fields_.size() == 2;
  return fields_.size() == 4;
}

// The stretch's lines as they were printed; the reprint itself is not journaled.
int ReportFunctions::PrintJournal() {
  if (printer_.fault) return printer_.fault;
  const bool times = WithTimes(journalReport_);
  JournalStretch stretch;
  stretch.from = Journal::DateKey(fields_[0], times ? fields_[1] : "0000");
  stretch.to = Journal::DateKey(fields_[times ? 2 : 1], times ? fields_[3] : "2359");
  const std::size_t documents = times ? 4 : 2;
  if (fields_.size() > documents) {
    stretch.fromDocument = std::atoi(fields_[documents].c_str());
    stretch.toDocument = std::atoi(fields_[documents + 1].c_str());
  }
  Journal* const keeping = printer_.journal;
  printer_.journal = nullptr;
  for (const JournalDocument* document : journal_.Documents(stretch))
    for (const std::string& line : document->lines) printer_.Print(line);
  printer_.journal = keeping;
  return 0;
}

}  // namespace ecrsim
