#include "simulator/slave_framing.h"

#include "link/hex_text.h"
#include "link/modbus_framing.h"

namespace quarn::simulator {
namespace {

constexpr char kStart = ':';
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr std::size_t kLrcDigits = 2;
constexpr std::size_t kTailLength = kLrcDigits + 2;  // LRC and CR LF at the end of a frame

}  // namespace

void TRequestFrameParser::Reset() {
  in_frame_ = false;
  seen_cr_ = false;
  text_.clear();
}

void TRequestFrameParser::Feed(std::span<const std::uint8_t> bytes,
                               std::vector<TParsedFrame>& frames) {
  for (const std::uint8_t byte : bytes) {
    const char ch = static_cast<char>(byte);
    if (ch == kStart) {
      // A new frame start abandons whatever was in progress, as on a shared line.
      Reset();
      in_frame_ = true;
      text_.push_back(ch);
      continue;
    }
    if (!in_frame_) continue;
    text_.push_back(ch);
    if (seen_cr_) {
      if (ch == kLf) {
        Finish(frames);
      } else {
        Drop(TFrameStatus::Malformed, frames);
      }
      continue;
    }
    if (ch == kCr) {
      seen_cr_ = true;
    } else if (!link::HexDigitValue(ch)) {
      Drop(TFrameStatus::Malformed, frames);
    } else if (text_.size() > kMaxRequestFrame) {
      Drop(TFrameStatus::Overlong, frames);
    }
  }
}

void TRequestFrameParser::Drop(TFrameStatus status, std::vector<TParsedFrame>& frames) {
  TParsedFrame frame;
  frame.Status = status;
  frame.Text = std::move(text_);
  frames.push_back(std::move(frame));
  Reset();
}

void TRequestFrameParser::Finish(std::vector<TParsedFrame>& frames) {
  // text_ is ':' + digits + CR LF; every digit was checked on arrival.
  const std::size_t digits = text_.size() - 3;
  if (digits % 2 != 0 || digits / 2 < kMinFrameBytes) {
    Drop(TFrameStatus::Malformed, frames);
    return;
  }
  link::TReqResArray bytes;
  bytes.reserve(digits / 2);
  for (std::size_t i = 0; i < digits; i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(*link::HexAt(text_, 2 + i, 2)));
  }
  const std::uint8_t lrc = bytes.back();
  bytes.pop_back();
  if (link::ComputeLrc(bytes) != lrc) {
    Drop(TFrameStatus::BadLrc, frames);
    return;
  }
  TParsedFrame frame;
  frame.Pdu = std::move(bytes);
  frame.Text = std::move(text_);
  frames.push_back(std::move(frame));
  Reset();
}

link::TStrToPort FrameAnswer(std::span<const std::uint8_t> pdu) { return link::FrameBytes(pdu); }

void SpoilLrc(link::TStrToPort& frame) {
  if (frame.size() < 1 + kTailLength) return;
  const std::size_t at = frame.size() - kTailLength;
  const std::string text(frame.begin() + static_cast<std::ptrdiff_t>(at),
                         frame.begin() + static_cast<std::ptrdiff_t>(at + kLrcDigits));
  const std::uint32_t lrc = link::ParseHex(text).value_or(0);
  const std::string spoilt = link::ToHex((lrc + 1) & 0xFFU, 2);
  frame[at] = static_cast<std::uint8_t>(spoilt[0]);
  frame[at + 1] = static_cast<std::uint8_t>(spoilt[1]);
}

}  // namespace quarn::simulator
