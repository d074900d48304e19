// The answer check: expectations from frames, cutting answers out of the character stream,
// the checks in their order, values, and what reaches the transfer log.
#include "link/modbus_exchange.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/hex_text.h"
#include "link/modbus_framing.h"

namespace quarn::link {
namespace {

struct LogLine {
  TTransferLogCode code;
  std::string text;
};

class RecordingLog : public TTransferLogSink {
 public:
  void TransferLogLine(TTransferLogCode code, std::string_view text) override {
    lines.push_back({code, std::string(text)});
  }
  std::vector<LogLine> lines;
};

// ':' + hex + the LRC of the hex pairs + CR LF, for hand-written answers.
std::string Answer(std::string_view hex) {
  TReqResArray bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(*ParseHex(hex.substr(i, 2))));
  }
  return ":" + std::string(hex) + ToHex(ComputeLrc(bytes), 2) + "\r\n";
}

constexpr std::string_view kReadTwo = ":010350000002AA\r\n";   // device 1, 0x5000, two
constexpr std::string_view kWriteOne = ":01065001012C7B\r\n";  // device 1, 0x5001 := 300
constexpr std::string_view kWriteMany = ":011050000002041170000117\r\n";

class ExchangeTest : public ::testing::Test {
 protected:
  void Prepare(std::string_view frame, std::uint8_t device_id = 1) {
    exchange.Record().DeviceId = device_id;
    exchange.Record().CurrentRegister = 0x5000;
    ASSERT_TRUE(exchange.PrepareExpectation(TextBytes(frame)));
  }
  TCheckOutcome Feed(std::string_view text) { return exchange.CheckResponse(TextBytes(text)); }

  RecordingLog log;
  TModbusExchange exchange{&log};
};

TEST_F(ExchangeTest, ExpectationComesFromTheFrameItself) {
  struct Case {
    std::string_view frame;
    std::uint8_t function, byte_count_pos, fixed_length;
    std::uint16_t address, count;
  };
  const Case cases[] = {
      {kReadTwo, 3, 6, 11, 0x5000, 2},    {":0102F00100010B\r\n", 2, 6, 11, 0xF001, 1},
      {kWriteOne, 6, 0, 17, 0x5001, 1},   {":01055100FF00AA\r\n", 5, 0, 17, 0x5100, 1},
      {kWriteMany, 16, 0, 17, 0x5000, 0},
  };
  for (const auto& c : cases) {
    exchange.Record().ResponseBytes = {1, 2, 3};
    exchange.Record().ResponseValid = true;
    ASSERT_TRUE(exchange.PrepareExpectation(TextBytes(c.frame))) << c.frame;
    const TExchangeRecord& r = exchange.Record();
    EXPECT_EQ(r.RequestFunction, c.function) << c.frame;
    EXPECT_EQ(r.RequestAddress, c.address) << c.frame;
    EXPECT_EQ(r.RequestCount, c.count) << c.frame;
    EXPECT_EQ(r.ByteCountPos, c.byte_count_pos) << c.frame;
    EXPECT_EQ(r.FixedLength, c.fixed_length) << c.frame;
    EXPECT_EQ(r.ResponseByteCount, 0) << c.frame;
    EXPECT_TRUE(r.ResponseBytes.empty());
    EXPECT_FALSE(r.ResponseValid);
  }
}

TEST_F(ExchangeTest, MalformedFramesAreRefusedWithoutChangingTheExpectation) {
  Prepare(kReadTwo);
  for (std::string_view frame :
       {":01G350000002AA\r\n", ":0103500X0002AA\r\n", ":0103500000\r\n", ":0103", ""}) {
    exchange.Record().ResponseValid = true;
    EXPECT_FALSE(exchange.PrepareExpectation(TextBytes(frame))) << frame;
    EXPECT_FALSE(exchange.Record().ResponseValid);
    EXPECT_EQ(exchange.Record().RequestFunction, 3);
    EXPECT_EQ(exchange.Record().RequestAddress, 0x5000);
  }
  EXPECT_EQ(texts::kWrongModbusCommand, "Wrong Modbus Command");
}

struct AnswerCase {
  const char* title;
  std::string_view request;
  std::uint8_t device_id;
  std::string answer;
  TAnswerStatus status;
  TRejectCode code;
  bool value_ready;
  std::int32_t value;
};

TEST_F(ExchangeTest, AnswersAreCheckedInOrder) {
  using enum TAnswerStatus;
  using C = TRejectCode;
  const AnswerCase cases[] = {
      // pymodbus answers (make_pymodbus_vectors.py)
      {"two registers, low word first", kReadTwo, 1, ":01030400100001E7\r\n", Accepted, C::None,
       true, 65552},
      {"all bits set", ":11035000000299\r\n", 17, ":110304FFFFFFFFEC\r\n", Accepted, C::None, true,
       -1},
      {"one register", kReadTwo, 1, ":010302012CCD\r\n", Accepted, C::None, true, 300},
      {"coils", ":010162000004A2\r\n", 1, ":0101010DF0\r\n", Accepted, C::None, true, 0x0D},
      {"write echo", kWriteOne, 1, std::string(kWriteOne), Accepted, C::None, false, 0},
      {"exception to a read", kReadTwo, 1, ":0183027A\r\n", Rejected, C::ModbusException, false, 0},
      // hand-written
      {"byte count 0", kReadTwo, 1, Answer("010300"), Accepted, C::None, false, 0},
      {"byte count 3 keeps the first register", kReadTwo, 1, Answer("010303123456"), Accepted,
       C::None, true, 0x1234},
      {"byte count above 4", kReadTwo, 1, Answer("0103061234567890AB"), Accepted, C::None, true, 0},
      {"write of many echoes address and count", kWriteMany, 1, Answer("011050000002"), Accepted,
       C::None, false, 0},
      {"exception to a write is too short", kWriteOne, 1, Answer("018602"), Rejected, C::DataLength,
       false, 0},
      {"wrong device id", kReadTwo, 1, Answer("0203020010"), Rejected, C::WrongId, false, 0},
      {"wrong function", kReadTwo, 1, Answer("0104020010"), Rejected, C::WrongCommand, false, 0},
      {"wrong write address", kWriteOne, 1, Answer("01065002012C"), Rejected, C::WrongAddress,
       false, 0},
      {"bad LRC", kReadTwo, 1, ":01030200100A\r\n", Rejected, C::BadLrc, false, 0},
      {"lower-case data", kReadTwo, 1, ":0103020a1ec2\r\n", Rejected, C::BadPacket, false, 0},
      {"id not hexadecimal", kReadTwo, 1, ":0G030200100A\r\n", Rejected, C::BadPacket, false, 0},
      {"byte count not hexadecimal", kReadTwo, 1, ":01030Z00100A\r\n", Rejected, C::BadPacket,
       false, 0},
      {"NUL and high bytes in the data", kReadTwo, 1,
       std::string(":010302\0\xFF"
                   "000A\r\n",
                   15),
       Rejected, C::BadPacket, false, 0},
      {"byte count 4 with one register", kReadTwo, 1, Answer("0103040010"), Rejected, C::DataLength,
       false, 0},
      {"one data byte short of its count", kReadTwo, 1, Answer("01030200"), Rejected, C::DataLength,
       false, 0},
      {"too short for any answer", kReadTwo, 1, ":0103\r\n", Rejected, C::DataLength, false, 0},
  };
  for (const auto& c : cases) {
    Prepare(c.request, c.device_id);
    exchange.Record().LastValue = 12345;
    const TCheckOutcome outcome = Feed(c.answer);
    EXPECT_EQ(outcome.Status, c.status) << c.title;
    EXPECT_EQ(outcome.Code, c.code) << c.title;
    EXPECT_EQ(outcome.AnswerAccepted, c.status == Accepted) << c.title;
    EXPECT_EQ(outcome.ValueReady, c.value_ready) << c.title;
    EXPECT_EQ(exchange.Record().ResponseValid, c.status == Accepted) << c.title;
    if (c.status == Accepted && exchange.Record().ResponseFunction < 5) {
      EXPECT_EQ(exchange.Record().LastValue, c.value) << c.title;
    } else {
      EXPECT_EQ(exchange.Record().LastValue, 12345) << c.title;  // untouched
    }
    if (c.status == Rejected) {
      EXPECT_TRUE(exchange.Record().ResponseBytes.empty()) << c.title;
      EXPECT_EQ(outcome.Message.substr(outcome.Message.size() - c.answer.size()), c.answer);
    }
    EXPECT_EQ(exchange.BufferedCharacters(), 0U) << c.title;
  }
}

TEST_F(ExchangeTest, AcceptedAnswerFillsTheRecord) {
  Prepare(kReadTwo);
  exchange.Record().CurrentRegister = 0x5000;
  Feed(":01030400100001E7\r\n");
  const TExchangeRecord& r = exchange.Record();
  EXPECT_EQ(r.ResponseFunction, 3);
  EXPECT_EQ(r.ResponseAddress, 0x5000);  // a read answer carries no address
  EXPECT_EQ(r.ResponseByteCount, 4);
  EXPECT_EQ(r.ResponseBytes, (TReqResArray{1, 3, 4, 0x00, 0x10, 0x00, 0x01}));
  EXPECT_EQ(exchange.ExpectedLength(), 19);

  Prepare(kWriteOne);
  exchange.Record().CurrentRegister = 0x7777;
  Feed(kWriteOne);
  EXPECT_EQ(r.ResponseAddress, 0x5001);  // taken from the write answer
  EXPECT_EQ(r.ResponseBytes, (TReqResArray{1, 6, 0x50, 0x01, 0x01, 0x2C}));
}

TEST_F(ExchangeTest, ExceptionReportNamesTheRequestAndTheCode) {
  Prepare(kReadTwo);
  const TCheckOutcome outcome = Feed(":0183027A\r\n");
  const std::string report =
      "Mobas error occurred: \r\nRequest cmd = 0x03; Request start address = 0x5000; "
      "Registaers number = 2\r\nError code = 2 = Illegal Data Address";
  EXPECT_EQ(outcome.Message, "Wrong response: Modbus error " + report + ":0183027A\r\n");
  EXPECT_EQ(exchange.ExceptionReport(":018308"),
            report.substr(0, report.find("Error")) + "Error code = 8 = Memory Parity Error");
  EXPECT_EQ(exchange.ExceptionReport(":01830C"),
            report.substr(0, report.find("Error")) + "Error code = 12");
  EXPECT_EQ(exchange.ExceptionReport(":0183"), report.substr(0, report.find("Error")));
  EXPECT_EQ(exchange.ExceptionReport(":0183\x80Z"), report.substr(0, report.find("Error")));
}

TEST_F(ExchangeTest, SplitAnswerIsExaminedOnceItsLineEndArrives) {
  const std::string answer = ":01030400100001E7\r\n";
  for (std::size_t cut : {std::size_t{1}, std::size_t{7}, answer.size() - 1}) {
    Prepare(kReadTwo);
    EXPECT_EQ(Feed(answer.substr(0, cut)).Status, TAnswerStatus::NeedMore) << cut;
    const TCheckOutcome outcome = Feed(answer.substr(cut));
    EXPECT_EQ(outcome.Status, TAnswerStatus::Accepted) << cut;
    EXPECT_FALSE(outcome.Damaged);
    EXPECT_EQ(exchange.Record().LastValue, 65552);
  }
  Prepare(kReadTwo);
  for (char ch : answer.substr(0, answer.size() - 1)) {
    EXPECT_EQ(Feed(std::string(1, ch)).Status, TAnswerStatus::NeedMore);
  }
  EXPECT_TRUE(Feed("\n").AnswerAccepted);
}

TEST_F(ExchangeTest, OnlyTheLastAnswerOfADeliveryIsExamined) {
  Prepare(kReadTwo);
  const std::string first = Answer("0103020001");
  const std::string second = Answer("0103020002");
  const TCheckOutcome outcome = Feed(first + second);
  EXPECT_TRUE(outcome.Damaged);
  EXPECT_TRUE(outcome.AnswerAccepted);
  EXPECT_EQ(exchange.Record().LastValue, 2);
  const std::string damaged = std::string(texts::kDamagedPackets) + first + second;
  ASSERT_GE(log.lines.size(), 2U);
  EXPECT_EQ(log.lines[1].code, TTransferLogCode::Recv);
  EXPECT_EQ(log.lines[1].text, damaged);
}

TEST_F(ExchangeTest, CharactersAfterTheLineEndWaitForTheNextDelivery) {
  Prepare(kReadTwo);
  const TCheckOutcome outcome = Feed(Answer("0103020001") + std::string("\0\xFEjunk", 6));
  EXPECT_TRUE(outcome.AnswerAccepted);
  EXPECT_EQ(exchange.BufferedCharacters(), 6U);
  // The leftover precedes the next answer and is reported as damaged then.
  Prepare(kReadTwo);
  const TCheckOutcome next = Feed(Answer("0103020003"));
  EXPECT_TRUE(next.Damaged);
  EXPECT_TRUE(next.AnswerAccepted);
  EXPECT_EQ(exchange.Record().LastValue, 3);
}

TEST_F(ExchangeTest, FloodWithoutLineEndNeverGrowsTheBuffer) {
  Prepare(kReadTwo);
  const std::string no_start(1000, 'A');
  std::string pending_answer = ":0103";
  pending_answer += std::string(995, '0');
  std::string binary(1000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37 % 256);
  for (const std::string* chunk :
       {&no_start, &std::as_const(pending_answer), &std::as_const(binary)}) {
    for (int i = 0; i < 50; ++i) {
      const TCheckOutcome outcome = Feed(*chunk);
      EXPECT_NE(outcome.Status, TAnswerStatus::Accepted);
      ASSERT_LE(exchange.BufferedCharacters(), TModbusExchange::kReceiveBufferLimit);
    }
  }
  // The link is still usable afterwards.
  exchange.ClearReceiveBuffer();
  EXPECT_TRUE(Feed(Answer("0103020007")).AnswerAccepted);
  EXPECT_EQ(exchange.Record().LastValue, 7);
}

TEST_F(ExchangeTest, TransferLogShowsRawTextReceivedLinesAndRejections) {
  Prepare(kReadTwo);
  exchange.Record().CommandBusy = false;
  Feed(":0103020001");
  Feed("F9\r\n");
  exchange.Record().CommandBusy = true;
  Prepare(kReadTwo);
  Feed(":01030200010A\r\n");
  const std::vector<std::pair<TTransferLogCode, std::string>> expected = {
      {TTransferLogCode::Raw, ":0103020001"},
      {TTransferLogCode::Raw, "F9\r\n"},
      {TTransferLogCode::Recv, "Get state - :0103020001F9\r\n"},
      {TTransferLogCode::Raw, ":01030200010A\r\n"},
      {TTransferLogCode::Recv, ":01030200010A\r\n"},
      {TTransferLogCode::Recv, "Wrong response: error LRC:01030200010A\r\n"},
  };
  ASSERT_EQ(log.lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(log.lines[i].code, expected[i].first) << i;
    EXPECT_EQ(log.lines[i].text, expected[i].second) << i;
  }
  TModbusExchange quiet;  // no sink: nothing is logged and nothing breaks
  quiet.Record().DeviceId = 1;
  ASSERT_TRUE(quiet.PrepareExpectation(TextBytes(kReadTwo)));
  EXPECT_TRUE(quiet.CheckResponse(TextBytes(":0103020001F9\r\n")).AnswerAccepted);
}

TEST_F(ExchangeTest, BuildRequestPduSetsTheExpectedCount) {
  TRWmbrReg read;
  read.Function = 4;
  read.Address = 0x8005;
  read.Count = 0x0102;
  EXPECT_EQ(exchange.BuildRequestPdu(read, 17), (TReqResArray{17, 4, 0x80, 0x05, 0x01, 0x02}));
  EXPECT_EQ(exchange.Record().ExpectedCount, 2);
  TRWmbrReg write;
  write.Function = 6;
  write.Data = {0, 1};
  exchange.BuildRequestPdu(write, 17);
  EXPECT_EQ(exchange.Record().ExpectedCount, 0);
}

}  // namespace
}  // namespace quarn::link
