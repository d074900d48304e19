// The controller's side of Modbus ASCII framing: cutting request frames out of the received
// characters, and framing answers.
//
// A request frame is ':' followed by pairs of hexadecimal digits (device id, function, fields,
// LRC) and CR LF. The parser behaves like a slave on a shared line: a ':' always starts a new
// frame, whatever came before; characters outside a frame (line noise, NUL or bytes above 127)
// are ignored; a frame holding anything but hexadecimal digits before its CR LF, or growing
// beyond the longest frame Modbus allows, is dropped whole. Memory stays bounded whatever
// arrives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/byte_arrays.h"

namespace quarn::simulator {

// Characters of the longest Modbus ASCII frame (':' + 2 x 255 + CR LF, rounded as the standard).
inline constexpr std::size_t kMaxRequestFrame = 513;
// Bytes of the shortest request worth examining: device id, function and LRC.
inline constexpr std::size_t kMinFrameBytes = 3;

enum class TFrameStatus : std::uint8_t {
  Good,       // LRC correct; Pdu holds device id through the last data byte
  BadLrc,     // well formed, LRC wrong: a slave stays silent
  Malformed,  // not hexadecimal, an odd number of digits, CR without LF or too short
  Overlong,   // grew beyond kMaxRequestFrame before its CR LF
};

struct TParsedFrame {
  TFrameStatus Status = TFrameStatus::Good;
  link::TReqResArray Pdu;  // without the LRC; empty unless Good
  std::string Text;        // the frame as received (bounded), for the verbose log
};

class TRequestFrameParser {
 public:
  // Examines the bytes and appends every frame that ended in them to `frames`.
  void Feed(std::span<const std::uint8_t> bytes, std::vector<TParsedFrame>& frames);
  // Forgets a frame in progress.
  void Reset();
  bool InFrame() const { return in_frame_; }

 private:
  void Finish(std::vector<TParsedFrame>& frames);
  void Drop(TFrameStatus status, std::vector<TParsedFrame>& frames);

  bool in_frame_ = false;
  bool seen_cr_ = false;
  std::string text_;  // the frame so far, ':' included
};

// The ASCII frame of an answer PDU (device id, function, data): ':', the PDU and its LRC in
// upper-case hexadecimal, CR LF.
link::TStrToPort FrameAnswer(std::span<const std::uint8_t> pdu);

// Replaces the LRC of a framed answer by a wrong one (fault injection).
void SpoilLrc(link::TStrToPort& frame);

}  // namespace quarn::simulator
