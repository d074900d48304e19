// The rules of the "Communication parameters" dialog: what it reads, what it writes, and how
// the controller's answers set its choices.
#include "link/comm_parameters.h"

#include <gtest/gtest.h>

#include <ostream>

#include "link/current_description.h"
#include "link/device_models.h"
#include "link/link_texts.h"

namespace quarn::link {
namespace {

// Records what the dialog asks of the link.
class RecordingCommLink final : public TCommParametersLink {
 public:
  bool Connected() const override { return connected; }
  bool SendReads(const TDC_Records_Array& records) override {
    reads.push_back(records);
    return true;
  }
  bool SendWrites(const TDC_Records_Array& records) override {
    writes.push_back(records);
    return true;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }

  bool connected = true;
  std::vector<TDC_Records_Array> reads;
  std::vector<TDC_Records_Array> writes;
  std::vector<std::string> messages;
};

class CommParametersTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SelectModel(ModelList()[2])); }
  void TearDown() override { SelectModel(ModelList()[2]); }

  TCommParameters dialog_;
  RecordingCommLink link_;
};

struct Written {
  std::string Name;
  std::uint8_t Function;
  std::uint16_t Address;
  std::uint32_t Count;
  std::int32_t Value;
  friend bool operator==(const Written&, const Written&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Written& w) {
    return out << w.Name << " f" << int{w.Function} << " @" << w.Address << " x" << w.Count << " = "
               << w.Value;
  }
};

// The records sent; reads carry no value.
std::vector<Written> Sent(const TDC_Records_Array& records, bool reads = false) {
  std::vector<Written> sent;
  for (const TDC_Record& r : records) {
    sent.push_back({r.Name, r.Function, r.Address, r.Count, reads ? 0 : r.Value});
  }
  return sent;
}

TAcceptedAnswer Answer(std::uint8_t function, std::uint16_t address, std::int32_t value,
                       std::uint8_t count = 1) {
  TAcceptedAnswer answer;
  answer.Function = function;
  answer.Address = address;
  answer.Value = value;
  answer.ExpectedCount = count;
  return answer;
}

TEST_F(CommParametersTest, ReadsTheFourSettingsOnlyWithAConnection) {
  link_.connected = false;
  EXPECT_FALSE(dialog_.Opened(link_));  // opening without a controller reads nothing, quietly
  EXPECT_TRUE(link_.messages.empty());
  EXPECT_FALSE(dialog_.ReadSettings(link_));
  EXPECT_EQ(link_.messages, std::vector<std::string>{"No connection"});
  EXPECT_TRUE(link_.reads.empty());

  link_.connected = true;
  EXPECT_TRUE(dialog_.Opened(link_));
  EXPECT_TRUE(dialog_.ReadSettings(link_));
  ASSERT_EQ(link_.reads.size(), 2U);
  const std::vector<Written> expected = {{"GET_ASCII_RTU", 1, 0x8100, 1, 0},
                                         {"GET_BAUDRATE", 3, 0x8100, 2, 0},
                                         {"GET_PARITY", 3, 0x8102, 1, 0},
                                         {"GET_ID", 3, 0x8103, 1, 0}};
  EXPECT_EQ(Sent(link_.reads[1], true), expected);
}

TEST_F(CommParametersTest, ApplyWritesTheChoices) {
  struct Case {
    TCommProtocol protocol;
    TCommParity parity;
    int baudIndex;
    int id;
    std::vector<Written> written;
  };
  const Case cases[] = {
      {TCommProtocol::Ascii,
       TCommParity::EvenOneStop,
       11,
       1,
       {{"SET_ASCII", 5, 0x8100, 1, 0},
        {"SET_BAUDRATE", 16, 0x8100, 2, 115200},
        {"SET_PARITY", 16, 0x8102, 1, 2},
        {"SET_ID", 16, 0x8103, 1, 1}}},
      {TCommProtocol::Rtu,
       TCommParity::NoneTwoStop,
       13,
       247,
       {{"SET_RTU", 5, 0x8100, 1, 1},
        {"SET_BAUDRATE", 16, 0x8100, 2, 256000},
        {"SET_PARITY", 16, 0x8102, 1, 0},
        {"SET_ID", 16, 0x8103, 1, 247}}},
      {TCommProtocol::Ascii,
       TCommParity::OddOneStop,
       0,
       30,
       {{"SET_ASCII", 5, 0x8100, 1, 0},
        {"SET_BAUDRATE", 16, 0x8100, 2, 110},
        {"SET_PARITY", 16, 0x8102, 1, 1},
        {"SET_ID", 16, 0x8103, 1, 30}}},
  };
  for (const Case& c : cases) {
    TCommParameters dialog;
    dialog.SetProtocol(c.protocol);
    dialog.SetParity(c.parity);
    dialog.SetBaudIndex(c.baudIndex);
    dialog.SetId(c.id);
    RecordingCommLink link;
    EXPECT_TRUE(dialog.ApplySettings(link));
    ASSERT_EQ(link.writes.size(), 1U);
    EXPECT_EQ(Sent(link.writes[0]), c.written) << c.id;
  }
}

TEST_F(CommParametersTest, ApplyEdgeCases) {
  // "NONE / 2 STOP" goes with RTU; switching back to ASCII hides it but leaves it checked, and
  // the apply then sends parity 0.
  dialog_.SetProtocol(TCommProtocol::Rtu);
  EXPECT_TRUE(dialog_.NoneTwoStopVisible());
  dialog_.SetParity(TCommParity::NoneTwoStop);
  dialog_.SetProtocol(TCommProtocol::Ascii);
  EXPECT_FALSE(dialog_.NoneTwoStopVisible());
  EXPECT_EQ(dialog_.Parity(), TCommParity::NoneTwoStop);

  // No baud rate selected: 115200 is selected and sent.
  dialog_.SetBaudIndex(-1);
  EXPECT_EQ(dialog_.BaudIndex(), -1);
  ASSERT_TRUE(dialog_.ApplySettings(link_));
  EXPECT_EQ(dialog_.BaudIndex(), kDefaultCommBaudIndex);
  ASSERT_EQ(link_.writes.size(), 1U);
  EXPECT_EQ(link_.writes[0][1].Value, 115200);
  EXPECT_EQ(link_.writes[0][2].Value, 0);

  // The address stays within 1 to 247.
  dialog_.SetId(255);
  EXPECT_EQ(dialog_.Id(), 247);
  dialog_.SetId(0);
  EXPECT_EQ(dialog_.Id(), 1);

  // Without a connection: the message, nothing sent.
  link_.connected = false;
  EXPECT_FALSE(dialog_.ApplySettings(link_));
  EXPECT_EQ(link_.messages, std::vector<std::string>{"No connection"});
  EXPECT_EQ(link_.writes.size(), 1U);
}

TEST_F(CommParametersTest, AModelWithoutTheRegistersSendsNothing) {
  ClearCurrentDescription();
  EXPECT_FALSE(dialog_.ReadSettings(link_));
  EXPECT_FALSE(dialog_.ApplySettings(link_));
  EXPECT_TRUE(link_.reads.empty());
  EXPECT_TRUE(link_.writes.empty());
  EXPECT_TRUE(link_.messages.empty());  // a missing record cancels silently
}

TEST_F(CommParametersTest, AnswersSetTheChoices) {
  struct Case {
    TAcceptedAnswer answer;
    bool changed;
    TCommProtocol protocol;
    TCommParity parity;
    int baudIndex;
    int id;
  };
  using P = TCommProtocol;
  using Q = TCommParity;
  // Applied in turn to one dialog.
  const Case cases[] = {
      {Answer(1, 0x8100, 1), true, P::Rtu, Q::EvenOneStop, 11, 1},
      {Answer(3, 0x8100, 57600, 2), true, P::Rtu, Q::EvenOneStop, 10, 1},
      {Answer(3, 0x8100, 56000, 2), false, P::Rtu, Q::EvenOneStop, 10, 1},  // not an item
      {Answer(3, 0x8102, 0), true, P::Rtu, Q::NoneTwoStop, 10, 1},
      {Answer(3, 0x8102, 1), true, P::Rtu, Q::OddOneStop, 10, 1},
      {Answer(3, 0x8102, 7), false, P::Rtu, Q::OddOneStop, 10, 1},  // no such parity
      {Answer(3, 0x8103, 42), true, P::Rtu, Q::OddOneStop, 10, 42},
      {Answer(1, 0x8100, 0), true, P::Ascii, Q::OddOneStop, 10, 42},
      {Answer(3, 0x8102, 2), true, P::Ascii, Q::EvenOneStop, 10, 42},
      // Other registers at neighbouring addresses or with other functions are not settings.
      {Answer(4, 0x8103, 9), false, P::Ascii, Q::EvenOneStop, 10, 42},
      {Answer(2, 0x8100, 1), false, P::Ascii, Q::EvenOneStop, 10, 42},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dialog_.TakeAnswer(c.answer), c.changed) << c.answer.Address;
    EXPECT_EQ(dialog_.Protocol(), c.protocol);
    EXPECT_EQ(dialog_.Parity(), c.parity);
    EXPECT_EQ(dialog_.BaudIndex(), c.baudIndex);
    EXPECT_EQ(dialog_.Id(), c.id);
  }
}

}  // namespace
}  // namespace quarn::link
