#include "shell/common_datas.h"

#include <gtest/gtest.h>

#include "shell/settings_file.h"

namespace quarn::shell {
namespace {

TEST(CommonDatas, DerivedTimesWithDefaults) {
  const TCommonDatas datas;
  EXPECT_EQ(datas.PortCycle(), 80);
  EXPECT_EQ(datas.AnswerWait(), 180);
  EXPECT_EQ(datas.FullAnswerWait(), 180);
  EXPECT_EQ(datas.TotalTimeout(), 750);
  EXPECT_EQ(datas.SenderAnswerWait(), 180);
  EXPECT_EQ(datas.CloseReadPortWait(), 180);
  EXPECT_EQ(datas.CloseSenderWait(), 540);
  EXPECT_EQ(datas.DownloadWorkerEndWait(), 460);
  EXPECT_EQ(TCommonDatas::DebugAnswerTime, 400);
}

TEST(CommonDatas, DerivedTimesFollowTheSettingsFile) {
  TCommonDatas datas;
  ApplySettings({"head", "<COMPORT_TIMEOUT_READ>=10", "<COMPORT_TIMEOUT_HANDLE>=20",
                 "<RESPONSE_HANDLE_TIMEOUT1>=30", "<COMPORT_TIMEOUT_READ2>=5",
                 "<GENERAL_TIMEOUT>=7", "<RESPONSE_HANDLE_TIMEOUT2>=40"},
                datas, {});
  EXPECT_EQ(datas.PortCycle(), 30);
  EXPECT_EQ(datas.AnswerWait(), 60);
  EXPECT_EQ(datas.FullAnswerWait(), 65);
  // F + (F + PortCycle) x (3 - 1) + GeneralWait
  EXPECT_EQ(datas.TotalTimeout(), 65 + 95 * 2 + 7);
  EXPECT_EQ(datas.SenderAnswerWait(), 70);
  EXPECT_EQ(datas.CloseReadPortWait(), 60);
  EXPECT_EQ(datas.CloseSenderWait(), 195);
  EXPECT_EQ(datas.DownloadWorkerEndWait(), 30 + 5 + 60 + 7 + 40);
}

TEST(CommonDatas, WindowTitle) {
  EXPECT_EQ(WindowTitle(TCommonDatas{}), "Quarn-Program-Modbus, ver. 3.0.5  -  Brevik");
}

TEST(CommonDatas, StatusTimerNeverBelow100ms) {
  EXPECT_EQ(BoundedStatusTimerInterval(20), 100);
  EXPECT_EQ(BoundedStatusTimerInterval(100), 100);
  EXPECT_EQ(BoundedStatusTimerInterval(200), 200);
}

TEST(CommonDatas, SharedOptionsCopyWithTheRecord) {
  TCommonDatas datas;
  datas.CompileLog = true;
  datas.MaxFragmentBlocks = 250;
  const TCommonDatas copy = datas;
  EXPECT_TRUE(copy.CompileLog);
  EXPECT_EQ(copy.MaxFragmentBlocks, 250);
  EXPECT_EQ(copy, datas);
  EXPECT_FALSE(copy == TCommonDatas{});
}

}  // namespace
}  // namespace quarn::shell
