// Request PDUs, LRC and ASCII frames.
#include "link/modbus_framing.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn::link {
namespace {

std::string Text(const TStrToPort& frame) { return {frame.begin(), frame.end()}; }

TRWmbrReg Request(std::uint8_t function, std::uint16_t address, std::uint16_t count,
                  TBytesArray data = {}) {
  TRWmbrReg request;
  request.Function = function;
  request.Address = address;
  request.Count = count;
  request.Data = std::move(data);
  return request;
}

struct FrameCase {
  const char* title;
  TRWmbrReg request;
  std::uint8_t device_id;
  const char* frame;
};

// The frames were built by pymodbus 3.0's ModbusAsciiFramer (tests/link/make_pymodbus_vectors.py),
// an implementation independent of ours; the requests below are the same messages.
TEST(ModbusFraming, FramesMatchAnIndependentImplementation) {
  const FrameCase cases[] = {
      {"read holding 0x5000 x2", Request(3, 0x5000, 2), 1, ":010350000002AA\r\n"},
      {"read input 0x8005 x2", Request(4, 0x8005, 2), 17, ":11048005000264\r\n"},
      {"read coils 0x6200 x4", Request(1, 0x6200, 4), 247, ":F70162000004A2\r\n"},
      {"read discrete 0xF001 x1", Request(2, 0xF001, 1), 1, ":0102F00100010B\r\n"},
      {"write register 0x5001 = 300", Request(6, 0x5001, 1, {0x01, 0x2C}), 1,
       ":01065001012C7B\r\n"},
      {"write coil 0x5100 on", Request(5, 0x5100, 1, {0x00, 0x01}), 1, ":01055100FF00AA\r\n"},
      {"write coil 0x5100 off", Request(5, 0x5100, 1, {0x00, 0x00}), 255, ":FF0551000000AB\r\n"},
      {"write registers 0x5000 = 70000", Request(16, 0x5000, 2, {0x11, 0x70, 0x00, 0x01}), 1,
       ":011050000002041170000117\r\n"},
  };
  for (const auto& c : cases) {
    const TReqResArray pdu = BuildRequestPdu(c.request, c.device_id);
    const TStrToPort frame = FrameAscii(pdu);
    EXPECT_EQ(Text(frame), c.frame) << c.title;
    EXPECT_EQ(frame.size(), 2 * pdu.size() + 5) << c.title;
  }
}

TEST(ModbusFraming, PduLayoutsByFunction) {
  struct Case {
    const char* title;
    TRWmbrReg request;
    TReqResArray pdu;
  };
  const Case cases[] = {
      {"coil on takes the second data byte",
       Request(5, 0x0102, 1, {0x01, 0x00}),
       {9, 5, 0x01, 0x02, 0x00, 0x00}},
      {"coil with any non-zero second byte",
       Request(5, 0x0102, 1, {0x00, 0x80}),
       {9, 5, 0x01, 0x02, 0xFF, 0x00}},
      {"multiple coils are framed like registers",
       Request(15, 0x0010, 2, {0xAB, 0xCD}),
       {9, 15, 0x00, 0x10, 0x00, 0x02, 2, 0xAB, 0xCD}},
      {"odd data gets a zero byte",
       Request(16, 0x0010, 1, {0xAB}),
       {9, 16, 0x00, 0x10, 0x00, 0x01, 2, 0xAB, 0x00}},
      {"unknown function: six bytes, last two zero",
       Request(8, 0x1234, 7, {1, 2}),
       {9, 8, 0x12, 0x34, 0x00, 0x00}},
      {"read count is sent in full", Request(3, 0xFFFF, 0x0123), {9, 3, 0xFF, 0xFF, 0x01, 0x23}},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildRequestPdu(c.request, 9), c.pdu) << c.title;
}

// A write whose data is missing or too long for the byte count is refused rather than sent with
// invented or truncated values.
TEST(ModbusFraming, UnsendableWritesGiveNoPduAndNoFrame) {
  const TRWmbrReg cases[] = {
      Request(6, 0x5001, 1, {0x01}),
      Request(6, 0x5001, 1),
      Request(5, 0x5100, 1, {0x01}),
      Request(16, 0x5000, 128, TBytesArray(256, 0x55)),
      Request(15, 0x5000, 128, TBytesArray(255, 0x55)),  // padded to 256
  };
  for (const auto& request : cases) {
    const TReqResArray pdu = BuildRequestPdu(request, 1);
    EXPECT_TRUE(pdu.empty()) << int{request.Function} << " with " << request.Data.size();
    EXPECT_TRUE(FrameAscii(pdu).empty());
  }
  EXPECT_EQ(BuildRequestPdu(Request(16, 0, 127, TBytesArray(254, 1)), 1).size(), 254U + 7U);
}

TEST(ModbusFraming, ShortPdusAreNeverFramed) {
  EXPECT_TRUE(FrameAscii(TReqResArray{1, 3, 0, 0, 0}).empty());
  EXPECT_TRUE(FrameAscii(TReqResArray{}).empty());
}

TEST(ModbusFraming, LrcIsTheTwosComplementOfTheByteSum) {
  EXPECT_EQ(ComputeLrc(TReqResArray{1, 3, 0x50, 0, 0, 2}), 0xAA);
  EXPECT_EQ(ComputeLrc(TReqResArray{}), 0);
  EXPECT_EQ(ComputeLrc(TReqResArray{0xFF, 0x01}), 0);  // sum wraps to 0
  EXPECT_EQ(ComputeLrc(TReqResArray{0x80, 0x80, 0x01}), 0xFF);
  const TReqResArray many(1000, 0xFF);  // the sum is taken modulo 256 at any length
  EXPECT_EQ(ComputeLrc(many), static_cast<std::uint8_t>(256 - (1000 * 0xFF) % 256));
}

TEST(ModbusFraming, ExpectedCountIsTheReadCountLowByte) {
  EXPECT_EQ(ExpectedCountOf(Request(3, 0, 0x0102)), 0x02);
  EXPECT_EQ(ExpectedCountOf(Request(1, 0, 4)), 4);
  EXPECT_EQ(ExpectedCountOf(Request(16, 0, 2, {0, 0, 0, 0})), 0);
  EXPECT_EQ(ExpectedCountOf(Request(6, 0, 1, {0, 0})), 0);
}

}  // namespace
}  // namespace quarn::link
