#include "simulator/simulator_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <deque>

#include "link/hex_text.h"
#include "simulator/line_pacing.h"
#include "simulator/simulator_texts.h"
#include "simulator/slave_framing.h"

namespace quarn::simulator {
namespace {

constexpr auto kSpinWindow = std::chrono::microseconds(200);

struct TPendingPiece {
  Clock::time_point Due;
  link::TBytesArray Bytes;
  bool EndsAnswer = false;
};

// Printable form of a frame for the log: CR LF dropped, other control and high bytes as \xNN.
std::string Printable(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    if (byte == '\r' || byte == '\n') continue;
    if (byte >= 0x20 && byte < 0x7F) {
      text.push_back(static_cast<char>(byte));
    } else {
      text += "\\x" + link::ToHex(byte, 2);
    }
  }
  return text;
}

std::string Printable(std::string_view text) {
  return Printable(link::TextBytes(text));
}

void Drain(int fd) {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t read = ::read(fd, &count, sizeof count);
}

}  // namespace

// Everything the server's thread owns; nothing here is touched by another thread except the
// statistics, which take the server's lock.
class TSimulatorServer::TLoop {
 public:
  TLoop(TSimulatorServer& server, TByteStream& stream)
      : server_(server),
        stream_(stream),
        settings_(server.settings_),
        input_pacer_(settings_.PaceBaud),
        output_pacer_(settings_.PaceBaud),
        faults_(settings_.Faults) {}

  void Run() {
    // Paced characters are released at computed instants; the default timer slack of 50 us
    // would add itself to every frame's line time.
    if (settings_.PaceBaud != 0) ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    while (!server_.stopping_) {
      const Clock::time_point now = Clock::now();
      FeedDueInput(now);
      WriteDueOutput(now);
      Wait(now);
      ReadInput();
    }
  }

 private:
  void Log(std::string_view line) const {
    if (settings_.Log) settings_.Log(line);
  }
  // The printable text of a frame is built only when someone reads the log: without a log
  // sink, escaping every frame's bytes would be work on every request for nothing.
  template <typename Frame>
  void LogFrame(std::string_view prefix, const Frame& frame) const {
    if (settings_.Log) settings_.Log(std::string(prefix) + Printable(frame));
  }
  template <typename Update>
  void Count(Update update) {
    std::lock_guard lock(server_.stats_mutex_);
    update(server_.stats_);
  }

  bool InputRoom() const { return input_waiting_ < kReadLimit; }

  void ReadInput() {
    if (!stream_alive_ || !InputRoom()) return;
    link::TBytesArray bytes;
    if (!stream_.ReadAvailable(bytes, kReadLimit - input_waiting_)) {
      stream_alive_ = false;
      Log(texts::kLogStreamClosed);
    }
    if (bytes.empty()) return;
    std::size_t at = 0;
    for (const TTimedPiece& piece : input_pacer_.Schedule(bytes, Clock::now())) {
      input_.push_back(
          {piece.Due,
           link::TBytesArray(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + piece.Length)),
           false});
      at += piece.Length;
      input_waiting_ += piece.Length;
    }
  }

  void FeedDueInput(Clock::time_point now) {
    while (!input_.empty() && input_.front().Due <= now) {
      const TPendingPiece piece = std::move(input_.front());
      input_.pop_front();
      input_waiting_ -= piece.Bytes.size();
      frames_.clear();
      parser_.Feed(piece.Bytes, frames_);
      // The answer starts when the request's last character arrived on the line, not when this
      // thread woke up to see it: the simulator's own wake-up latency is no part of the line.
      for (TParsedFrame& frame : frames_) HandleFrame(frame, std::min(piece.Due, now));
    }
  }

  void HandleFrame(const TParsedFrame& frame, Clock::time_point now) {
    switch (frame.Status) {
      case TFrameStatus::BadLrc:
        Count([](TServerStats& s) { ++s.BadLrc; });
        LogFrame(texts::kLogBadLrc, frame.Text);
        return;
      case TFrameStatus::Malformed:
      case TFrameStatus::Overlong:
        Count([](TServerStats& s) { ++s.Malformed; });
        LogFrame(
            frame.Status == TFrameStatus::Overlong ? texts::kLogOverlong : texts::kLogMalformed,
            frame.Text);
        return;
      case TFrameStatus::Good:
        break;
    }
    Count([](TServerStats& s) { ++s.Frames; });
    LogFrame(texts::kLogReceived, frame.Text);
    const std::optional<link::TReqResArray> answer = server_.handler_(frame.Pdu);
    if (!answer) {
      Log(texts::kLogNoAnswer);
      return;
    }
    Count([](TServerStats& s) { ++s.Answers; });
    Send(FrameAnswer(*answer), now);
  }

  void Send(link::TStrToPort answer, Clock::time_point now) {
    const TFaultPlan plan = settings_.Faults.Any() ? faults_.Next(answer.size()) : TFaultPlan{};
    if (plan.Drop) {
      Count([](TServerStats& s) { ++s.Dropped; });
      Log(texts::kLogFaultDrop);
      return;
    }
    if (plan.Corrupt) {
      SpoilLrc(answer);
      Count([](TServerStats& s) { ++s.Corrupted; });
      Log(texts::kLogFaultCorrupt);
    }
    if (plan.Delay.count() > 0) {
      output_pacer_.HoldUntil(now + plan.Delay);
      Count([](TServerStats& s) { ++s.Delayed; });
      Log(std::string(texts::kLogFaultDelay) + std::to_string(plan.Delay.count()));
    }
    if (!plan.Cuts.empty()) {
      Count([](TServerStats& s) { ++s.Split; });
      Log(std::string(texts::kLogFaultSplit) + std::to_string(plan.Cuts.size() + 1));
    }
    LogFrame(texts::kLogSent, answer);

    std::size_t start = 0;
    for (std::size_t i = 0; i <= plan.Cuts.size(); ++i) {
      const std::size_t end = i < plan.Cuts.size() ? plan.Cuts[i] : answer.size();
      if (i > 0) output_pacer_.HoldUntil(output_.back().Due + kSplitGap);
      Queue(std::span<const std::uint8_t>(answer).subspan(start, end - start), now,
            end == answer.size());
      start = end;
    }
  }

  void Queue(std::span<const std::uint8_t> bytes, Clock::time_point now, bool endsAnswer) {
    std::size_t at = 0;
    const std::vector<TTimedPiece> pieces = output_pacer_.Schedule(bytes, now);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
      output_.push_back(
          {pieces[i].Due,
           link::TBytesArray(first, first + static_cast<std::ptrdiff_t>(pieces[i].Length)),
           endsAnswer && i + 1 == pieces.size()});
      at += pieces[i].Length;
    }
  }

  void WriteDueOutput(Clock::time_point now) {
    while (!output_.empty() && output_.front().Due <= now) {
      TPendingPiece& piece = output_.front();
      const ssize_t written = stream_.WriteSome(piece.Bytes);
      if (written < 0) {
        DiscardOutput(texts::kLogStreamError);
        return;
      }
      const auto count = static_cast<std::size_t>(written);
      if (count == piece.Bytes.size()) {
        output_.pop_front();
        blocked_since_.reset();
        continue;
      }
      piece.Bytes.erase(piece.Bytes.begin(), piece.Bytes.begin() + written);
      if (count > 0 || !blocked_since_) blocked_since_ = now;
      if (now - *blocked_since_ >= kOutputStallLimit) DiscardOutput(texts::kLogOutputStalled);
      return;
    }
  }

  void DiscardOutput(std::string_view why) {
    const auto answers = static_cast<std::uint64_t>(std::count_if(
        output_.begin(), output_.end(), [](const TPendingPiece& p) { return p.EndsAnswer; }));
    output_.clear();
    blocked_since_.reset();
    Count([answers](TServerStats& s) { s.Discarded += answers; });
    Log(why);
  }

  void Wait(Clock::time_point now) {
    std::optional<Clock::time_point> deadline;
    auto consider = [&deadline](Clock::time_point t) {
      if (!deadline || t < *deadline) deadline = t;
    };
    if (!input_.empty()) consider(input_.front().Due);
    if (!output_.empty()) {
      consider(blocked_since_ ? *blocked_since_ + kOutputStallLimit : output_.front().Due);
    }
    const int fd = stream_alive_ ? stream_.PollFd() : -1;
    const short events =
        static_cast<short>((InputRoom() ? POLLIN : 0) | (blocked_since_ ? POLLOUT : 0));
    std::array<pollfd, 2> fds{{{server_.wake_fd_, POLLIN, 0}, {fd, events, 0}}};
    timespec timeout{};
    if (deadline) {
      // A sleeping thread wakes up tens of microseconds late; the last stretch before a paced
      // release is polled instead, so the character leaves on its line time, not after it.
      auto left = std::max(Clock::duration::zero(), *deadline - now);
      if (left < kSpinWindow) left = Clock::duration::zero();
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    }
    const int ready = ::ppoll(fds.data(), fds.size(), deadline ? &timeout : nullptr, nullptr);
    if (ready > 0 && (fds[0].revents & POLLIN) != 0) Drain(server_.wake_fd_);
    // A descriptor that reports only a hang-up or an error would wake us forever.
    if (ready > 0 && (fds[1].revents & (POLLERR | POLLNVAL)) != 0) {
      stream_alive_ = false;
      Log(texts::kLogStreamClosed);
    }
  }

  TSimulatorServer& server_;
  TByteStream& stream_;
  const TServerSettings& settings_;
  TRequestFrameParser parser_;
  std::vector<TParsedFrame> frames_;
  TLinePacer input_pacer_;
  TLinePacer output_pacer_;
  TFaultInjector faults_;
  std::deque<TPendingPiece> input_;
  std::size_t input_waiting_ = 0;
  std::deque<TPendingPiece> output_;
  std::optional<Clock::time_point> blocked_since_;
  bool stream_alive_ = true;
};

TSimulatorServer::TSimulatorServer(TRequestHandler handler, TServerSettings settings)
    : handler_(std::move(handler)), settings_(std::move(settings)) {}

TSimulatorServer::~TSimulatorServer() {
  Stop();
  if (wake_fd_ >= 0) ::close(wake_fd_);
}

bool TSimulatorServer::Start(std::unique_ptr<TByteStream> stream) {
  Stop();
  error_.clear();
  if (wake_fd_ < 0) wake_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_fd_ < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  Drain(wake_fd_);
  if (!stream || !stream->Open(wake_fd_, error_)) return false;
  stream_ = std::move(stream);
  {
    std::lock_guard lock(stats_mutex_);
    stats_ = {};
  }
  stopping_ = false;
  loop_ = std::make_unique<TLoop>(*this, *stream_);
  thread_ = std::thread([this] { loop_->Run(); });
  return true;
}

void TSimulatorServer::Stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
  thread_.join();
  stream_->Close();
  loop_.reset();
  stream_.reset();
}

TServerStats TSimulatorServer::Stats() const {
  std::lock_guard lock(stats_mutex_);
  return stats_;
}

}  // namespace quarn::simulator
