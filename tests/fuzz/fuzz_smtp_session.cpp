// The mail client's session against a fuzzed server, without sockets: the
// server's bytes come in chunks through the client's socket layer, and a TLS
// handshake reads them too. Byte 0: bits 0-1 the security (plain, STARTTLS,
// TLS from the start), bit 2 authenticate, bit 3 no user; byte 1: the chunk
// size less one; the rest: what the server sends. The session is opened, one
// message sent and the connection closed; every failure must be an ECSmtp.
#include <openssl/bio.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "interfaces/registry.h"
#include "mail/smtp/smtp_client.h"
#include "platform/posix/settings_store.h"

namespace {

constexpr platform::SocketHandle kHandle = 7;

class StreamSockets final : public quadrel::SmtpSockets {
 public:
  StreamSockets(std::span<const std::uint8_t> stream, std::size_t chunk) : stream_(stream), chunk_(chunk) {}

  platform::SocketHandle Open() override {
    ++open_;
    return kHandle;
  }
  bool MakeNonBlocking(platform::SocketHandle) override { return true; }
  void Close(platform::SocketHandle socket) override {
    if (socket != kHandle || --open_ < 0) std::abort();
  }
  platform::ConnectStart StartConnect(platform::SocketHandle, std::uint32_t, std::uint16_t) override {
    return platform::ConnectStart::Connected;
  }
  platform::WaitResult WaitConnected(platform::SocketHandle, std::uint32_t) override {
    return platform::WaitResult::Ready;
  }
  platform::WaitResult Wait(platform::SocketHandle, bool, bool, std::uint32_t) override {
    return platform::WaitResult::Ready;
  }
  long Send(platform::SocketHandle socket, const char*, std::size_t length) override {
    if (socket != kHandle) std::abort();
    return static_cast<long>(length);
  }
  long Receive(platform::SocketHandle socket, char* buffer, std::size_t capacity) override {
    if (socket != kHandle) std::abort();
    const std::size_t count = std::min({chunk_, capacity, stream_.size()});
    std::memcpy(buffer, stream_.data(), count);
    stream_ = stream_.subspan(count);
    return static_cast<long>(count);
  }
  bool PeerAddressText(platform::SocketHandle, std::string& text) override {
    text = "127.0.0.1";
    return true;
  }
  // The handshake reads the rest of the stream; what the client writes is dropped.
  bool BindTls(ssl_st* session, platform::SocketHandle) override {
    BIO* in = BIO_new_mem_buf(stream_.data(), static_cast<int>(stream_.size()));
    BIO* out = BIO_new(BIO_s_mem());
    if (!in || !out) std::abort();
    BIO_set_mem_eof_return(in, 0);
    stream_ = {};
    SSL_set_bio(session, in, out);
    return true;
  }
  int OpenSockets() const { return open_; }

 private:
  std::span<const std::uint8_t> stream_;
  std::size_t chunk_;
  int open_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // No server's certificate can be checked here; loading the system's roots
  // for every handshake would only slow the run.
  platform::test_settings::Put(platform::SettingsRoot::LocalMachine, registry::kDriverKey, registry::kMailTlsVerify,
                               "0");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int security = data[0] & 3;
  const bool authenticate = data[0] & 4;
  StreamSockets sockets(std::span(data + 2, size - 2), 1 + data[1]);
  {
    quadrel::CSmtp client(sockets);
    try {
      client.OpenSession("127.0.0.1", 25, security == 3 ? quadrel::kSmtpPlain : security, authenticate,
                         (data[0] & 8) ? "" : "user", "secret");
      client.SetFromAddress("till@example.org");
      client.AddToRecipient("office@example.org", "Office");
      client.AppendBodyLine("Total 12.50");
      client.AppendBodyLine(".");
      client.TransmitMessage();
    } catch (const quadrel::ECSmtp&) {
    }
    if (client.LastReply().size() > quadrel::kSmtpMaxReply) std::abort();
    client.CloseConnection();
  }
  if (sockets.OpenSockets() != 0) std::abort();
  return 0;
}
