#include "shell/transfer_log.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "shell/file_system.h"
#include "shell/shell_texts.h"
#include "tests/support/temp_folder.h"

namespace quarn::shell {
namespace {

using test_support::FileNames;
using test_support::ReadText;
using test_support::TempFolder;
using test_support::WriteText;

class FakeClock final : public LogClock {
 public:
  LogTimestamp Now() const override { return stamp; }
  LogTimestamp stamp{2025, 12, 9, 14, 3, 27};
};

class RecordingObserver final : public TransferLogObserver {
 public:
  void LogChanged() override { events.push_back("changed"); }
  void LineAppended(const std::string& line) override { events.push_back("+" + line); }
  void ErrorShown(const std::string& text) override { events.push_back("error " + text); }
  std::vector<std::string> events;
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

class TransferLogTest : public ::testing::Test {
 protected:
  TransferLogTest() {
    datas.LogPath = folder.Path();
    datas.LinesToLog = 100;
  }
  std::string LogsFolder() const { return folder / "logs"; }
  std::string FirstFile() const { return LogsFolder() + "/09-12-2025 14-03-27.txt"; }

  TempFolder folder;
  TCommonDatas datas;
  FakeClock clock;
  RecordingObserver observer;
};

TEST_F(TransferLogTest, LinesByCode) {
  TransferLog log(datas, "/unused", clock);
  log.AddLogMessage(LogSend, ":010300000001FB\r\n");
  log.AddLogMessage(LogRecv, ":01030200007A");
  log.AddLogMessage(LogError, "No answer");
  log.AddLogMessage(LogString, "Connected");
  log.AddLogMessage(4, "unknown code");
  log.AddLogMessage(-1, "unknown code");
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{" Send: :010300000001FB", " Recv: :01030200007A",
                                      "Error: No answer", "09.12.2025 14:03:27Str: Connected"}));
}

TEST(TransferLog, FileNameAndFolder) {
  EXPECT_EQ(LogFileName({2025, 12, 9, 14, 3, 27}), "09-12-2025 14-03-27.txt");
  EXPECT_EQ(LogFileName({2031, 1, 2, 3, 4, 5}), "02-01-2031 03-04-05.txt");
  EXPECT_EQ(LogFolderFor("/data/plant", "/opt/quarn"), "/data/plant/logs");
  EXPECT_EQ(LogFolderFor("", "/opt/quarn"), "/opt/quarn/logs");
}

TEST_F(TransferLogTest, AutomaticSaveOnceTheLogHoldsMoreThanLinesToLog) {
  TransferLog log(datas, "/unused", clock);
  log.SetObserver(&observer);
  for (int i = 0; i < 101; ++i) log.AddLogMessage(LogSend, "frame " + std::to_string(i));
  EXPECT_EQ(log.Lines().size(), 101u);
  EXPECT_TRUE(FileNames(LogsFolder()).empty());
  const std::string saved = Joined(log.Lines());

  observer.events.clear();
  log.AddLogMessage(LogRecv, "next");

  EXPECT_EQ(FileNames(LogsFolder()), std::vector<std::string>{"09-12-2025 14-03-27.txt"});
  EXPECT_EQ(ReadText(FirstFile()), saved);
  const std::string savedLine = std::string(texts::kLogSaved) + FirstFile();
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{savedLine, " Recv: next"}));
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"changed", "+" + savedLine, "+ Recv: next"}));
}

TEST_F(TransferLogTest, WithoutSaveLogTheLogGrowsWithoutLimit) {
  datas.SaveLog = false;
  TransferLog log(datas, "/unused", clock);
  for (int i = 0; i < 350; ++i) log.AddLogMessage(LogSend, "frame");
  EXPECT_EQ(log.Lines().size(), 350u);
  EXPECT_FALSE(IsFolder(LogsFolder()));
}

TEST_F(TransferLogTest, SaveToFileKeepsTheLogAndClearEmptiesIt) {
  TransferLog log(datas, "/unused", clock);
  log.SetObserver(&observer);
  log.AddLogMessage(LogSend, "a");
  log.AddLogMessage(LogRecv, "b");

  const LogSaveResult result = log.SaveToFile();

  EXPECT_EQ(result.Status, LogSaveStatus::Saved);
  EXPECT_EQ(result.Path, FirstFile());
  EXPECT_EQ(ReadText(FirstFile()), " Send: a\n Recv: b\n");
  const std::string savedLine = std::string(texts::kLogSaved) + FirstFile();
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{" Send: a", " Recv: b", savedLine}));

  observer.events.clear();
  log.Clear();
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(observer.events, std::vector<std::string>{"changed"});
}

TEST_F(TransferLogTest, TwoSavesWithinOneSecondKeepBothFiles) {
  TransferLog log(datas, "/unused", clock);
  log.AddLogMessage(LogSend, "first");
  ASSERT_EQ(log.SaveToFile().Status, LogSaveStatus::Saved);
  log.Clear();
  log.AddLogMessage(LogSend, "second");

  const LogSaveResult second = log.SaveToFile();

  ASSERT_EQ(second.Status, LogSaveStatus::Saved);
  EXPECT_EQ(FileNames(LogsFolder()),
            (std::vector<std::string>{"09-12-2025 14-03-27 (2).txt", "09-12-2025 14-03-27.txt"}));
  EXPECT_EQ(ReadText(FirstFile()), " Send: first\n");
  EXPECT_EQ(second.Path, LogsFolder() + "/09-12-2025 14-03-27 (2).txt");
  EXPECT_EQ(ReadText(second.Path), " Send: second\n");
}

TEST_F(TransferLogTest, FolderThatCannotBeCreatedStopsAutomaticSaving) {
  // A regular file where a folder of the path should be.
  WriteText(folder / "plain-file", "x");
  datas.LogPath = folder / "plain-file/sub";
  TransferLog log(datas, "/unused", clock);
  log.SetObserver(&observer);
  log.AddLogMessage(LogSend, "a");

  const LogSaveResult result = log.SaveToFile();

  const std::string error = std::string(texts::kLogFolderError) + datas.LogPath + "/logs";
  EXPECT_EQ(result.Status, LogSaveStatus::FolderError);
  EXPECT_FALSE(log.AutoSaveLog());
  EXPECT_TRUE(log.ErrorVisible());
  EXPECT_EQ(log.ErrorText(), error);
  EXPECT_EQ(observer.events, (std::vector<std::string>{"+ Send: a", "error " + error}));
  EXPECT_EQ(log.Lines(), std::vector<std::string>{" Send: a"});

  // For the rest of the run the log only grows.
  for (int i = 0; i < 200; ++i) log.AddLogMessage(LogSend, "a");
  EXPECT_EQ(log.Lines().size(), 201u);
}

TEST_F(TransferLogTest, AutomaticSaveIntoMissingFolderTurnsItselfOff) {
  WriteText(folder / "plain-file", "x");
  datas.LogPath = folder / "plain-file";
  TransferLog log(datas, "/unused", clock);
  for (int i = 0; i < 102; ++i) log.AddLogMessage(LogSend, "a");
  EXPECT_FALSE(log.AutoSaveLog());
  EXPECT_EQ(log.Lines().size(), 102u);
  EXPECT_EQ(log.ErrorText(), std::string(texts::kLogFolderError) + datas.LogPath + "/logs");
}

// Lowers the largest file this process may write, the way a full disk would stop a write.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(TransferLogTest, WriteFailureKeepsTheLogAndLeavesNoPartFile) {
  TransferLog log(datas, "/unused", clock);
  log.SetObserver(&observer);
  for (int i = 0; i < 101; ++i) log.AddLogMessage(LogSend, "a frame long enough to pass the limit");
  observer.events.clear();
  {
    const FileSizeLimit limit(16);
    log.AddLogMessage(LogRecv, "next");
  }
  const std::string errorLine = std::string(texts::kLogSaveError) + FirstFile();
  ASSERT_EQ(log.Lines().size(), 103u);
  EXPECT_EQ(log.Lines()[0], " Send: a frame long enough to pass the limit");
  EXPECT_EQ(log.Lines()[101], errorLine);
  EXPECT_EQ(log.Lines()[102], " Recv: next");
  EXPECT_EQ(observer.events, (std::vector<std::string>{"+" + errorLine, "+ Recv: next"}));
  EXPECT_TRUE(FileNames(LogsFolder()).empty());
  EXPECT_TRUE(log.AutoSaveLog());
}

TEST_F(TransferLogTest, ApplicationFolderWhenNoLogPath) {
  datas.LogPath.clear();
  const std::string application = folder / "app";
  TransferLog log(datas, application, clock);
  log.AddLogMessage(LogSend, "a");
  EXPECT_EQ(log.LogFolder(), application + "/logs");
  EXPECT_EQ(log.SaveToFile().Status, LogSaveStatus::Saved);
  EXPECT_EQ(ReadText(application + "/logs/09-12-2025 14-03-27.txt"), " Send: a\n");
}

}  // namespace
}  // namespace quarn::shell
