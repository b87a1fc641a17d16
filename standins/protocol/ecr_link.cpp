#include "ecr_link.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>

namespace prot {
namespace {

constexpr int kReceivePollMs = 100;  // how soon the reader sees a stop
constexpr int kReconnectPauseMs = 300;
constexpr std::size_t kReadChunk = 4096;

}  // namespace

bool EcrLink::Open(const PortSettings& settings, std::string& error) {
  Close();
  settings_ = settings;
  if (settings_.logOn) log_.Open(settings_.logFile);
  std::shared_ptr<ByteLine> line = OpenLine(settings_, error);
  if (!line) {
    log_.Note("open failed: " + error);
    log_.Close();
    return false;
  }
  {
    std::lock_guard lock(lineMutex_);
    line_ = std::move(line);
  }
  decoder_ = ecrwire::Decoder{};
  events_.Clear();
  bytes_ = 0;
  generation_ = 1;
  stop_ = false;
  hungUp_ = false;
  open_ = true;
  log_.Note("open " + settings_.portType);
  reader_ = std::thread([this] { ReaderLoop(); });
  return true;
}

void EcrLink::Close() {
  stop_ = true;
  if (reader_.joinable()) {
    // A callback that closes the port runs on the reader itself: let it end on its own.
    if (reader_.get_id() == std::this_thread::get_id()) {
      reader_.detach();
    } else {
      reader_.join();
    }
  }
  {
    std::lock_guard lock(lineMutex_);
    line_.reset();
  }
  {
    std::lock_guard lock(waitMutex_);
    if (wait_ == Wait::Waiting) wait_ = Wait::Lost;
  }
  answered_.notify_all();
  if (open_) log_.Note("closed");
  open_ = false;
  log_.Close();
}

std::shared_ptr<ByteLine> EcrLink::CurrentLine() {
  std::lock_guard lock(lineMutex_);
  return line_;
}

std::uint16_t EcrLink::NextSeq() { return seq_.fetch_add(1) + 1; }

bool EcrLink::SendMessage(const ecrwire::Message& message) {
  std::vector<std::uint8_t> encoded;
  if (!ecrwire::Encode(message, encoded)) return false;
  const std::shared_ptr<ByteLine> line = CurrentLine();
  if (!line || !line->Send(encoded)) return false;
  bytes_ += static_cast<long long>(encoded.size());
  log_.Message('>', message.ecr, message.seq, message.code, message.detail, message.payload);
  return true;
}

ExchangeResult EcrLink::Exchange(int ecr, int mode, std::span<const std::uint8_t> frame, std::uint8_t* answer,
                                 int capacity) {
  std::lock_guard exchange(exchangeMutex_);
  const ExchangeResult r = Transact({ecrwire::MessageType::Request,
                                     static_cast<std::uint8_t>(ecr),
                                     NextSeq(),
                                     static_cast<std::uint8_t>(mode),
                                     0,
                                     {frame.begin(), frame.end()}},
                                    settings_.answerTimeoutMs);
  if (r.local) return r;
  const int length = static_cast<int>(answer_.payload.size());
  if (length > capacity) return {kResultRequestError, kDetailAnswerTooLong, 0, true};
  std::copy(answer_.payload.begin(), answer_.payload.end(), answer);
  return {answer_.code, answer_.detail, length};
}

ExchangeResult EcrLink::ServiceExchange(int ecr, int service, ecrwire::ServiceStep step,
                                        std::span<const std::uint8_t> payload, int timeoutMs,
                                        std::vector<std::uint8_t>& answer) {
  std::lock_guard exchange(exchangeMutex_);
  const ExchangeResult r = Transact({ecrwire::MessageType::Service,
                                     static_cast<std::uint8_t>(ecr),
                                     NextSeq(),
                                     static_cast<std::uint8_t>(service),
                                     static_cast<std::uint8_t>(step),
                                     {payload.begin(), payload.end()}},
                                    timeoutMs);
  if (r.local) return r;
  answer = answer_.payload;
  return {answer_.code, answer_.detail, static_cast<int>(answer.size())};
}

ExchangeResult EcrLink::Transact(const ecrwire::Message& request, int timeoutMs) {
  if (!open_) return {kResultNoLine, kDetailNotOpen, 0, true};
  {
    std::lock_guard lock(waitMutex_);
    wait_ = Wait::Waiting;
    waitEcr_ = request.ecr;
    waitSeq_ = request.seq;
  }
  if (!SendMessage(request)) {
    std::lock_guard lock(waitMutex_);
    wait_ = Wait::Idle;
    return {kResultNoLine, kDetailSendFailed, 0, true};
  }
  std::unique_lock lock(waitMutex_);
  answered_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return wait_ != Wait::Waiting; });
  const Wait outcome = wait_;
  wait_ = Wait::Idle;
  if (outcome == Wait::Waiting) {
    lock.unlock();
    log_.Note("no answer to seq " + std::to_string(request.seq));
    return {kResultTimeOut, kDetailTimeOut, 0, true};
  }
  if (outcome == Wait::Lost) return {kResultNoLine, kDetailLineLost, 0, true};
  return {answer_.code, answer_.detail, 0};
}

bool EcrLink::SendOnly(int ecr, int mode, std::span<const std::uint8_t> frame) {
  if (!open_) return false;
  return SendMessage({ecrwire::MessageType::Request, static_cast<std::uint8_t>(ecr), NextSeq(),
                      static_cast<std::uint8_t>(mode), 0, {frame.begin(), frame.end()}});
}

int EcrLink::TakeByteCount() { return static_cast<int>(std::min<long long>(bytes_.exchange(0), INT_MAX)); }

void EcrLink::Notify(ProtEventProc callback, int a, int b) {
  if (callback) callback(a, b);
}

void EcrLink::ReaderLoop() {
  std::vector<std::uint8_t> buffer(kReadChunk);
  while (!stop_) {
    const std::shared_ptr<ByteLine> line = CurrentLine();
    if (!line) {
      if (hungUp_ || !Reconnect()) {
        for (int waited = 0; waited < kReconnectPauseMs && !stop_; waited += kReceivePollMs / 2) {
          std::this_thread::sleep_for(std::chrono::milliseconds(kReceivePollMs / 2));
        }
      }
      continue;
    }
    const int n = line->Receive(buffer.data(), static_cast<int>(buffer.size()), kReceivePollMs);
    if (n == 0) continue;
    if (n < 0) {
      if (!stop_ && !hungUp_) LoseLine(line, kErrLineLost);
      continue;
    }
    bytes_ += n;
    decoder_.Feed({buffer.data(), static_cast<std::size_t>(n)});
    Dispatch();
  }
}

void EcrLink::Dispatch() {
  ecrwire::Message message;
  std::string reason;
  for (;;) {
    const auto result = decoder_.Next(message, reason);
    if (result == ecrwire::Decoder::Result::NeedMore) return;
    if (result == ecrwire::Decoder::Result::Dropped) {
      log_.Note("dropped: " + reason);
      continue;
    }
    log_.Message(message.type == ecrwire::MessageType::Event ? '*' : '<', message.ecr, message.seq, message.code,
                 message.detail, message.payload);
    if (message.type == ecrwire::MessageType::Answer) {
      TakeAnswer(message);
    } else if (message.type == ecrwire::MessageType::Event) {
      TakeEvent(message);
    } else {
      log_.Note("dropped a request from the register side");
    }
  }
}

void EcrLink::TakeAnswer(ecrwire::Message& message) {
  {
    std::lock_guard lock(waitMutex_);
    // A late answer to an exchange that already timed out matches nothing.
    if (wait_ != Wait::Waiting || message.seq != waitSeq_ || message.ecr != waitEcr_) {
      log_.Note("answer to nobody dropped (seq " + std::to_string(message.seq) + ")");
      return;
    }
    answer_ = std::move(message);
    wait_ = Wait::Answered;
  }
  answered_.notify_all();
}

void EcrLink::TakeEvent(const ecrwire::Message& message) {
  if (message.payload.size() > sizeof(TEcrMessage::data)) {
    log_.Note("event of " + std::to_string(message.payload.size()) + " bytes cut to 256");
  }
  const int index = events_.Add(message.ecr, message.code, message.payload);
  Notify(rxCallback_, index, message.code);
}

void EcrLink::LoseLine(const std::shared_ptr<ByteLine>& lost, int detail) {
  {
    std::lock_guard lock(lineMutex_);
    if (line_ != lost) return;  // already replaced by a new dial
    line_.reset();
  }
  {
    std::lock_guard lock(waitMutex_);
    if (wait_ == Wait::Waiting) wait_ = Wait::Lost;
  }
  answered_.notify_all();
  decoder_ = ecrwire::Decoder{};
  log_.Note("line lost");
  Notify(netCallback_, kNetLost, detail);
}

bool EcrLink::Reconnect() {
  std::string error;
  std::shared_ptr<ByteLine> line = OpenLine(settings_, error);
  if (!line) return false;
  {
    std::lock_guard lock(lineMutex_);
    if (hungUp_ || stop_) return false;
    line_ = std::move(line);
  }
  ++generation_;
  log_.Note("line restored");
  Notify(netCallback_, kNetRestored, generation_);
  return true;
}

void EcrLink::HangUp() {
  if (!open_ || hungUp_.exchange(true)) return;
  {
    std::lock_guard lock(lineMutex_);
    line_.reset();
  }
  log_.Note("hung up");
  Notify(netCallback_, kNetLost, kErrNone);
}

bool EcrLink::Dial(std::string& error) {
  if (!open_) {
    error = "port not open";
    return false;
  }
  {
    std::lock_guard lock(lineMutex_);
    if (line_) return true;
  }
  std::shared_ptr<ByteLine> line = OpenLine(settings_, error);
  if (!line) return false;
  {
    std::lock_guard lock(lineMutex_);
    line_ = std::move(line);
    hungUp_ = false;
  }
  ++generation_;
  log_.Note("dialled");
  Notify(netCallback_, kNetRestored, generation_);
  return true;
}

}  // namespace prot
