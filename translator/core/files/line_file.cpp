#include "files/line_file.h"

#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

#include "state/library_state.h"

namespace quadrel {

namespace {

// Read-ahead of one buffered slot.
struct SlotBuffer {
  std::uint64_t owner = 0;  // id of the open file the block was read from; 0 = none
  std::array<char, LINE_SLOT_BLOCK> block{};
  std::size_t fill = 0;
  std::size_t position = 0;
  bool lastBlockRead = false;  // a short block ended the file
};

std::array<SlotBuffer, LINE_SLOT_COUNT>& Slots() {
  static std::array<SlotBuffer, LINE_SLOT_COUNT> slots;
  return slots;
}

bool IsBufferedSlot(int slot) {
  return slot >= 1 && slot < LINE_SLOT_COUNT;
}

std::uint64_t NextFileId() {
  static std::uint64_t lastId = 0;
  return ++lastId;
}

void ResetSlot(SlotBuffer& slot, std::uint64_t owner) {
  slot.owner = owner;
  slot.fill = 0;
  slot.position = 0;
  slot.lastBlockRead = false;
}

// A closed file must leave no read-ahead behind for the next file of its slot.
void ReleaseSlotsOf(std::uint64_t id) {
  for (SlotBuffer& slot : Slots()) {
    if (slot.owner == id) ResetSlot(slot, 0);
  }
}

constexpr int kNoByte = -1;
constexpr int kFailedByte = -2;

// Next byte of a slot-0 file: a value 0..255, kNoByte at the end, kFailedByte on an error.
int NextUnbufferedByte(std::FILE* file) {
  const int c = std::fgetc(file);
  if (c != EOF) return c;
  return std::ferror(file) ? kFailedByte : kNoByte;
}

int NextBufferedByte(std::FILE* file, SlotBuffer& slot) {
  if (slot.position == slot.fill) {
    if (slot.lastBlockRead) return kNoByte;
    slot.fill = std::fread(slot.block.data(), 1, slot.block.size(), file);
    slot.position = 0;
    if (slot.fill < slot.block.size()) {
      if (std::ferror(file)) {
        slot.fill = 0;
        return kFailedByte;
      }
      slot.lastBlockRead = true;
    }
    if (slot.fill == 0) return kNoByte;
  }
  return static_cast<unsigned char>(slot.block[slot.position++]);
}

// Carries out the creation disposition so that the file afterwards exists
// with the wanted content; the file is then opened with "rb" or "r+b".
bool PrepareFile(const std::filesystem::path& path, int disposition, bool readWrite) {
  std::error_code error;
  const bool exists = std::filesystem::exists(path, error);
  if (error) return false;
  if (exists && std::filesystem::is_directory(path, error)) return false;

  const char* prepareMode = nullptr;  // fopen mode that creates or empties the file
  switch (disposition) {
    case LINE_CREATE_NEW:
      if (exists) return false;
      prepareMode = "wb";
      break;
    case LINE_CREATE_ALWAYS:
      prepareMode = "wb";
      break;
    case LINE_OPEN_EXISTING:
      if (!exists) return false;
      break;
    case LINE_OPEN_ALWAYS:
      if (!exists) prepareMode = "ab";
      break;
    case LINE_TRUNCATE_EXISTING:
      // Emptying a file is a write: refused for a read-only opening.
      if (!exists || !readWrite) return false;
      prepareMode = "wb";
      break;
    default:
      return false;
  }
  if (prepareMode == nullptr) return true;
  std::FILE* created = std::fopen(path.string().c_str(), prepareMode);
  if (created == nullptr) return false;
  return std::fclose(created) == 0;
}

}  // namespace

LineFile::~LineFile() {
  Close();
}

LineFile::LineFile(LineFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      id_(std::exchange(other.id_, 0)),
      last_(std::exchange(other.last_, LastAccess::None)) {}

LineFile& LineFile::operator=(LineFile&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = std::exchange(other.file_, nullptr);
    id_ = std::exchange(other.id_, 0);
    last_ = std::exchange(other.last_, LastAccess::None);
  }
  return *this;
}

bool LineFile::Close() {
  if (file_ == nullptr) return true;
  ReleaseSlotsOf(id_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  id_ = 0;
  last_ = LastAccess::None;
  return closed;
}

bool LineFile::Flush() {
  return file_ != nullptr && std::fflush(file_) == 0;
}

bool LineFile::SwitchTo(LastAccess access) {
  if (last_ != LastAccess::None && last_ != access && std::fseek(file_, 0, SEEK_CUR) != 0) {
    return false;
  }
  last_ = access;
  return true;
}

bool OpenLineFile(const std::string& path, int mode, LineFile& file, int slot) {
  file.Close();
  const bool readWrite = (mode & LINE_READ_WRITE) != 0;
  const std::filesystem::path filePath(path);
  if (!PrepareFile(filePath, mode & 0xFF, readWrite)) return false;

  std::FILE* opened = std::fopen(filePath.string().c_str(), readWrite ? "r+b" : "rb");
  if (opened == nullptr) return false;
  if ((mode & LINE_APPEND) != 0 && std::fseek(opened, 0, SEEK_END) != 0) {
    std::fclose(opened);
    return false;
  }
  file.file_ = opened;
  file.id_ = NextFileId();
  if (IsBufferedSlot(slot)) ResetSlot(Slots()[slot], file.id_);
  return true;
}

void CloseLineFile(LineFile& file) {
  file.Close();
}

int CloseAndReturn(int code, LineFile& file) {
  file.Close();
  return code;
}

bool WriteLine(LineFile& file, std::string_view text) {
  if (!file.IsOpen() || !file.SwitchTo(LineFile::LastAccess::Write)) return false;
  if (std::fwrite(text.data(), 1, text.size(), file.file_) != text.size()) return false;
  static constexpr char kLineEnd[] = "\r\n";
  if (std::fwrite(kLineEnd, 1, 2, file.file_) != 2) return false;
  if (Library().switches.BufferFlush && std::fflush(file.file_) != 0) return false;
  return true;
}

int ReadLine(LineFile& file, std::string& dst, int max, int slot) {
  dst.clear();
  if (!file.IsOpen() || slot < 0 || slot >= LINE_SLOT_COUNT) return LINE_READ_ERROR;
  if (!file.SwitchTo(LineFile::LastAccess::Read)) return LINE_READ_ERROR;

  SlotBuffer* buffer = nullptr;
  if (IsBufferedSlot(slot)) {
    buffer = &Slots()[slot];
    // Read-ahead of another file is never handed out as this file's data.
    if (buffer->owner != file.id_) ResetSlot(*buffer, file.id_);
  }
  const std::size_t limit = max > 0 ? static_cast<std::size_t>(max) : 0;
  bool anyRead = false;
  for (;;) {
    const int c = buffer ? NextBufferedByte(file.file_, *buffer) : NextUnbufferedByte(file.file_);
    if (c == kFailedByte) return LINE_READ_ERROR;
    if (c == kNoByte) {
      if (!anyRead) return LINE_END_OF_FILE;
      break;  // a last line without a line feed still counts
    }
    anyRead = true;
    if (c == '\n') break;
    if (dst.size() < limit) dst.push_back(static_cast<char>(c));
  }
  // A CR before the line feed, or a CR at which a long line was cut.
  if (!dst.empty() && dst.back() == '\r') dst.pop_back();
  return static_cast<int>(dst.size());
}

}  // namespace quadrel
