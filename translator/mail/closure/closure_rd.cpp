// The readable closure report (rd): one titled section per kind of total,
// fixed-width rows, and the fill level of the electronic journal at the end.
#include <iterator>
#include <string>

#include "mail/closure/closure_modules.h"
#include "mail/closure/closure_rd_format.h"

namespace quadrel {
namespace {

constexpr std::string_view kReasons[] = {"ESENTE", "Art 10 633/72", "Art 15 633/72", "Art 74 633/72"};

std::string ColumnLine(std::initializer_list<ReportCell> columns) { return "\r\n" + ReportRow(columns) + "\r\n"; }

std::string Header(std::string_view title, const std::string& columnLine, int dashes) {
  return std::string(title) + columnLine + std::string(dashes, '-') + "\r\n";
}

std::string VatHeader(std::string_view title) {
  return Header(title,
                ColumnLine({{"CODICE", 10}, {"% IVA", 10}, {"IMPONIBILE", 20}, {"IMPOSTA", 20}, {"CORRISPETTIVO", 20}}),
                180);
}

std::string TotalsHeader(std::string_view title) {
  return Header(title, ColumnLine({{"CODICE", 10}, {"DESCRIZIONE", 30}, {"QUANTITA'", 20}, {"CORRISPETTIVO", 20}}),
                80);
}

// The section a record belongs to, written before the first code of its range.
std::string SectionHeader(ClosureRecord record) {
  switch (record) {
    case ClosureRecord::ReceiptVat:
      return VatHeader("\r\n ** RAPPORTO VENDUTO PER ALIQUOTE IVA (SCONTRINI/RICEVUTE) **");
    case ClosureRecord::InvoiceVat:
      return VatHeader("\r\n ** RAPPORTO VENDUTO PER ALIQUOTE IVA (FATTURE) **");
    case ClosureRecord::ReceiptReason:
    case ClosureRecord::InvoiceReason:
      return Header("\r\n -- DETTAGLIO CAUSALI CODICE 0 --", "\r\n", 40);
    case ClosureRecord::Department:
      return TotalsHeader("\r\n ** RAPPORTO VENDUTO PER REPARTI **");
    case ClosureRecord::DailyTotal:
      return TotalsHeader("\r\n ** RAPPORTO TOTALI GIORNALIERI **");
    case ClosureRecord::HourBand:
      return Header("\r\n ** RAPPORTO VENDUTO PER FASCE ORARIE **",
                    ColumnLine({{"FASCIA", 10}, {"CLIENTI", 10}, {"CORRISPETTIVO", 20}}), 40);
    case ClosureRecord::Subtender:
      return TotalsHeader("\r\n ** RAPPORTO SUBTENDER **");
    default:
      return {};
  }
}

class RdWriter final : public ClosureWriter {
 public:
  RdWriter() : ClosureWriter("rd") {}

  void Begin(const ClosureRunStart& start) override {
    ClosureWriter::Begin(start);
    vatRates_ = start.vatRates;
  }

  int Line(const ClosureLine& line) override {
    const ClosureFields& fields = line.fields;
    const ClosureRecordKind kind = ClassifyClosureRecord(LeadingNumber(fields[0]));
    switch (kind.record) {
      case ClosureRecord::Date:
        if (!CreateReport(fields[1])) return -1;
        return Emit("AZZERAMENTO NR.: " + ClosureNumber() + "\r\nDATA/ORA: " +
                    std::string(TrimTrailingBlanks(fields[1])) + "\r\n");
      case ClosureRecord::DayTotal:
        return Emit("CORRISPETTIVO: " + AmountText(fields[1]) + "\r\n");
      case ClosureRecord::Receipts:
        return Emit("NUM. SCONTRINI: " + PlainText(fields[1]) + "\r\n");
      case ClosureRecord::Other:
        return Emit("\r\n");
      case ClosureRecord::Unreported:
        return IsOpen() ? 0 : -1;
      default: {
        const std::string header = kind.index == 0 ? SectionHeader(kind.record) : std::string();
        const std::string row = SectionRow(kind, fields);
        return Emit(row.empty() ? header : header + row + "\r\n");
      }
    }
  }

  int Finish(std::string_view status) override {
    if (!IsOpen()) return -1;
    const std::optional<std::string> level = FillLevelText(status);
    return level ? Emit("\r\n ** RIEMPIMENTO DGFE: " + *level + " % **\r\n") : 0;
  }

 private:
  // The row of a sectioned record; empty when the record shows no row.
  std::string SectionRow(ClosureRecordKind kind, const ClosureFields& fields) const {
    // Only the fields present on the line are shown.
    const auto amount = [&](int n) { return fields.Has(n) ? AmountText(fields[n]) : std::string(); };
    const auto quantity = [&](int n) { return fields.Has(n) ? QuantityText(fields[n]) : std::string(); };
    const auto plain = [&](int n) { return fields.Has(n) ? PlainText(fields[n]) : std::string(); };
    const std::string description(TrimTrailingBlanks(fields[3]));
    // Departments, daily totals, hour bands and subtenders number from 1.
    const std::string number = std::to_string(kind.index + 1);

    switch (kind.record) {
      case ClosureRecord::ReceiptVat:
      case ClosureRecord::InvoiceVat: {
        const std::string rate = kind.index < kVatRateEntries ? vatRates_[kind.index].rate : "";
        return ReportRow(
            {{std::to_string(kind.index), 10}, {rate, 10}, {amount(2), 20}, {amount(3), 20}, {amount(1), 20}}, 180);
      }
      case ClosureRecord::ReceiptReason:
      case ClosureRecord::InvoiceReason: {
        const std::string reason = kind.index < std::ssize(kReasons) ? std::string(kReasons[kind.index])
                                                                     : "CAUSALE " + std::to_string(kind.index);
        return ReportRow({{reason, 20}, {amount(1), 20}}, 40);
      }
      case ClosureRecord::Department:
        if (fields[1] == "0000000000" && fields[2] == "0000000000") return {};
        return ReportRow({{number, 10}, {description, 30}, {quantity(2), 20}, {amount(1), 20}}, 80);
      case ClosureRecord::DailyTotal:
      case ClosureRecord::Subtender:
        if (description.empty()) return {};
        return ReportRow({{number, 10}, {description, 30}, {plain(2), 20}, {amount(1), 20}}, 80);
      case ClosureRecord::HourBand:
        return ReportRow({{number, 10}, {plain(2), 10}, {amount(1), 20}}, 40);
      default:
        return {};
    }
  }

  VatRateTable vatRates_;
};

}  // namespace

std::unique_ptr<ClosureWriter> MakeRdWriter() { return std::make_unique<RdWriter>(); }

}  // namespace quadrel
