// The raw closure report (rtw): every totals line copied as it came.
#include <string>

#include "mail/closure/closure_modules.h"

namespace quadrel {
namespace {

class RtwWriter final : public ClosureWriter {
 public:
  RtwWriter() : ClosureWriter("rtw") {}

  int Line(const ClosureLine& line) override {
    if (LeadingNumber(line.fields[0]) == 1 && !CreateReport(line.fields[1])) return -1;
    return Emit(std::string(line.raw) + "\r\n");
  }
};

}  // namespace

std::unique_ptr<ClosureWriter> MakeRtwWriter() { return std::make_unique<RtwWriter>(); }

}  // namespace quadrel
