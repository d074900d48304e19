#include "shell/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <map>

#include "shell/shell_texts.h"
#include "tests/shell/fake_environment.h"
#include "tests/support/temp_folder.h"

namespace quarn::shell {
namespace {

using test_support::TempFolder;
using test_support::WriteText;
using testing::FakeEnvironment;

// The first line of every file is a heading the reader skips.
const std::string kHead = "settings\n";

TCommonDatas FromText(std::string_view bytes, const EnvLookup& env = FakeEnvironment({})) {
  TCommonDatas datas;
  ApplySettings(SplitSettingsLines(bytes), datas, env);
  return datas;
}

TEST(SettingsFile, NumericRules) {
  using std::string_literals::operator""s;
  struct Case {
    const char* what;
    std::string text;
    int expected;  // status timer interval, 200 when the line is not taken
  } const cases[] = {
      {"a setting on the first line is ignored", "<STATE_REQ>=500", 200},
      {"the second line counts", kHead + "<STATE_REQ>=500", 500},
      {"below the range", kHead + "<STATE_REQ>=50", 200},
      {"upper bound included", kHead + "<STATE_REQ>=5000", 5000},
      {"blank after =", kHead + "<STATE_REQ>= 500", 200},
      {"trailing blank", kHead + "<STATE_REQ>=500 ", 200},
      {"minus sign", kHead + "<STATE_REQ>=-500", 200},
      {"empty value", kHead + "<STATE_REQ>=", 200},
      {"leading zeros are digits", kHead + "<STATE_REQ>=0500", 500},
      {"more digits than any integer", kHead + "<STATE_REQ>=99999999999999999999999999", 200},
      {"a wrapping number", kHead + "<STATE_REQ>=4294967796", 200},
      {"the last of several lines wins", kHead + "<STATE_REQ>=100\nx\ny\n<STATE_REQ>=300", 300},
      {"a later non-digit line does not count", kHead + "<STATE_REQ>=300\n<STATE_REQ>=abc", 300},
      {"a later out-of-range line voids the key", kHead + "<STATE_REQ>=300\n<STATE_REQ>=50", 200},
      {"CR LF line ends", "head\r\n<STATE_REQ>=500\r\n", 500},
      {"lone CR line ends", "head\r<STATE_REQ>=500\r", 500},
      {"byte-order mark before the heading", "\xEF\xBB\xBFhead\n<STATE_REQ>=500", 500},
      {"NUL inside the value", kHead + "<STATE_REQ>=5\0"s + "00", 200},
      {"keys are case sensitive", kHead + "<state_req>=500", 200},
      {"blank before the key", kHead + " <STATE_REQ>=500", 200},
      {"missing '>'", kHead + "<STATE_REQ=500", 200},
      {"missing '='", kHead + "<STATE_REQ>500", 200},
      {"blanks around '='", kHead + "<STATE_REQ> = 500", 200},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromText(c.text).StatusTimerInterval, c.expected) << c.what;
  }
  // A key that begins like another is a key of its own.
  const TCommonDatas datas = FromText(kHead + "<COMPORT_TIMEOUT_READ2>=7");
  EXPECT_EQ(datas.ReadPause, 30);
  EXPECT_EQ(datas.ExtraWait, 7);
}

struct RangeRow {
  const char* key;
  int min;
  int max;
  int TCommonDatas::*field;
};

TEST(SettingsFile, EveryNumericKeyHasItsInclusiveRange) {
  const RangeRow rows[] = {
      {"COMPORT_TIMEOUT_READ", 1, 1000, &TCommonDatas::ReadPause},
      {"COMPORT_TIMEOUT_READ2", 1, 1000, &TCommonDatas::ExtraWait},
      {"COMPORT_TIMEOUT_HANDLE", 10, 1000, &TCommonDatas::PermissionWait},
      {"RESPONSE_HANDLE_TIMEOUT1", 10, 1000, &TCommonDatas::AnswerHandling},
      {"RESPONSE_HANDLE_TIMEOUT2", 30, 1000, &TCommonDatas::WorkerCloseWait},
      {"CYCLE_READ_DELAY", 10, 1000, &TCommonDatas::RepeatPause},
      {"GENERAL_TIMEOUT", 1, 200, &TCommonDatas::GeneralWait},
      {"STATE_REQ", 100, 5000, &TCommonDatas::StatusTimerInterval},
      {"READ_ATTEMPTS", 1, 10, &TCommonDatas::ReadAttempts},
      {"LINES_TO_LOG", 100, 1000, &TCommonDatas::LinesToLog},
  };
  const TCommonDatas defaults;
  for (const RangeRow& row : rows) {
    const auto with = [&row](int value) {
      return FromText(kHead + "<" + row.key + ">=" + std::to_string(value)).*row.field;
    };
    EXPECT_EQ(with(row.min), row.min) << row.key;
    EXPECT_EQ(with(row.max), row.max) << row.key;
    EXPECT_EQ(with(row.min - 1), defaults.*row.field) << row.key;
    EXPECT_EQ(with(row.max + 1), defaults.*row.field) << row.key;
  }
}

TEST(SettingsFile, MaxReadRegistersOnlyInSlowMode) {
  struct Case {
    const char* what;
    std::string text;
    bool slow;
    int registers;
  } const cases[] = {
      {"SLOW alone keeps 123", kHead + "<SLOW>=1", true, 123},
      {"without SLOW the key has no effect", kHead + "<MAX_READ_REGISTERS>=60", false, 123},
      {"SLOW other than 1 is off", kHead + "<SLOW>=2\n<MAX_READ_REGISTERS>=60", false, 123},
      {"SLOW on takes the value", kHead + "<MAX_READ_REGISTERS>=60\n<SLOW>=1", true, 60},
      {"no upper bound", kHead + "<SLOW>=1\n<MAX_READ_REGISTERS>=500", true, 500},
      // Zero registers per block could never finish a download.
      {"zero is refused", kHead + "<SLOW>=1\n<MAX_READ_REGISTERS>=0", true, 123},
      {"beyond any integer", kHead + "<SLOW>=1\n<MAX_READ_REGISTERS>=99999999999", true, 123},
  };
  for (const Case& c : cases) {
    const TCommonDatas datas = FromText(c.text);
    EXPECT_EQ(datas.SlowMode, c.slow) << c.what;
    EXPECT_EQ(datas.MaxReadRegisters, c.registers) << c.what;
  }
}

TEST(SettingsFile, LogSwitches) {
  struct Case {
    std::string text;
    bool saveLog;
    bool writeLog;
  } const cases[] = {
      // Once a file is read, SAVE_LOG needs its line; WRITE_LOG stays on without one.
      {kHead, false, true},
      {kHead + "<SAVE_LOG>=1\n<WRITE_LOG>=1", true, true},
      {kHead + "<SAVE_LOG>=yes\n<WRITE_LOG>=0", false, false},
      {kHead + "<SAVE_LOG>=1\n<SAVE_LOG>=0\n<WRITE_LOG>=0\n<WRITE_LOG>=1", false, true},
      {"<SAVE_LOG>=1", false, true},
  };
  for (const Case& c : cases) {
    const TCommonDatas datas = FromText(c.text);
    EXPECT_EQ(datas.SaveLog, c.saveLog) << c.text;
    EXPECT_EQ(datas.WriteLog, c.writeLog) << c.text;
  }
}

TEST(SettingsFile, LogPathExpandsEnvironmentNames) {
  using std::string_literals::operator""s;
  const EnvLookup env = FakeEnvironment({{"DATA", "/srv/quarn"}, {"EMPTY", ""}});
  struct Case {
    std::string value;
    std::string expected;
  } const cases[] = {
      {"%DATA%/plant1", "/srv/quarn/plant1"},
      {"%UNDEFINED%/plant1", "/plant1"},
      {"/var/%DATA%%EMPTY%x", "/var//srv/quarnx"},
      {"/var/log/%DATA", "/var/log/"},
      {"a%DATA%b%c", "a/srv/quarnb"},
      {"%%", ""},
      {"plain path with blanks ", "plain path with blanks "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromText(kHead + "<LOG_PATH>=" + c.value, env).LogPath, c.expected) << c.value;
  }
  // A NUL would cut the path short in every system call: the setting is not taken.
  EXPECT_EQ(FromText(kHead + "<LOG_PATH>=/tmp/a\0b"s, env).LogPath, "");
}

TEST(SettingsFile, ReadsAFileByPath) {
  TempFolder folder;
  const std::string path = folder / "quarn-program-modbus.txt";
  WriteText(path, "// settings\r\n<STATE_REQ>=500\r\n<LOG_PATH>=%DIR%/x\r\n");
  TCommonDatas datas;
  const SettingsReadResult result = ReadSettingsFile(path, datas, FakeEnvironment({{"DIR", "/d"}}));
  EXPECT_EQ(result.Status, SettingsFileStatus::Read);
  EXPECT_EQ(result.Message, "");
  EXPECT_EQ(datas.StatusTimerInterval, 500);
  EXPECT_EQ(datas.LogPath, "/d/x");
  EXPECT_FALSE(datas.SaveLog);
}

TEST(SettingsFile, UnreadableFileKeepsDefaultsAndSaysWhy) {
  TempFolder folder;
  const std::string fifo = folder / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string large = folder / "large.txt";
  WriteText(large, kHead + std::string(kMaxSettingsFileBytes, 'x'));
  struct Case {
    std::string path;
    SettingsFileStatus status;
    std::string_view message;
  } const cases[] = {
      {folder / "missing.txt", SettingsFileStatus::Missing, texts::kSettingsMissing},
      {folder.Path(), SettingsFileStatus::Unreadable, texts::kSettingsNotAFile},
      {fifo, SettingsFileStatus::Unreadable, texts::kSettingsNotAFile},
      {large, SettingsFileStatus::Unreadable, texts::kSettingsTooLarge},
  };
  for (const Case& c : cases) {
    TCommonDatas datas;
    const auto start = std::chrono::steady_clock::now();
    const SettingsReadResult result = ReadSettingsFile(c.path, datas);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.path;
    EXPECT_EQ(result.Status, c.status) << c.path;
    EXPECT_EQ(result.Message,
              std::string(c.message) + c.path + std::string(texts::kSettingsDefaultsUsed));
    EXPECT_EQ(datas, TCommonDatas{}) << c.path;
    EXPECT_TRUE(datas.SaveLog);
  }
}

}  // namespace
}  // namespace quarn::shell
