// Starts the ecrsim program, talks to it over TCP on both of its ports and stops it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "server/net_socket.h"
#include "wire/wire.h"

extern char** environ;

namespace ecrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kWaitMs = 5000;

class SimulatorProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(net::Startup());
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);  // a complaint shows up among the lines read
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> args = {ECRSIM_PROGRAM, "--port", "0", "--control", "0"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ASSERT_EQ(posix_spawn(&pid_, ECRSIM_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    stdout_ = out[0];
    const std::string banner = ReadOutputLines(2);
    ASSERT_EQ(std::sscanf(banner.c_str(), "ecrsim wire port %hu\necrsim control port %hu", &wirePort_,
                          &controlPort_),
              2)
        << banner;
    wire_ = net::ConnectLoopback(wirePort_);
    control_ = net::ConnectLoopback(controlPort_);
    ASSERT_NE(wire_, net::kNoSocket);
    ASSERT_NE(control_, net::kNoSocket);
  }

  void TearDown() override {
    net::CloseSocket(wire_);
    net::CloseSocket(control_);
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) close(stdout_);
  }

  // Reads the program's standard output until it holds `count` lines.
  std::string ReadOutputLines(int count) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    char c;
    while (count > 0 && std::chrono::steady_clock::now() < deadline) {
      std::vector<bool> ready;
      net::WaitReadable(std::vector<net::Socket>{stdout_}, ready, 100);
      if (!ready[0]) continue;
      if (read(stdout_, &c, 1) != 1) break;
      text += c;
      if (c == '\n') --count;
    }
    return text;
  }

  // Everything the program wrote until it ended.
  std::string ReadRemainingOutput() { return ReadOutputLines(std::numeric_limits<int>::max()); }

  std::string Control(const std::string& line) {
    const std::string sent = line + "\n";
    EXPECT_TRUE(net::SendAll(control_, {reinterpret_cast<const std::uint8_t*>(sent.data()), sent.size()}));
    std::string reply;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (std::chrono::steady_clock::now() < deadline && reply.find("OK\n") == std::string::npos &&
           reply.find("ERROR") == std::string::npos) {
      std::vector<bool> ready;
      net::WaitReadable(std::vector<net::Socket>{control_}, ready, 100);
      std::uint8_t buffer[4096];
      if (ready[0]) {
        const long n = net::Receive(control_, buffer, sizeof buffer);
        if (n <= 0) break;
        reply.append(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(n));
      }
    }
    return reply;
  }

  void SendRaw(const Bytes& bytes) { ASSERT_TRUE(net::SendAll(wire_, bytes)); }

  void SendFrame(std::uint8_t ecr, std::uint16_t seq, const Bytes& frame) {
    Bytes bytes;
    ASSERT_TRUE(ecrwire::Encode({ecrwire::MessageType::Request, ecr, seq, 3, 0, frame}, bytes));
    SendRaw(bytes);
  }

  // The next message from the register, or nothing within `waitMs`.
  bool ReceiveMessage(ecrwire::Message& message, int waitMs = kWaitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    std::string reason;
    while (decoder_.Next(message, reason) != ecrwire::Decoder::Result::Message) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::vector<bool> ready;
      net::WaitReadable(std::vector<net::Socket>{wire_}, ready, 50);
      if (!ready[0]) continue;
      std::uint8_t buffer[4096];
      const long n = net::Receive(wire_, buffer, sizeof buffer);
      if (n <= 0) return false;
      decoder_.Feed({buffer, static_cast<std::size_t>(n)});
    }
    return true;
  }

  // Waits for the program to end and gives its exit status (-1 when it does not end).
  int WaitForExit() {
    for (int i = 0; i < kWaitMs / 20; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }

  pid_t pid_ = -1;
  bool exited_ = false;
  int stdout_ = -1;
  std::uint16_t wirePort_ = 0, controlPort_ = 0;
  net::Socket wire_ = net::kNoSocket, control_ = net::kNoSocket;
  ecrwire::Decoder decoder_;
};

TEST_F(SimulatorProgramTest, ExchangesFramesPlaysAnInjectedFaultAndStopsOnCommand) {
  SendFrame(1, 100, {'T'});
  ecrwire::Message answer;
  ASSERT_TRUE(ReceiveMessage(answer));
  EXPECT_EQ(answer.type, ecrwire::MessageType::Answer);
  EXPECT_EQ(answer.seq, 100);
  EXPECT_EQ(answer.code, 0);
  ASSERT_EQ(answer.payload.size(), 96u);
  EXPECT_EQ(std::string(answer.payload.begin() + 1, answer.payload.begin() + 11), "TX72000123");

  EXPECT_EQ(Control("fault 1 result 4 7"), "OK\n");
  SendFrame(1, 101, {'S'});
  ASSERT_TRUE(ReceiveMessage(answer));
  EXPECT_EQ(answer.seq, 101);
  EXPECT_EQ(answer.code, 4);
  EXPECT_EQ(answer.detail, 7);

  // Noise and a damaged message are dropped; the link goes on.
  SendRaw({'n', 'o', 'i', 's', 'e', ecrwire::kMagic, 7, 0, 1, 1, 0, 0, 3, 0, 'S', 0xDE, 0xAD});
  SendFrame(1, 102, {'S'});
  ASSERT_TRUE(ReceiveMessage(answer));
  EXPECT_EQ(answer.seq, 102);
  EXPECT_EQ(answer.code, 0);
  EXPECT_EQ(answer.payload[0], 'S');

  const std::string log = Control("log 1");
  EXPECT_EQ(log.rfind("1 54 -> 0 5454583732303030313233", 0), 0u) << log;  // 'T' answered with the identity
  EXPECT_NE(log.find("\n2 53 -> 4 \n3 53 -> 0 53"), std::string::npos) << log;

  EXPECT_EQ(Control("stop"), "OK\n");
  EXPECT_EQ(WaitForExit(), 0);
  const std::string output = ReadRemainingOutput();  // the dropped bytes were reported before
  EXPECT_TRUE(output.ends_with("\necrsim stopped\n")) << output;
}

TEST_F(SimulatorProgramTest, DelayedAnswersLeaveTheControlChannelFreeAndSilenceIsSilence) {
  EXPECT_EQ(Control("fault 1 delay 400"), "OK\n");
  EXPECT_EQ(Control("fault 1 drop"), "OK\n");
  const auto start = std::chrono::steady_clock::now();
  SendFrame(1, 1, {'S'});
  EXPECT_EQ(Control("status 1 critical 5"), "OK\n");  // served while the answer waits
  ecrwire::Message answer;
  ASSERT_TRUE(ReceiveMessage(answer));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
  EXPECT_EQ(answer.seq, 1);
  SendFrame(1, 2, {'S'});
  EXPECT_FALSE(ReceiveMessage(answer, 300));
  SendFrame(1, 3, {'S'});
  ASSERT_TRUE(ReceiveMessage(answer));
  EXPECT_EQ(answer.seq, 3);
  EXPECT_EQ(answer.payload[2], 5);  // the critical code set meanwhile
}

TEST_F(SimulatorProgramTest, EventsReachTheHostAndAbsentRegistersDoNotAnswer) {
  EXPECT_EQ(Control("event 1 9 A1B2"), "OK\n");
  ecrwire::Message event;
  ASSERT_TRUE(ReceiveMessage(event));
  EXPECT_EQ(event.type, ecrwire::MessageType::Event);
  EXPECT_EQ(event.ecr, 1);
  EXPECT_EQ(event.code, 9);
  EXPECT_EQ(event.payload, (Bytes{0xA1, 0xB2}));
  SendFrame(2, 1, {'S'});
  EXPECT_FALSE(ReceiveMessage(event, 300));
}

// The device keeps a transfer's steps and answers scripted queries after their delay.
TEST_F(SimulatorProgramTest, ServiceMessagesReachTheRegistersDevice) {
  using ecrwire::ServiceStep;
  auto service = [&](std::uint8_t code, ServiceStep step, const Bytes& payload) {
    Bytes bytes;
    ASSERT_TRUE(ecrwire::Encode(
        {ecrwire::MessageType::Service, 1, 7, code, static_cast<std::uint8_t>(step), payload}, bytes));
    SendRaw(bytes);
  };
  auto answered = [&](int waitMs = kWaitMs) {
    ecrwire::Message answer;
    return ReceiveMessage(answer, waitMs) ? answer.payload : Bytes{0xEE};
  };
  EXPECT_EQ(Control("device 1 close 78 3"), "OK\n");
  service(78, ServiceStep::Open, {2, 0, 0, 0, 0, 'a', 'b'});
  EXPECT_EQ(answered(), (Bytes{0, 0, 0, 0}));
  service(78, ServiceStep::Data, {'x', 'y'});
  EXPECT_EQ(answered(), (Bytes{0, 0, 0, 0}));
  service(78, ServiceStep::Close, {});
  EXPECT_EQ(answered(), (Bytes{3, 0, 0, 0}));
  service(78, ServiceStep::Data, {'z'});
  EXPECT_EQ(answered(), (Bytes{2, 0, 0, 0}));  // the transfer is closed
  EXPECT_EQ(Control("device 1 transfers"), "78 kind 2 entry 0 text \"ab\" closed 7879\nOK\n");

  EXPECT_EQ(Control("device 1 query STATO 0 300 PRONTO 1"), "OK\n");
  service(79, ServiceStep::Query, {0x88, 0x13, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'S', 'T', 'A', 'T', 'O'});
  EXPECT_EQ(answered(200), Bytes{0xEE});
  EXPECT_EQ(answered(), (Bytes{0, 0, 0, 0, 'P', 'R', 'O', 'N', 'T', 'O', ' ', '1'}));
  service(79, ServiceStep::Query, {0, 0, 0, 0, 0, 0, 0, 0, '?'});
  EXPECT_EQ(answered(), (Bytes{1, 0, 0, 0}));
}

TEST_F(SimulatorProgramTest, TerminationSignalStopsItCleanly) {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // idle: the signal lands in its wait
  ASSERT_EQ(kill(pid_, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_EQ(ReadRemainingOutput(), "ecrsim stopped\n");  // and no complaint about the interrupted wait
}

}  // namespace
}  // namespace ecrsim
