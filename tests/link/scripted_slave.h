// A small Modbus ASCII slave for link tests, on the far end of an in-memory port pair (or any
// port). Each complete request frame is decoded and handed to a script, which answers with the
// replies to write, each after an optional delay. A default script serves a register bank.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/byte_arrays.h"
#include "link/hex_text.h"
#include "link/modbus_framing.h"
#include "link/serial_port.h"

namespace quarn::link::testing {

struct Reply {
  std::string Text;  // written as it stands
  std::chrono::milliseconds Delay{0};
};

// The frame of an answer (device id, function, data) as a slave sends it. Answers may be
// shorter than any request, so this does not go through FrameAscii.
inline std::string Frame(const TReqResArray& pdu) {
  std::string frame = ":";
  for (std::uint8_t byte : pdu) frame += ToHex(byte, 2);
  return frame + ToHex(ComputeLrc(pdu), 2) + "\r\n";
}

// Bytes of a frame's hexadecimal part (device id through LRC); nullopt when it is not a frame.
inline std::optional<TReqResArray> DecodeFrame(const std::string& frame) {
  if (frame.size() < 5 || frame[0] != ':' || frame.substr(frame.size() - 2) != "\r\n") {
    return std::nullopt;
  }
  TReqResArray bytes;
  for (std::size_t at = 1; at + 2 < frame.size(); at += 2) {
    const auto value = ParseHex(std::string_view(frame).substr(at, 2));
    if (!value) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(*value));
  }
  if (bytes.empty()) return std::nullopt;
  bytes.pop_back();  // the LRC
  return bytes;
}

// Registers and bits of one controller, answering functions 1 to 6, 15 and 16.
struct RegisterBank {
  std::uint8_t Id = 1;
  std::map<std::uint16_t, bool> Coils;
  std::map<std::uint16_t, bool> Inputs;
  std::map<std::uint16_t, std::uint16_t> Holding;
  std::map<std::uint16_t, std::uint16_t> InputRegisters;

  static std::uint16_t Word(const TReqResArray& pdu, std::size_t at) {
    return static_cast<std::uint16_t>(pdu[at] << 8 | pdu[at + 1]);
  }

  // The answer PDU, or nullopt for silence (another device, a short request).
  std::optional<TReqResArray> Serve(const TReqResArray& pdu) {
    if (pdu.size() < 6 || pdu[0] != Id) return std::nullopt;
    const std::uint8_t function = pdu[1];
    const std::uint16_t address = Word(pdu, 2);
    const std::uint16_t count = Word(pdu, 4);
    TReqResArray answer{Id, function};
    switch (function) {
      case 1:
      case 2: {
        auto& bits = function == 1 ? Coils : Inputs;
        TReqResArray data((count + 7U) / 8U, 0);
        for (unsigned i = 0; i < count; ++i) {
          const auto it = bits.find(static_cast<std::uint16_t>(address + i));
          if (it != bits.end() && it->second)
            data[i / 8] |= static_cast<std::uint8_t>(1U << (i % 8));
        }
        answer.push_back(static_cast<std::uint8_t>(data.size()));
        answer.insert(answer.end(), data.begin(), data.end());
        return answer;
      }
      case 3:
      case 4: {
        auto& words = function == 3 ? Holding : InputRegisters;
        answer.push_back(static_cast<std::uint8_t>(2 * count));
        for (unsigned i = 0; i < count; ++i) {
          const std::uint16_t value = words[static_cast<std::uint16_t>(address + i)];
          answer.push_back(static_cast<std::uint8_t>(value >> 8));
          answer.push_back(static_cast<std::uint8_t>(value));
        }
        return answer;
      }
      case 5:
        Coils[address] = pdu[4] != 0;
        return pdu;
      case 6:
        Holding[address] = count;
        return pdu;
      case 16:
        for (unsigned i = 0; i < count && 7 + 2 * i + 1 < pdu.size(); ++i) {
          Holding[static_cast<std::uint16_t>(address + i)] = Word(pdu, 7 + 2 * i);
        }
        return TReqResArray(pdu.begin(), pdu.begin() + 6);
      default:
        return TReqResArray{Id, static_cast<std::uint8_t>(function | 0x80), 1};
    }
  }
};

class ScriptedSlave {
 public:
  // Answers the decoded request (id, function, fields; no LRC) with the replies to write.
  using Script = std::function<std::vector<Reply>(const TReqResArray& request)>;

  // Serves `bank` (shared with the test under the slave's lock: use Locked()).
  ScriptedSlave(TSerialPort& end, const std::string& name = "slave") : end_(end) {
    SetScript([this](const TReqResArray& request) -> std::vector<Reply> {
      const std::optional<TReqResArray> answer = bank_.Serve(request);
      if (!answer) return {};
      return {Reply{Frame(*answer)}};
    });
    end_.SetOnRead([this](std::span<const std::uint8_t> chunk, std::uint32_t) {
      OnChunk(chunk);
      end_.GrantReadPermission();
    });
    end_.Open(name);
    writer_ = std::thread([this] { WriteLoop(); });
  }

  ~ScriptedSlave() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    writer_.join();
    end_.Close();
  }

  void SetScript(Script script) {
    std::lock_guard lock(mutex_);
    script_ = std::move(script);
  }

  // Runs `change` on the register bank under the slave's lock.
  template <typename Change>
  void Locked(Change change) {
    std::lock_guard lock(mutex_);
    change(bank_);
  }

  // While held, answers wait in the outbox: the test sees the link with a frame in flight for as
  // long as it needs, however slow the machine.
  void Hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
  }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      held_ = false;
    }
    wake_.notify_all();
  }

  std::vector<std::string> Requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  std::size_t RequestCount() {
    std::lock_guard lock(mutex_);
    return requests_.size();
  }
  bool WaitForRequests(std::size_t count,
                       std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
  }

 private:
  void OnChunk(std::span<const std::uint8_t> chunk) {
    std::lock_guard lock(mutex_);
    pending_.append(chunk.begin(), chunk.end());
    for (std::size_t end = pending_.find("\r\n"); end != std::string::npos;
         end = pending_.find("\r\n")) {
      const std::string frame = pending_.substr(0, end + 2);
      pending_.erase(0, end + 2);
      requests_.push_back(frame);
      const std::optional<TReqResArray> request = DecodeFrame(frame);
      if (!request) continue;
      const auto now = std::chrono::steady_clock::now();
      for (const Reply& reply : script_(*request)) {
        outbox_.push_back({now + reply.Delay, reply.Text});
      }
    }
    wake_.notify_all();
  }

  // Writes each reply when its time has come, earliest first.
  void WriteLoop() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
      if (outbox_.empty() || held_) {
        wake_.wait(lock, [&] { return stop_ || (!outbox_.empty() && !held_); });
        continue;
      }
      auto next = std::min_element(outbox_.begin(), outbox_.end(),
                                   [](const auto& a, const auto& b) { return a.first < b.first; });
      const auto due = next->first;  // a copy: the outbox may grow while this thread waits
      if (std::chrono::steady_clock::now() < due) {
        wake_.wait_until(lock, due);  // a new reply may be due earlier: look again
        continue;
      }
      const std::string text = next->second;
      outbox_.erase(next);
      lock.unlock();
      end_.Write(link::TextBytes(text));
      lock.lock();
    }
  }

  TSerialPort& end_;
  std::mutex mutex_;
  std::condition_variable wake_;
  RegisterBank bank_;
  Script script_;
  std::string pending_;
  std::vector<std::string> requests_;
  std::vector<std::pair<std::chrono::steady_clock::time_point, std::string>> outbox_;
  bool stop_ = false;
  bool held_ = false;
  std::thread writer_;
};

}  // namespace quarn::link::testing
