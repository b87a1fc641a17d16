#include "commands/programming/department_commands.h"

#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/register_checks.h"
#include "link/table_keys.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

bool SevenOrF(const EcrConfigRecord& ecr) { return ecr.ModelLetter == '7' || ecr.ModelLetter == 'F'; }

// The department fields of every register but model 6 with its extension.
void DepartmentFields(const EcrConfigRecord& ecr, TableKeys& keys) {
  keys.Text(2).Price(6).Digits(3).DigitsUnless255(5);
  if (ecr.ModelLetter == 'M') keys.DigitsUnless255(12).DigitsUnless255(13);
  keys.DigitsThen147(4);
  if (HasFeature(59)) keys.DigitsThen147(8);
  if (HasFeature(81)) keys.DigitsThen147(16);
  if (HasFeature(111)) keys.DigitsThen147(17);
  if (HasFeature(41)) keys.Digits(7);
  if (SevenOrF(ecr)) keys.Digits(10).Digits(9);
  if (ecr.ModelLetter == '2' && ecr.Version > 39) keys.DigitsThen147(10);
  if (HasFeature(85)) keys.Digits(11);
  if (HasFeature(113)) keys.DigitsThen147(18);
  keys.End2();
}

}  // namespace

int CmdProgramDepartment() {
  const EcrConfigRecord& ecr = CurrentRecord();
  int department = 0;
  if (!FieldInteger(1, department) || department < 1 || department > ecr.IdentityByte47)
    return kResultIllegalDepartment;
  TableKeys keys;
  keys.Table("1").Rec(1);
  if (ecr.ModelLetter == '6' && HasFeature(105)) {
    keys.Digits(14).Digits(15).DigitsUnless255(5).Text(2).End1();
  } else {
    DepartmentFields(ecr, keys);
  }
  return keys.Queue();
}

int CmdProgramTable2() {
  const EcrConfigRecord& ecr = CurrentRecord();
  TableKeys keys;
  keys.Table("2").Rec(1).Text(2).Price(4).Digits(3);
  if (HasFeature(31)) keys.DigitsThen147(5);
  if (SevenOrF(ecr)) keys.Digits(8).Digits(7);
  if (HasFeature(90)) keys.Digits(9);
  return keys.End2().Queue();
}

}  // namespace quadrel
