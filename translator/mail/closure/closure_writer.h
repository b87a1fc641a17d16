// One closure report module (rd, rtw or rtlf): its output file and the
// operations a closure run calls on it, in this order: Begin, Line for each
// totals line, Finish, Close; Remove deletes the file afterwards.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "mail/closure/closure_text.h"
#include "mail/closure/closure_vat_rates.h"

namespace quadrel {

// What a run gives every module at its start.
struct ClosureRunStart {
  std::string_view registerId;     // first part of every file name
  std::string_view folder;         // where the files go
  std::string_view closureNumber;  // last part of every file name
  const VatRateTable& vatRates;
};

struct ClosureLine {
  std::string_view raw;  // as the register wrote it, without CR LF
  const ClosureFields& fields;
};

// Line and Finish return 0, or -1 to stop the run: a line before the code-1
// line (no file yet), a file that cannot be created or a failed write.
class ClosureWriter {
 public:
  explicit ClosureWriter(std::string_view fileSuffix) : suffix_(fileSuffix) {}
  virtual ~ClosureWriter();
  ClosureWriter(const ClosureWriter&) = delete;
  ClosureWriter& operator=(const ClosureWriter&) = delete;

  // Keeps what the file name needs; no file is open after it.
  virtual void Begin(const ClosureRunStart& start);
  virtual int Line(const ClosureLine& line) = 0;
  // Ends the report after a run whose lines all went well; `status` is the
  // register's status text, empty when there is none.
  virtual int Finish(std::string_view status);
  int Close();  // -1 when no file is open
  void Remove();
  // Empty until a code-1 line created the file, and again after Remove.
  const std::string& Path() const { return path_; }

 protected:
  // Creates (or empties) "<register id>_20YYMMDD_<closure number>_<suffix>.txt"
  // from the date and time field ("DD/MM/YY HH:MM") of the code-1 line. A file
  // of an earlier code-1 line of the run is closed, and deleted when the name
  // differs, so the module never leaves a file it no longer knows of.
  bool CreateReport(std::string_view dateTime);
  bool IsOpen() const { return file_ != nullptr; }
  // Writes `text` as it is: 0, or -1 when no file is open or the write fails.
  int Emit(std::string_view text);
  const std::string& ClosureNumber() const { return closureNumber_; }

 private:
  std::string suffix_;
  std::string registerId_;
  std::string folder_;
  std::string closureNumber_;
  std::string path_;
  std::FILE* file_ = nullptr;
};

// "20" + YY + MM + DD and HH + MM of a "DD/MM/YY HH:MM" field (blanks at its
// end removed); characters the field lacks are left out.
std::string ClosureDateText(std::string_view dateTime);
std::string ClosureTimeText(std::string_view dateTime);

// `text` with every character but a letter, a digit or "-" made "_", so that
// values from the register cannot steer a file name out of its folder.
std::string SafeFileNamePart(std::string_view text);

// `text` without the blanks at its end.
std::string_view TrimTrailingBlanks(std::string_view text);

}  // namespace quadrel
