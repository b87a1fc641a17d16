// The record closure report (rtlf): one "|"-delimited record per totals line,
// numbered "001" to "009" by kind; the first record gathers the date line,
// the day's total and the number of receipts.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "mail/closure/closure_modules.h"

namespace quadrel {
namespace {

// "|a|b|...|" for the given values.
std::string PipeRecord(std::initializer_list<std::string_view> values) {
  std::string record = "|";
  for (const std::string_view value : values) record.append(value).append("|");
  return record;
}

class RtlfWriter final : public ClosureWriter {
 public:
  RtlfWriter() : ClosureWriter("rtlf") {}

  void Begin(const ClosureRunStart& start) override {
    ClosureWriter::Begin(start);
    firstRecord_.clear();
  }

  int Line(const ClosureLine& line) override {
    const ClosureFields& f = line.fields;
    const std::int64_t code = LeadingNumber(f[0]);
    const ClosureRecordKind kind = ClassifyClosureRecord(code);
    if (kind.record == ClosureRecord::Date) return StartFirstRecord(f[1]);
    if (!IsOpen()) return -1;
    switch (kind.record) {
      case ClosureRecord::DayTotal:
        firstRecord_.append("|").append(f[1]);
        return 0;
      case ClosureRecord::Receipts: {
        const std::string record = firstRecord_ + PipeRecord({f[1]});
        firstRecord_.clear();
        return Write(record);
      }
      case ClosureRecord::ReceiptVat:
        // The host's console shows which VAT lines went out.
        std::printf("code %" PRId64 "\n", code);
        std::fflush(stdout);
        return Write(PipeRecord({"002", f[0], f[1], f[2], f[3]}));
      case ClosureRecord::InvoiceVat:
        return Write(PipeRecord({"004", f[0], f[1], f[2], f[3]}));
      case ClosureRecord::ReceiptReason:
        return Write(PipeRecord({"003", f[0], f[1]}));
      case ClosureRecord::InvoiceReason:
        return Write(PipeRecord({"005", f[0], f[1]}));
      case ClosureRecord::Department:
        return Write(PipeRecord({"006", f[0], f[1], f[2], Description(f[3])}));
      case ClosureRecord::DailyTotal:
        return Write(PipeRecord({"007", f[0], f[1], f[2], Description(f[3])}));
      case ClosureRecord::HourBand:
        return Write(PipeRecord({"008", f[0], f[1], f[2]}));
      case ClosureRecord::Subtender:
        return Write(PipeRecord({"009", f[0], f[1], f[2], Description(f[3])}));
      default:
        return 0;
    }
  }

 private:
  // The date line opens the file and the first record; the day's total and
  // the receipts line complete it.
  int StartFirstRecord(std::string_view dateTime) {
    if (!CreateReport(dateTime)) return -1;
    char closure[32];
    std::snprintf(closure, sizeof closure, "%04" PRId64, LeadingNumber(ClosureNumber()));
    firstRecord_ = "|001|" + std::string(closure) + "|" + ClosureDateText(dateTime) + "|" + ClosureTimeText(dateTime);
    return 0;
  }

  // A description left-aligned in 30 characters (longer ones stay whole).
  static std::string Description(std::string_view text) {
    std::string padded(text);
    if (padded.size() < 30) padded.resize(30, ' ');
    return padded;
  }

  int Write(const std::string& record) { return Emit(record + "\r\n"); }

  std::string firstRecord_;
};

}  // namespace

std::unique_ptr<ClosureWriter> MakeRtlfWriter() { return std::make_unique<RtlfWriter>(); }

}  // namespace quadrel
