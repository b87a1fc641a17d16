#include "mail/closure/closure_vat_rates.h"

#include <algorithm>

#include "mail/closure/closure_text.h"

namespace quadrel {
namespace {

// Reads the "#n=value" parameters of one line (after its command word's "#");
// anything between parameters is passed over, a value runs to the next ",".
VatRate ParseVatLine(std::string_view line) {
  VatRate entry;
  std::size_t at = line.empty() ? 0 : 1;
  while ((at = line.find('#', at)) != std::string_view::npos) {
    const std::size_t digits = ++at;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
    if (at == digits || at == line.size() || line[at] != '=') continue;
    const std::int64_t parameter = LeadingNumber(line.substr(digits));
    const std::size_t valueStart = ++at;
    at = std::min(line.find(',', at), line.size());
    const std::string_view value = line.substr(valueStart, at - valueStart);
    if (parameter == 1) {
      entry.code = LeadingNumber(value);
    } else if (parameter == 2) {
      entry.rate = value.substr(0, kVatRateMaxLength);
      if (const std::size_t dot = entry.rate.find('.'); dot != std::string::npos) entry.rate[dot] = ',';
    }
  }
  return entry;
}

}  // namespace

VatRateTable LoadVatRates(std::string_view text) {
  VatRateTable table;
  table[0] = {0, "0,00"};
  std::string_view line;
  for (int entry = 1; entry < kVatRateEntries && TakeCrLfLine(text, line); ++entry) {
    table[entry] = ParseVatLine(line);
  }
  return table;
}

}  // namespace quadrel
