// The host the translator fuzz targets run it against: frames go to the
// in-process register simulator, or are answered from the fuzzer's bytes. It
// installs itself as the translator's host with register 1 selected, loads
// the shipped definitions once, and runs every wait on virtual time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "simulator.h"

namespace fuzz {

// Answers from a byte stream, one answer per frame or extended-status call.
// An answer is a head byte, then a length byte and that many bytes (fewer
// where the stream ends). Head bits 0-2: 0-4 the host
// answers, 5 a time-out, 6 a host error, 7 a host that writes no answer; bit
// 3 adds 256 to the length; bit 4 puts the frame's own letter first. An empty
// stream times out.
class AnswerStream {
 public:
  explicit AnswerStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Empty() const { return bytes_.empty(); }
  std::uint8_t Byte();
  std::span<const std::uint8_t> Take(std::size_t count);

 private:
  std::span<const std::uint8_t> bytes_;
};

class TranslatorHost {
 public:
  // Selects register 1 of the simulator (a t72); then, with a stream, every
  // frame is answered from it, else by the simulator.
  explicit TranslatorHost(AnswerStream* answers = nullptr);
  ~TranslatorHost();
  TranslatorHost(const TranslatorHost&) = delete;
  TranslatorHost& operator=(const TranslatorHost&) = delete;

  // Runs one command line through EcrCmd, with every '/' and '\\' made '_'
  // so that it names files in the private folder only, and checks the bound
  // of its result text.
  int Run(std::string line);

  ecrsim::Simulator sim;
};

// A folder of this process's own, the current one while a host runs; removed at exit.
const std::string& PrivateFolder();

}  // namespace fuzz
