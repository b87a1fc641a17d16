// Runs the closure report writers over arbitrary downloads: the input is the
// VAT-rate text, the totals text and the status text, split at NUL bytes. The
// files go to a private folder and must all be removed again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "mail/closure/closure_run.h"

namespace {

namespace fs = std::filesystem;

fs::path folder;

std::string_view TakePart(std::string_view& input) {
  const std::size_t end = input.find('\0');
  const std::string_view part = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The rtlf writer names every VAT line on standard output.
  if (!std::freopen("/dev/null", "w", stdout)) __builtin_trap();
  folder = fs::temp_directory_path() / ("quadrel_fuzz_closure_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::atexit([] { fs::remove_all(folder); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quadrel;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view vatText = TakePart(input);
  const std::string_view totals = TakePart(input);
  const std::string_view status = TakePart(input);

  const ClosureFields fields = SplitClosureLine(totals);
  if (fields.count < 1 || fields.count > kClosureMaxFields) __builtin_trap();
  for (const std::string& field : fields.field) {
    if (field.size() > kClosureMaxFieldLength) __builtin_trap();
  }

  ClosureRun run;
  run.registerId = "99IEA012345";
  run.folder = folder.string();
  run.vatRates = LoadVatRates(vatText);
  for (const VatRate& entry : run.vatRates) {
    if (entry.rate.size() > kVatRateMaxLength) __builtin_trap();
  }
  RegisterClosureWriters(run);
  const ClosureSelection all = {true, true, true};
  const int result = RunClosureWriters(run, totals, status, "0123", all);
  if (result != 0 && result != -1) __builtin_trap();
  for (const std::string& path : ListClosureFiles(run, all)) {
    if (fs::path(path).parent_path() != folder) __builtin_trap();
  }
  RemoveClosureFiles(run, all);
  if (!fs::is_empty(folder)) __builtin_trap();
  return 0;
}
