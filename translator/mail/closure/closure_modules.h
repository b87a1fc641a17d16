// The three closure report modules, by module id: 0 rd (readable), 1 rtw
// (raw copy), 2 rtlf (pipe-delimited records).
#pragma once

#include <memory>

#include "mail/closure/closure_writer.h"

namespace quadrel {

std::unique_ptr<ClosureWriter> MakeRdWriter();
std::unique_ptr<ClosureWriter> MakeRtwWriter();
std::unique_ptr<ClosureWriter> MakeRtlfWriter();

}  // namespace quadrel
