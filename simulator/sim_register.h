// One simulated register: answers every frame the host sends with the bytes
// its configuration and state give, keeps a log of the frames it received, and
// plays the faults that tests queue for it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "config/placed_memory.h"
#include "config/register_config.h"
#include "keyboard/key_interpreter.h"
#include "keyboard/key_maps.h"
#include "printer/logo_store.h"
#include "printer/printer.h"
#include "stores/chip_card.h"
#include "stores/device_services.h"
#include "stores/record_files.h"
#include "stores/transfer_files.h"
#include "till/xml_store.h"
#include "wire/register_answer.h"

namespace ecrsim {

constexpr std::uint8_t kTableRecordRead = 0x20;  // 'U' 0 0x20: a table record behind the information frames
constexpr std::uint8_t kMemoryImageRead = 14;     // 'U' 0 14: 16 bytes of the whole memory
constexpr std::uint32_t kMemoryImageBlock = 16;
constexpr std::uint32_t kMemoryImageBytes = 512 * 1024;

enum class FaultKind {
  HostResult,     // value = host result (1, 2, 4, 8, 32 ...), data = detail or refusal byte
  AnswerLetter,   // value = the letter to answer with
  ShortAnswer,    // value = bytes of the answer kept
  CriticalState,  // value = critical code the register enters before answering
  Delay,          // value = milliseconds
  NoAnswer,
};

struct Fault {
  FaultKind kind = FaultKind::NoAnswer;
  int value = 0;
  int data = 0;
  int skip = 0;  // frames answered normally before this fault plays
};

struct LoggedFrame {
  std::uint64_t index = 0;
  std::vector<std::uint8_t> frame;
  Reply reply;
};

constexpr std::size_t kMaxLoggedFrames = 4096;
constexpr std::size_t kDisplayLineCodes = 10;  // line codes 0-9
constexpr int kFeatureDisplay = 99;            // the register has the displays  // older entries are dropped
constexpr std::size_t kMaxPendingFaults = 64;
constexpr std::size_t kModelNParameters = 64;

class SimRegister {
 public:
  explicit SimRegister(RegisterConfig config);
  SimRegister(const SimRegister&) = delete;  // the keyboard holds the printer
  SimRegister& operator=(const SimRegister&) = delete;

  Reply Exchange(std::span<const std::uint8_t> frame);
  // The lines printed with the echo on since the last call.
  std::vector<std::string> TakeEchoedLines();

  const RegisterConfig& Config() const { return config_; }
  RegisterConfig& EditConfig();  // the memory image is rebuilt at the next read
  StatusBytes& Status() { return status_; }
  bool cardPresent = false;
  DeviceServices device;  // what a device on a scale port does with the host's service requests
  ChipCard chipCard;      // the chip card in the reader, besides the card `cardPresent` stands for
  bool standBy = false;
  std::vector<std::uint8_t> slaveText;  // the last 'H' 2 text, without its zero bytes
  KeyMaps keyMaps;                      // what 'C' 0, 'C' 9 and 'C' 1 wrote
  LogoStore logos;                      // what the 'C' 16 frames uploaded
  int dataCollectionResets = 0;
  int articleResets = 0;
  std::uint8_t articleResetStatus = 0;  // answer byte 1 of the article reset
  int oFileResets = 0;
  std::uint8_t oFileResetStatus = 0;  // answer byte 1 of the O-file reset
  std::uint8_t outputBits = 0;          // bits 0-2 of the last 'O' 14 record
  // The parameters 1-64 of a model 'N' register ('C' 10 parameter value).
  std::array<std::uint8_t, kModelNParameters> parameters{};
  Journal journal;                      // what the printer printed, by document
  Printer printer;
  Keyboard keyboard{printer, config_};
  // What the displays show, by line code ('O' 1, 2, 4, 5, 6, 9), and the last
  // 'O' 10 control byte.
  std::array<std::string, kDisplayLineCodes> display;
  int displayControl = -1;
  RecordFiles records;  // the article file and the O-file
  TransferFiles transfers;  // downloads of the article file, data collection, the text table
  // Bytes placed over the 16-bit memory ('D') and the 32-bit memory ('O' 20).
  PlacedMemory placedMemory;
  PlacedMemory placedExtendedMemory;
  XmlStore xmlStore;  // the daily XML documents, over the 32-bit memory
  ReportFunctions reports{printer, journal, keyboard.till, xmlStore};
  // Model 6's table 31 by record number (1-200): the answer bytes after the
  // status byte (a 4-byte number, a digit, the text).
  std::map<int, std::vector<std::uint8_t>> table31;

  bool AddFault(const Fault& fault);  // false when the queue is full
  void ClearFaults() { faults_.clear(); }
  std::size_t PendingFaults() const { return faults_.size(); }

  const std::deque<LoggedFrame>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  void FollowConfig();
  Reply Answer(std::span<const std::uint8_t> frame);
  Reply StatusAnswer(int hostResult) const;
  Reply KeyRecord(std::span<const std::uint8_t> frame);
  Reply MemoryRead(std::span<const std::uint8_t> frame);
  Reply OutputFrame(std::span<const std::uint8_t> frame);
  Reply OutputSettingRecord(std::span<const std::uint8_t> frame);
  Reply DisplayFrame(std::span<const std::uint8_t> frame);
  Reply CardOrSettings(std::span<const std::uint8_t> frame);
  Reply StateFields() const;
  Reply CardReader(std::uint8_t request);
  Reply SetParameter(std::span<const std::uint8_t> frame);
  Reply Information(std::span<const std::uint8_t> frame);
  Reply TableRecord(std::span<const std::uint8_t> frame);
  Reply MemoryImage(std::span<const std::uint8_t> frame);
  void AppendMemory(std::uint32_t address, std::uint32_t length, std::vector<std::uint8_t>& out);
  int DepartmentVatIndex(int department);
  Reply VatTotalsUpdate();
  Reply Table31Record(std::uint8_t number) const;
  Reply StandBy(std::span<const std::uint8_t> frame);
  Reply AreaAnswer(char letter, Area area) const;
  Reply IdentityAnswer() const;
  static Reply Refuse(char letter, std::uint8_t code);
  Reply ApplyFault(const Fault& fault, std::span<const std::uint8_t> frame);

  RegisterConfig config_;
  StatusBytes status_;
  std::vector<std::uint8_t> memory_;
  bool memoryStale_ = true;
  std::deque<Fault> faults_;
  std::deque<LoggedFrame> log_;
  std::uint64_t framesReceived_ = 0;
};

}  // namespace ecrsim
