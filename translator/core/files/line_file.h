// Text files read and written a line at a time: the definitions file, batch
// files and their result files, register file dumps, transfer files and logs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace quadrel {

// Creation dispositions (low byte of an OpenLineFile mode).
constexpr int LINE_CREATE_NEW = 1;         // fails when the file exists
constexpr int LINE_CREATE_ALWAYS = 2;      // creates or empties
constexpr int LINE_OPEN_EXISTING = 3;      // fails when the file is missing
constexpr int LINE_OPEN_ALWAYS = 4;        // opens, creating when missing
constexpr int LINE_TRUNCATE_EXISTING = 5;  // empties an existing file; needs LINE_READ_WRITE
// Mode bits.
constexpr int LINE_APPEND = 0x100;      // start at the end of the file
constexpr int LINE_READ_WRITE = 0x200;  // open for writing too, else reading only

// Read slots: 0 reads byte by byte, 1 to 5 read through a process-wide 512-byte
// block each. A slot serves one open file at a time; opening a file with a slot
// resets it. The batch runner and the definitions-file loader use slot 1.
constexpr int LINE_SLOT_UNBUFFERED = 0;
constexpr int LINE_SLOT_COUNT = 6;
constexpr std::size_t LINE_SLOT_BLOCK = 512;

// ReadLine results besides a length.
constexpr int LINE_END_OF_FILE = -1;
constexpr int LINE_READ_ERROR = -2;

// An open text file (binary mode, so CR LF is ours to write and strip).
// Closes itself; movable, not copyable. A default-constructed file is closed.
class LineFile {
 public:
  LineFile() = default;
  ~LineFile();
  LineFile(LineFile&& other) noexcept;
  LineFile& operator=(LineFile&& other) noexcept;
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // Closes the file (a closed file is left alone); false when buffered data
  // could not be written out.
  bool Close();
  // Hands the lines written so far to the system; false when they could not
  // all be written (a full disk) or no file is open.
  bool Flush();

 private:
  friend bool OpenLineFile(const std::string& path, int mode, LineFile& file, int slot);
  friend bool WriteLine(LineFile& file, std::string_view text);
  friend int ReadLine(LineFile& file, std::string& dst, int max, int slot);

  enum class LastAccess { None, Read, Write };
  // C streams need a seek between a read and a following write (and back).
  bool SwitchTo(LastAccess access);

  std::FILE* file_ = nullptr;
  std::uint64_t id_ = 0;  // tells slot buffers which open file they hold data of
  LastAccess last_ = LastAccess::None;
};

// Opens `path` as `mode` says (disposition in the low byte, LINE_APPEND and
// LINE_READ_WRITE bits). Any open file in `file` is closed first. Resets the
// read slot `slot` when it is 1 to 5. False when the file cannot be opened.
bool OpenLineFile(const std::string& path, int mode, LineFile& file, int slot);

// Closes an open file; a closed one is left alone.
void CloseLineFile(LineFile& file);

// Closes an open file and returns `code`, for early returns of handlers.
int CloseAndReturn(int code, LineFile& file);

// Writes `text` and CR LF; flushes when the BufferFlush switch is on. False on
// a closed file or a short write (a partial line may stay in the file).
bool WriteLine(LineFile& file, std::string_view text);

// Reads the next line into `dst` without its line end. At most `max`
// characters are kept; the rest of a longer line is dropped, so the next call
// starts at the next line. A last line without a line feed is returned like
// any other; the call after it gives LINE_END_OF_FILE. Returns the length,
// LINE_END_OF_FILE or LINE_READ_ERROR (also for a closed file or a bad slot).
int ReadLine(LineFile& file, std::string& dst, int max, int slot);

}  // namespace quadrel
