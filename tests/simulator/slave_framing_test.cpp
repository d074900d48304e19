// Cutting request frames out of the line, and the answers the controller frames.
#include "simulator/slave_framing.h"

#include <gtest/gtest.h>

#include "link/modbus_exchange.h"
#include "tests/simulator/request_pdus.h"

namespace quarn::simulator {
namespace {

using testing::TextBytes;

std::vector<TParsedFrame> FeedAll(std::string_view text) {
  TRequestFrameParser parser;
  std::vector<TParsedFrame> frames;
  parser.Feed(TextBytes(text), frames);
  return frames;
}

std::vector<TFrameStatus> Statuses(const std::vector<TParsedFrame>& frames) {
  std::vector<TFrameStatus> statuses;
  for (const auto& frame : frames) statuses.push_back(frame.Status);
  return statuses;
}

TEST(SlaveFraming, FramesAreCutOutOfTheLine) {
  using S = TFrameStatus;
  const std::string good = ":010350000002AA\r\n";
  const std::string nul_and_high = std::string("\0\xFF\x80", 3);
  struct Case {
    const char* name;
    std::string text;
    std::vector<S> statuses;
  } cases[] = {
      {"a good frame", good, {S::Good}},
      {"lower-case digits are read too", ":010350000002aa\r\n", {S::Good}},
      {"wrong LRC", ":010350000002AB\r\n", {S::BadLrc}},
      {"noise before the start is ignored", "xyz\r\n" + nul_and_high + good, {S::Good}},
      {"a second ':' restarts the frame", ":0103500:" + good.substr(1), {S::Good}},
      {"two frames in one piece", good + good, {S::Good, S::Good}},
      {"a high byte inside the frame",
       ":0103\x80"
       "50000002AA\r\n",
       {S::Malformed}},
      {"a NUL inside the frame",
       std::string(":0103\0"
                   "50000002AA\r\n",
                   17),
       {S::Malformed}},
      {"odd number of digits", ":010350000002A\r\n", {S::Malformed}},
      {"CR not followed by LF", ":010350000002AA\rX", {S::Malformed}},
      {"LF without CR", ":010350000002AA\n", {S::Malformed}},
      {"too short to hold id, function and LRC", ":01FF\r\n", {S::Malformed}},
      {"unfinished frame waits", ":01035000", {}},
      {"overlong frame, then a good one",
       ":" + std::string(600, '0') + "\r\n" + good,
       {S::Overlong, S::Good}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Statuses(FeedAll(c.text)), c.statuses) << c.name;
  }
}

TEST(SlaveFraming, GoodFrameGivesThePduWithoutTheLrcWhateverThePieces) {
  const std::string text = ":010350000002AA\r\n";
  TRequestFrameParser parser;
  std::vector<TParsedFrame> frames;
  for (const char ch : text) parser.Feed(TextBytes(std::string_view(&ch, 1)), frames);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].Pdu, (link::TReqResArray{1, 3, 0x50, 0x00, 0x00, 0x02}));
  EXPECT_EQ(frames[0].Text, text);
  EXPECT_FALSE(parser.InFrame());
}

TEST(SlaveFraming, FloodWithoutFrameEndKeepsMemoryBounded) {
  TRequestFrameParser parser;
  std::vector<TParsedFrame> frames;
  const std::string flood(100000, 'A');
  parser.Feed(TextBytes(":"), frames);
  parser.Feed(TextBytes(flood), frames);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].Status, TFrameStatus::Overlong);
  EXPECT_LE(frames[0].Text.size(), kMaxRequestFrame + 1);
  EXPECT_FALSE(parser.InFrame());  // the rest of the flood is outside any frame
}

// The workbench's answer check takes what the controller frames: a read answer (low register
// first), a write echo, an exception answer (shorter than any request), and rejects an answer
// whose LRC was spoilt on purpose.
TEST(SlaveFraming, AnswersPassTheWorkbenchAnswerCheck) {
  using link::TAnswerStatus;
  using link::TRejectCode;
  struct Case {
    const char* name;
    testing::Pdu request;
    link::TReqResArray answer;
    bool spoil;
    TAnswerStatus status;
    TRejectCode code;
  } cases[] = {
      {"read of two registers",
       testing::Request(1, 3, 0x5000, 2),
       {1, 3, 4, 0x00, 0x10, 0x00, 0x01},
       false,
       TAnswerStatus::Accepted,
       TRejectCode::None},
      {"write echo",
       testing::Request(1, 6, 0x5004, 300),
       {1, 6, 0x50, 0x04, 0x01, 0x2C},
       false,
       TAnswerStatus::Accepted,
       TRejectCode::None},
      {"exception to a read",
       testing::Request(1, 3, 0x1234, 1),
       {1, 0x83, 2},
       false,
       TAnswerStatus::Rejected,
       TRejectCode::ModbusException},
      {"spoilt LRC",
       testing::Request(1, 3, 0x5000, 2),
       {1, 3, 4, 0x00, 0x10, 0x00, 0x01},
       true,
       TAnswerStatus::Rejected,
       TRejectCode::BadLrc},
  };
  for (const Case& c : cases) {
    link::TModbusExchange exchange;
    exchange.Record().DeviceId = 1;
    ASSERT_TRUE(exchange.PrepareExpectation(TextBytes(testing::Frame(c.request)))) << c.name;
    link::TStrToPort frame = FrameAnswer(c.answer);
    if (c.spoil) SpoilLrc(frame);
    const link::TCheckOutcome outcome = exchange.CheckResponse(frame);
    EXPECT_EQ(outcome.Status, c.status) << c.name;
    EXPECT_EQ(outcome.Code, c.code) << c.name;
  }
}

TEST(SlaveFraming, ReadAnswerValueIsLowRegisterFirst) {
  link::TModbusExchange exchange;
  exchange.Record().DeviceId = 1;
  ASSERT_TRUE(
      exchange.PrepareExpectation(TextBytes(testing::Frame(testing::Request(1, 3, 0x5000, 2)))));
  ASSERT_TRUE(
      exchange.CheckResponse(FrameAnswer(link::TReqResArray{1, 3, 4, 0, 0x10, 0, 1})).ValueReady);
  EXPECT_EQ(exchange.Record().LastValue, 65552);
}

}  // namespace
}  // namespace quarn::simulator
