#include "till/till.h"

#include <cstdio>

#include "wire/register_answer.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kTransactionOpen = 0x01;
constexpr std::uint8_t kTransactionInPayment = 0x20;

std::string QuantityText(std::int64_t thousandths) {
  std::string text = std::to_string(thousandths / 1000);
  if (const std::int64_t fraction = thousandths % 1000; fraction != 0) {
    std::string digits = std::to_string(1000 + fraction).substr(1);
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text;
}

std::string PaymentName(int type) {
  switch (type) {
    case 1:
      return "CONTANTI";
    case 2:
      return "ASSEGNI";
    case 3:
      return "CARTA";
    case 4:
      return "BUONI";
    case 5:
      return "NON RISCOSSO";
    default:
      return "PAGAMENTO " + std::to_string(type);
  }
}

std::string SaleLabel(const SaleEntry& sale) {
  std::string label = !sale.description.empty() ? sale.description
                      : sale.department != 0    ? "REPARTO " + std::to_string(sale.department)
                                                : "ARTICOLO " + std::to_string(sale.article);
  if (sale.voids) return "STORNO " + label;
  if (sale.refund) return "RESO " + label;
  return label;
}

bool WithinTotal(std::int64_t total) {
  return total <= kMaxReceiptTotal && total >= -kMaxReceiptTotal;
}

}  // namespace

bool Till::Open(const StatusBytes& status) const {
  return (status.transaction & kTransactionOpen) != 0;
}

bool Till::InPayment(const StatusBytes& status) const {
  return Open(status) && (status.transaction & kTransactionInPayment) != 0;
}

void Till::Begin(StatusBytes& status) {
  ++receiptNumber;
  total_ = 0;
  paid_ = 0;
  totalPrinted_ = false;
  lines_.clear();
  char number[32];
  std::snprintf(number, sizeof number, "SCONTRINO N. %04d", receiptNumber);
  if (printer_.journal) printer_.journal->BeginDocument(receiptNumber);
  printer_.PrintCentred("ECRSIM");
  printer_.PrintCentred(number);
  status.transaction = kTransactionOpen;
}

void Till::End(StatusBytes& status) {
  printer_.PrintRule();
  if (printer_.journal) printer_.journal->EndDocument();
  status.transaction = 0;
  total_ = 0;
  paid_ = 0;
  lines_.clear();
}

void Till::PrintTotalOnce() {
  if (totalPrinted_) return;
  printer_.PrintAmount("TOTALE", total_);
  totalPrinted_ = true;
}

int Till::Sell(const SaleEntry& sale, StatusBytes& status) {
  if (printer_.fault) return printer_.fault;
  if (InPayment(status)) return kCriticalKeySequence;
  if (sale.department < 0 || sale.department > kDepartments) return kCriticalNoSuchDepartment;
  if (sale.price > kMaxLineAmount || sale.quantity > kMaxLineAmount * 1000) return kCriticalAmountTooLarge;
  std::int64_t amount = (sale.price * sale.quantity + 500) / 1000;
  if (amount > kMaxLineAmount) return kCriticalAmountTooLarge;
  if (sale.refund || sale.voids) amount = -amount;
  const std::int64_t base = Open(status) ? total_ : 0;
  if (!WithinTotal(base + amount)) return kCriticalAmountTooLarge;
  // A receipt cannot begin with a negative line.
  if (!Open(status) && amount < 0) return kCriticalNoReceipt;

  if (!Open(status)) Begin(status);
  if (sale.quantity != 1000)
    printer_.Print("  " + QuantityText(sale.quantity) + " X " + AmountText(sale.price));
  printer_.PrintAmount(SaleLabel(sale), amount);
  total_ += amount;
  const int vatIndex = sale.department != 0 && vatIndexOf ? vatIndexOf(sale.department) : 0;
  lines_.push_back({sale.department, vatIndex, amount < 0 ? -sale.quantity : sale.quantity, amount});
  return 0;
}

int Till::Adjust(Adjustment kind, std::int64_t value, StatusBytes& status) {
  if (printer_.fault) return printer_.fault;
  if (!Open(status)) return kCriticalNoReceipt;
  if (InPayment(status)) return kCriticalKeySequence;
  const bool percent = kind == Adjustment::PercentOff || kind == Adjustment::PercentOn;
  if (percent && value > 100 * 100) return kCriticalAmountTooLarge;  // value in hundredths of a percent
  std::int64_t amount = percent ? (total_ * value + 5000) / 10000 : value;
  const bool off = kind == Adjustment::PercentOff || kind == Adjustment::AmountOff;
  if (off && amount > total_) return kCriticalAmountTooLarge;
  if (amount > kMaxLineAmount) return kCriticalAmountTooLarge;
  if (off) amount = -amount;
  if (!WithinTotal(total_ + amount)) return kCriticalAmountTooLarge;
  std::string label = off ? "SCONTO" : "MAGGIORAZIONE";
  if (percent) label += " " + QuantityText(value * 10) + "%";
  printer_.PrintAmount(label, amount);
  total_ += amount;
  return 0;
}

int Till::Subtotal(StatusBytes& status) {
  if (!Open(status) || InPayment(status)) return 0;  // outside a receipt the key shows nothing
  if (printer_.fault) return printer_.fault;
  printer_.PrintAmount("SUBTOTALE", total_);
  status.transaction |= kTransactionInPayment;
  return 0;
}

int Till::Pay(int type, std::optional<std::int64_t> amount, StatusBytes& status) {
  if (printer_.fault) return printer_.fault;
  if (!Open(status)) return kCriticalNoReceipt;
  const std::int64_t due = total_ - paid_;
  const std::int64_t paying = amount.value_or(due > 0 ? due : 0);
  if (paying > kMaxReceiptTotal) return kCriticalAmountTooLarge;
  PrintTotalOnce();
  printer_.PrintAmount(PaymentName(type), paying);
  paid_ += paying;
  status.transaction |= kTransactionInPayment;
  if (paid_ < total_) return 0;
  if (paid_ > total_) printer_.PrintAmount("RESTO", paid_ - total_);
  totals.PostReceipt(lines_, total_);
  End(status);
  return 0;
}

int Till::Cancel(StatusBytes& status) {
  if (printer_.fault) return printer_.fault;
  if (!Open(status)) return kCriticalNoReceipt;
  printer_.PrintCentred("ANNULLATO");
  totals.PostCancelled();
  End(status);
  return 0;
}

int Till::PrintText(const std::string& text) {
  if (printer_.fault) return printer_.fault;
  printer_.Print(text);
  return 0;
}

}  // namespace ecrsim
