#include "sales_commands.h"

#include <cstdint>
#include <limits>

#include "commands/sales/keyed_fields.h"
#include "config/model_table.h"
#include "language/command_field_values.h"
#include "language/command_fields.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/key_records.h"
#include "link/register_checks.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

enum SaleField : int {
  kFieldDepartment = 1,
  kFieldArticle = 2,
  kFieldQuantity = 3,
  kFieldPrice = 4,
  kFieldReturn = 5,
  kFieldVoid = 6,
  kFieldDescription = 7,
};
enum PaymentField : int { kFieldPaymentType = 1, kFieldPaymentAmount = 2 };
enum SaleAndPayField : int {
  kFieldNumber169 = 1,
  kFieldSaleDepartment = 2,
  kFieldSalePaymentType = 11,
  kFieldTendered = 12,
};

constexpr std::uint8_t kKeyPosition = 14;
constexpr std::uint8_t kKeyDepartment = 24;
constexpr std::uint8_t kKeyArticle = 25;
constexpr std::uint8_t kKeyPrice = 26;
constexpr std::uint8_t kKeyQuantity = 27;
constexpr std::uint8_t kKeyReturn = 28;
constexpr std::uint8_t kKeyVoid = 59;
constexpr std::uint8_t kKeyNumber169 = 169;
constexpr std::uint8_t kDigitOne = 1;

constexpr int kFeatureSaleAndPay = 105;
constexpr std::size_t kMaxSaleAndPayRecord = 120;
constexpr unsigned kFirstCodedPayment = 125;  // types 125..145 are their own key code
constexpr unsigned kLastCodedPayment = 145;
constexpr unsigned kLastKeyedPayment = 10;

// Either switch lets a sale or payment go without a status read: the
// position is then not known and not checked.
bool FastSales() {
  const LibraryState& lib = Library();
  return lib.options.SkipStatusForSales != 0 || lib.switches.AlwayMaxSpeedFP;
}

// The key of payment type 1..10.
std::uint8_t KeyedPaymentKey(unsigned type) {
  switch (type) {
    case 2:
      return '2';
    case 3:
      return '3';
    case 4:
      return '4';
    case 5:
      return '6';
    case 10:
      return '>';
    default:
      return '1';
  }
}

// A payment type field: its number, 1 when empty. A negative number counts
// as a very large one. False for a field that is not a number.
bool PaymentType(int slot, unsigned& type) {
  type = 1;
  if (!FieldGiven(slot)) return true;
  int value = 0;
  if (!FieldInteger(slot, value)) return false;
  type = static_cast<unsigned>(value);
  return true;
}

// The parts of a sale shared by 10 and 60, from the description to the
// department (in `departmentSlot`); `split` starts a record before each part.
void AddSaleParts(KeyRecords& keys, bool split, int departmentSlot) {
  auto part = [&]() -> KeyRecords& { return split ? keys.Record() : keys; };
  if (FieldGiven(kFieldDescription)) part().Description(FieldText(kFieldDescription));
  if (FieldGiven(kFieldReturn)) part().Key(kKeyReturn);
  if (FieldGiven(kFieldVoid)) part().Key(kKeyVoid);
  if (FieldGiven(kFieldQuantity)) part().Digits(FieldText(kFieldQuantity)).Key(kKeyQuantity);
  if (FieldGiven(kFieldPrice)) part().Digits(FieldText(kFieldPrice)).Key(kKeyPrice);
  if (FieldGiven(departmentSlot)) part().Digits(FieldText(departmentSlot)).Key(kKeyDepartment);
}

}  // namespace

int CmdSellItem() {
  const bool fast = FastSales();
  if (!fast && !InRegPosition()) return kResultNotInRegPosition;
  if (!FieldGiven(kFieldDepartment) && !FieldGiven(kFieldArticle)) return kResultNoDepartmentOrArticle;
  if (const int refused =
          CheckKeyedFields({{kFieldQuantity, KeyedValue::Quantity}, {kFieldPrice, KeyedValue::Amount}}))
    return refused;
  KeyRecords keys;
  if (fast) keys.Record();
  AddSaleParts(keys, !fast, kFieldDepartment);
  if (FieldGiven(kFieldArticle)) {
    if (!fast) keys.Record();
    keys.Digits(FieldText(kFieldArticle)).Key(kKeyArticle);
  }
  if (const int queued = keys.Queue()) return queued;
  Executor().StopOnRecordError = 1;
  return 0;
}

int CmdPayment() {
  Executor().StopOnRecordError = 1;
  if (!FastSales() && !InRegPosition()) return kResultNotInRegPosition;
  if (!TransactionOpen()) return kResultNoTransactionOpen;
  unsigned type = 1;
  if (!PaymentType(kFieldPaymentType, type)) return kResultIllegalValue;
  if (const int refused = CheckKeyedFields({{kFieldPaymentAmount, KeyedValue::Amount}})) return refused;
  KeyRecords keys;
  keys.Record();
  if (FieldGiven(kFieldPaymentAmount)) keys.Digits(FieldText(kFieldPaymentAmount));
  if (type >= 1 && type <= kLastKeyedPayment) {
    keys.Key(KeyedPaymentKey(type));
  } else if (type >= kFirstCodedPayment && type <= kLastCodedPayment) {
    keys.Key(static_cast<std::uint8_t>(type));
  }
  return keys.Queue();
}

int CmdSellItemAndPay() {
  if (!HasFeature(kFeatureSaleAndPay)) return kResultVersionNotSupported;
  if (!EcrIdle()) return kResultEcrNotIdle;
  if (!FieldGiven(kFieldSaleDepartment)) return kResultNoDepartmentOrArticle;
  int type = 1;
  if (FieldGiven(kFieldSalePaymentType) && !FieldInteger(kFieldSalePaymentType, type))
    return kResultIllegalValue;
  if (type > static_cast<int>(kLastKeyedPayment)) return kResultIllegalValue;
  if (const int refused = CheckKeyedFields({{kFieldQuantity, KeyedValue::Quantity},
                                            {kFieldPrice, KeyedValue::Amount},
                                            {kFieldTendered, KeyedValue::Amount}}))
    return refused;

  std::string& number = CommandFields().value[kFieldNumber169];
  if (number.empty()) number.assign(1, '0');
  KeyRecords keys;
  keys.Record();
  if (!InRegPosition()) keys.Key(kDigitOne).Key(kKeyPosition);
  keys.Digits(number).Key(kKeyNumber169);
  AddSaleParts(keys, false, kFieldSaleDepartment);
  if (FieldGiven(kFieldTendered)) keys.Digits(FieldText(kFieldTendered));
  if (type >= 1) keys.Key(KeyedPaymentKey(static_cast<unsigned>(type)));
  if (keys.Length() > kMaxSaleAndPayRecord) return kResultInternalError;
  if (const int queued = keys.Queue()) return queued;
  Executor().StopOnRecordError = 1;
  return 0;
}

}  // namespace quadrel
