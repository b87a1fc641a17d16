// The register's sales in the REG position: a sale opens a receipt, discounts
// and surcharges adjust it, the subtotal key starts its payment, payments
// close it (with change) and the cancel keys void it. Everything is printed as
// it happens. A receipt is open while transaction flag bit 0 is set, so a
// transaction opened through the control channel is a receipt too.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "printer/printer.h"
#include "till/sales_totals.h"

namespace ecrsim {

struct StatusBytes;

// Critical codes of the sales keys; the key sequence one also of the keyboard and the chip card.
constexpr std::uint8_t kCriticalKeySequence = 1;      // a key the register cannot take now
constexpr std::uint8_t kCriticalNoReceipt = 12;       // a payment or adjustment without a sale
constexpr std::uint8_t kCriticalAmountTooLarge = 13;  // a line or total beyond the register's limit
constexpr std::uint8_t kCriticalNoSuchDepartment = 14;

constexpr std::int64_t kMaxLineAmount = 9999999;     // 99999.99
constexpr std::int64_t kMaxReceiptTotal = 99999999;  // 999999.99
constexpr int kDepartments = 99;

// One sale as the keys before the department or article key gave it.
struct SaleEntry {
  std::string description;       // empty: named after the department or article
  bool refund = false;           // key 28
  bool voids = false;            // key 59
  std::int64_t quantity = 1000;  // thousandths
  std::int64_t price = 0;        // hundredths
  int department = 0;            // 0: an article sale
  std::uint32_t article = 0;
};

enum class Adjustment { PercentOff, PercentOn, AmountOff, AmountOn };  // keys 31, 32, 33, 34

class Till {
 public:
  explicit Till(Printer& printer) : printer_(printer) {}

  // Each returns 0 or the critical code the register reports; a refused key
  // changes nothing.
  int Sell(const SaleEntry& sale, StatusBytes& status);
  int Adjust(Adjustment kind, std::int64_t value, StatusBytes& status);
  int Subtotal(StatusBytes& status);
  // `amount` in hundredths; none pays what is due.
  int Pay(int type, std::optional<std::int64_t> amount, StatusBytes& status);
  int Cancel(StatusBytes& status);
  // A text line: inside the receipt when one is open, else on its own.
  int PrintText(const std::string& text);

  bool InPayment(const StatusBytes& status) const;
  bool PartlyPaid() const { return paid_ != 0; }
  std::int64_t Total() const { return total_; }
  int receiptNumber = 0;  // of the receipt open or last printed
  // What the paid receipts add up to; a cancelled receipt counts only as cancelled.
  SalesTotals totals;
  // The VAT index a department's sales count at (article sales count at 0).
  std::function<int(int department)> vatIndexOf;

 private:
  bool Open(const StatusBytes& status) const;
  void Begin(StatusBytes& status);
  void End(StatusBytes& status);
  void PrintTotalOnce();

  Printer& printer_;
  std::int64_t total_ = 0;
  std::int64_t paid_ = 0;
  bool totalPrinted_ = false;
  std::vector<SaleLine> lines_;  // of the open receipt
};

}  // namespace ecrsim
