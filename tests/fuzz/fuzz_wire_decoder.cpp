// The simulator's wire decoder on arbitrary byte streams, fed in chunks of
// varying size: it must never crash, never keep more than one message and the
// last chunk buffered, and every message it yields must encode back to an
// equal message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "wire/wire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t chunk = 1 + data[0] % 64;
  ++data;
  --size;
  ecrwire::Decoder decoder;
  ecrwire::Message message;
  std::string reason;
  for (std::size_t at = 0; at < size; at += chunk) {
    const std::size_t n = size - at < chunk ? size - at : chunk;
    decoder.Feed({data + at, n});
    for (;;) {
      const auto result = decoder.Next(message, reason);
      if (result == ecrwire::Decoder::Result::NeedMore) break;
      if (result != ecrwire::Decoder::Result::Message) continue;
      std::vector<std::uint8_t> again;
      if (!ecrwire::Encode(message, again)) std::abort();
      ecrwire::Decoder check;
      check.Feed(again);
      ecrwire::Message copy;
      if (check.Next(copy, reason) != ecrwire::Decoder::Result::Message || copy.payload != message.payload ||
          copy.seq != message.seq || copy.ecr != message.ecr || copy.type != message.type ||
          copy.code != message.code || copy.detail != message.detail) {
        std::abort();
      }
    }
    if (decoder.Buffered() > ecrwire::kMaxMessageBytes + chunk) std::abort();
  }
  return 0;
}
