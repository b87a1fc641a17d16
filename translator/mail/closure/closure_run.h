// One run of the closure report writers: the three modules of command 120
// over the register's closure totals text, and the files they leave.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mail/closure/closure_vat_rates.h"
#include "mail/closure/closure_writer.h"

namespace quadrel {

// Module ids, which are also the report flags #1 to #3 of command 120.
enum ClosureModule { kClosureRd = 0, kClosureRtw = 1, kClosureRtlf = 2, kClosureModuleCount = 3 };

// One flag per module id.
using ClosureSelection = std::array<bool, kClosureModuleCount>;

// Everything one run keeps: nothing lives outside it, so runs never meet.
struct ClosureRun {
  std::string registerId;  // the register's id, first part of every file name
  std::string folder;      // where the files go
  VatRateTable vatRates = LoadVatRates({});
  std::array<std::unique_ptr<ClosureWriter>, kClosureModuleCount> writers;  // by module id
};

// Makes the three modules of `run`, replacing any it had.
void RegisterClosureWriters(ClosureRun& run);

// Runs the selected modules over the CR LF lines of `totals` (empty lines are
// skipped) until a module's line operation returns -1; after a run whose last
// line went well, `status` (the register's status text, empty when there is
// none) ends the reports. Every selected module is closed; returns -1 when any
// module failed (its file is then incomplete or missing), else 0.
int RunClosureWriters(ClosureRun& run, std::string_view totals, std::string_view status,
                      std::string_view closureNumber, const ClosureSelection& selection);

// Deletes the files of the selected modules.
void RemoveClosureFiles(ClosureRun& run, const ClosureSelection& selection);

// The paths of the files the selected modules created, in module order.
std::vector<std::string> ListClosureFiles(const ClosureRun& run, const ClosureSelection& selection);

}  // namespace quadrel
