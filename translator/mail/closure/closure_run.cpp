#include "mail/closure/closure_run.h"

#include "mail/closure/closure_modules.h"

namespace quadrel {
namespace {

// The selected modules, in module order.
std::vector<ClosureWriter*> Selected(const ClosureRun& run, const ClosureSelection& selection) {
  std::vector<ClosureWriter*> writers;
  for (int id = 0; id < kClosureModuleCount; ++id) {
    if (selection[id] && run.writers[id]) writers.push_back(run.writers[id].get());
  }
  return writers;
}

}  // namespace

void RegisterClosureWriters(ClosureRun& run) {
  run.writers[kClosureRd] = MakeRdWriter();
  run.writers[kClosureRtw] = MakeRtwWriter();
  run.writers[kClosureRtlf] = MakeRtlfWriter();
}

int RunClosureWriters(ClosureRun& run, std::string_view totals, std::string_view status,
                      std::string_view closureNumber, const ClosureSelection& selection) {
  const std::vector<ClosureWriter*> writers = Selected(run, selection);
  const ClosureRunStart start{run.registerId, run.folder, closureNumber, run.vatRates};
  for (ClosureWriter* writer : writers) writer->Begin(start);

  int result = 0;
  std::string_view line;
  while (result != -1 && TakeCrLfLine(totals, line)) {
    if (line.empty()) continue;
    const ClosureFields fields = SplitClosureLine(line);
    for (ClosureWriter* writer : writers) {
      result = writer->Line({line, fields});
      if (result == -1) break;
    }
  }
  // One module that failed fails the run, whatever the modules after it do.
  if (result == 0) {
    for (ClosureWriter* writer : writers)
      if (writer->Finish(status) == -1) result = -1;
  }
  for (ClosureWriter* writer : writers)
    if (writer->Close() == -1) result = -1;
  return result;
}

void RemoveClosureFiles(ClosureRun& run, const ClosureSelection& selection) {
  for (ClosureWriter* writer : Selected(run, selection)) writer->Remove();
}

std::vector<std::string> ListClosureFiles(const ClosureRun& run, const ClosureSelection& selection) {
  std::vector<std::string> paths;
  for (const ClosureWriter* writer : Selected(run, selection)) {
    if (!writer->Path().empty()) paths.push_back(writer->Path());
  }
  return paths;
}

}  // namespace quadrel
