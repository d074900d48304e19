// The program memory through the upload's and the download's own request sequences.
#include <gtest/gtest.h>

#include "simulator/controller.h"
#include "tests/simulator/workbench_session.h"

namespace quarn::simulator {
namespace {

using testing::WorkbenchSession;

// Twenty lines, so the read-back needs two packets, the second ending at END.
std::vector<std::string> TwentyLines() {
  std::vector<std::string> lines = {"LD\tX0", "MOV\tK3000\tD361",    "OUT\tY0",     "P\t5",
                                    "LD\tM0", "MOV\tK100@A3\tD10B2", "MOV\tH1F\tD5"};
  while (lines.size() < 19) lines.push_back("LD\tX17");
  lines.push_back("END");
  return lines;
}

class ProgramMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override { Build(TControllerConfig{}); }
  void Build(const TControllerConfig& config) {
    std::string error;
    controller = TController::Create(config, error);
    ASSERT_NE(controller, nullptr) << error;
    session.emplace(*controller);
  }
  // The time the controller sees, moved by hand.
  void UseManualClock() {
    controller->SetClock([this] { return now; });
  }

  std::unique_ptr<TController> controller;
  std::optional<WorkbenchSession> session;
  TControllerClock::time_point now = TControllerClock::now();
};

TEST_F(ProgramMemoryTest, UploadedLinesReadBackAsTheSameIl) {
  const std::vector<std::string> lines = TwentyLines();
  ASSERT_EQ(session->Upload(lines, TProgramSlot::Main, false), "");
  const WorkbenchSession::Download download = session->ReadBack(TProgramSlot::Main);
  EXPECT_EQ(download.Failure, "");
  EXPECT_EQ(download.Lines, lines);
  EXPECT_EQ(download.PacketLines, (std::vector<int>{15, 5}));
  EXPECT_EQ(controller->ProgramListing(TProgramSlot::Main), lines);
}

TEST_F(ProgramMemoryTest, MainAndServiceProgramsAreKeptApart) {
  const std::vector<std::string> main = {"LD\tX0", "OUT\tY0", "END"};
  const std::vector<std::string> service = {"LD\tM1", "END"};
  ASSERT_EQ(session->Upload(main, TProgramSlot::Main, false), "");
  ASSERT_EQ(session->Upload(service, TProgramSlot::Service, false), "");
  EXPECT_EQ(session->ReadBack(TProgramSlot::Main).Lines, main);
  EXPECT_EQ(session->ReadBack(TProgramSlot::Service).Lines, service);
  // A new upload erases the slot first: a shorter program leaves nothing of the longer one.
  ASSERT_EQ(session->Upload({"END"}, TProgramSlot::Main, false), "");
  EXPECT_EQ(controller->ProgramListing(TProgramSlot::Main), (std::vector<std::string>{"END"}));
}

TEST_F(ProgramMemoryTest, PacketCountsLinesUpToEndOrTheEndOfTheProgram) {
  std::string error;
  ASSERT_TRUE(
      controller->LoadProgram(TProgramSlot::Main, {"LD\tX0", "END", "LD\tX1", "LD\tX2"}, error));
  struct Case {
    int start, quantity, lines;
  } cases[] = {{0, 15, 2}, {1, 15, 1}, {2, 15, 2}, {2, 1, 1}, {4, 15, 0}, {0, 0, 0}, {100, 15, 0}};
  for (const Case& c : cases) {
    session->Named("WRITE_PROG_LINE_NUMBER", c.start);
    session->Named("WRITE_PROG_LINES_QTY", c.quantity);
    ASSERT_TRUE(session->Named("START_PACKET_RW_PROG", 1).Accepted);
    EXPECT_EQ(session->Named("READ_PROG_LINES_QTY").Value, c.lines)
        << "start " << c.start << " quantity " << c.quantity;
  }
  // A program without END is read to the highest line and reported as such.
  ASSERT_TRUE(controller->LoadProgram(TProgramSlot::Service, {"LD\tX0", "OUT\tY0"}, error));
  EXPECT_EQ(session->ReadBack(TProgramSlot::Service).Failure, "no END");
}

TEST_F(ProgramMemoryTest, ProtectedProgramRefusesTheSectorUntilErased) {
  ASSERT_EQ(session->Upload({"LD\tX0", "END"}, TProgramSlot::Main, true), "");
  EXPECT_TRUE(WorkbenchSession::Is(session->Named("GET_MAINPROG_PROTECTION"), 0));
  EXPECT_TRUE(WorkbenchSession::Is(session->Named("GET_SERVICEPROG_PROTECTION"), 1));
  EXPECT_EQ(session->ReadBack(TProgramSlot::Main).Failure, "protected");
  session->Named("SET_MAIN_SERVICE_PROG", 0);
  const link::TReqResArray refused = ExceptionPdu(1, 5, TException::SlaveDeviceFailure);
  EXPECT_EQ(session->Named("START_PACKET_RW_PROG", 1).Bytes, refused);
  EXPECT_EQ(session->Raw(3, 0xF401, 17).Bytes, ExceptionPdu(1, 3, TException::SlaveDeviceFailure));
  // The service program stays readable.
  ASSERT_EQ(session->Upload({"END"}, TProgramSlot::Service, false), "");
  EXPECT_EQ(session->ReadBack(TProgramSlot::Service).Lines, (std::vector<std::string>{"END"}));
  // A new upload erases the main program, which lifts the protection.
  ASSERT_EQ(session->Upload({"LD\tX1", "END"}, TProgramSlot::Main, false), "");
  EXPECT_EQ(session->ReadBack(TProgramSlot::Main).Lines,
            (std::vector<std::string>{"LD\tX1", "END"}));
}

TEST_F(ProgramMemoryTest, RunningControllerRefusesProgramWrites) {
  ASSERT_EQ(session->Upload({"LD\tX0", "END"}, TProgramSlot::Main, false), "");
  ASSERT_TRUE(session->Named("SET_READ_WRITE_PROG", 1).Accepted);
  controller->SetRunning(true);
  EXPECT_EQ(session->Upload({"END"}, TProgramSlot::Main, false), "run/stop");
  const link::TReqResArray refused = ExceptionPdu(1, 5, TException::SlaveDeviceFailure);
  EXPECT_EQ(session->Named("SET_READ_WRITE_PROG", 1).Bytes, refused);
  EXPECT_EQ(session->Raw(5, 0xF003, 1, {0, 1}).Bytes, refused);  // erase
  EXPECT_EQ(session->Raw(5, 0xF000, 1, {0, 1}).Bytes, refused);  // store
  EXPECT_EQ(session->Raw(5, 0xF001, 1, {0, 0}).Bytes, refused);  // protect
  EXPECT_EQ(controller->ProgramListing(TProgramSlot::Main),
            (std::vector<std::string>{"LD\tX0", "END"}));
  EXPECT_TRUE(controller->Memory().Readable(TProgramSlot::Main));
}

TEST_F(ProgramMemoryTest, StoreAndEraseNeedWriteMode) {
  ASSERT_TRUE(session->Named("SET_READ_WRITE_PROG", 0).Accepted);
  EXPECT_EQ(session->Raw(5, 0xF003, 1, {0, 1}).Bytes,
            ExceptionPdu(1, 5, TException::SlaveDeviceFailure));
}

// A line that decodes to no instruction is not kept, and the error flags make the upload's
// read-back of 0xE000 fail, with the program-memory code of the slot.
TEST_F(ProgramMemoryTest, UndecodableLineSetsTheProgramMemoryError) {
  for (const auto& [slot, code] : {std::pair{TProgramSlot::Main, 5}, {TProgramSlot::Service, 6}}) {
    ASSERT_EQ(session->Upload({"LD\tX0"}, slot, false), "");
    session->Named("WRITE_PROG_LINE_NUMBER", 1);
    program_model::InstructionImage unknown{};
    program_model::SetImageWord(unknown, 0, 0x7FFF);
    session->Raw(16, 0xF300, 21, link::TBytesArray(unknown.begin(), unknown.end()));
    EXPECT_TRUE(session->Raw(5, 0xF000, 1, {0, 1}).Accepted);
    EXPECT_TRUE(WorkbenchSession::Is(session->Raw(2, 0xE000, 1), 1));
    EXPECT_EQ(session->Raw(2, 0xE000, 5).Bytes, (link::TReqResArray{1, 2, 1, 0b00101}));
    EXPECT_EQ(session->Raw(4, 0xE002, 1).Bytes,
              (link::TReqResArray{1, 4, 2, 0, static_cast<std::uint8_t>(code)}));
    EXPECT_EQ(controller->Memory().Length(slot), 1U);
    // The next upload's erase clears it.
    ASSERT_EQ(session->Upload({"END"}, slot, false), "");
  }
}

TEST_F(ProgramMemoryTest, LineBeyondTheServiceProgramFailsToStore) {
  ASSERT_EQ(session->Upload({"END"}, TProgramSlot::Service, false), "");
  session->Named("WRITE_PROG_LINE_NUMBER", 1927);  // fits the main program, not the service one
  const program_model::ParseResult end = program_model::ParseIlLine("END");
  session->Raw(16, 0xF300, 21, link::TBytesArray(end.Image.begin(), end.Image.end()));
  session->Raw(5, 0xF000, 1, {0, 1});
  EXPECT_TRUE(WorkbenchSession::Is(session->Raw(2, 0xE000, 1), 1));
  EXPECT_EQ(controller->Memory().Length(TProgramSlot::Service), 1U);
}

TEST_F(ProgramMemoryTest, MemoryReportsBusyAfterEraseAndStore) {
  TControllerConfig config;
  config.RomBusyTime = std::chrono::milliseconds(50);
  Build(config);
  UseManualClock();
  ASSERT_TRUE(session->Named("SET_READ_WRITE_PROG", 1).Accepted);
  ASSERT_TRUE(session->Raw(5, 0xF003, 1, {0, 1}).Accepted);
  EXPECT_TRUE(WorkbenchSession::Is(session->Named("GET_ROM_STATE"), 1));
  EXPECT_EQ(session->Raw(5, 0xF000, 1, {0, 1}).Bytes,
            ExceptionPdu(1, 5, TException::SlaveDeviceBusy));
  now += std::chrono::milliseconds(49);
  EXPECT_TRUE(WorkbenchSession::Is(session->Named("GET_ROM_STATE"), 1));
  now += std::chrono::milliseconds(1);
  EXPECT_TRUE(WorkbenchSession::Is(session->Named("GET_ROM_STATE"), 0));
  const program_model::ParseResult end = program_model::ParseIlLine("END");
  session->Raw(16, 0xF300, 21, link::TBytesArray(end.Image.begin(), end.Image.end()));
  ASSERT_TRUE(session->Raw(5, 0xF000, 1, {0, 1}).Accepted);
  EXPECT_TRUE(WorkbenchSession::Is(session->Named("GET_ROM_STATE"), 1));
}

TEST_F(ProgramMemoryTest, PreloadRefusesWrongLines) {
  std::string error;
  EXPECT_FALSE(
      controller->LoadProgram(TProgramSlot::Main, {"LD\tX0", "", "MOV\tK3000\tD392"}, error));
  EXPECT_NE(error.find("3: MOV"), std::string::npos) << error;
  EXPECT_EQ(controller->Memory().Length(TProgramSlot::Main), 0U);
  ASSERT_TRUE(controller->LoadProgram(TProgramSlot::Main,
                                      {"// blink", "  LD\tX0 ; first", "", "END"}, error));
  EXPECT_EQ(controller->ProgramListing(TProgramSlot::Main),
            (std::vector<std::string>{"LD\tX0", "END"}));
}

}  // namespace
}  // namespace quarn::simulator
