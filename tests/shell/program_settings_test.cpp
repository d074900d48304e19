#include "shell/program_settings.h"

#include <gtest/gtest.h>

namespace quarn::shell {
namespace {

TEST(ProgramSettings, ApplyWithoutChangesRestoresTheStartValues) {
  TCommonDatas datas;
  datas.MaxFragmentBlocks = 5000;
  datas.CompileLog = true;
  datas.StatusTimerInterval = 1000;

  // The dialog opens with its own start values, not with the current settings.
  const ProgramSettings dialog;
  EXPECT_EQ(dialog.Apply(datas), 200);

  EXPECT_EQ(datas.MaxFragmentBlocks, 1000);
  EXPECT_FALSE(datas.CompileLog);
  EXPECT_EQ(datas.StatusTimerInterval, 200);
}

TEST(ProgramSettings, ApplyStoresTheChoices) {
  TCommonDatas datas;
  ProgramSettings dialog;
  dialog.SetAddCompilationInfo(true);
  dialog.SetMaxBlocks(250);
  dialog.SetTimerChoice(StatusTimerChoice::Sec10);

  // "10 sec" asks for more than the status timer allows; it polls at its slowest pace.
  EXPECT_EQ(dialog.Apply(datas), 5000);
  EXPECT_EQ(datas.MaxFragmentBlocks, 250);
  EXPECT_TRUE(datas.CompileLog);
  EXPECT_EQ(datas.StatusTimerInterval, 5000);

  dialog.SetTimerChoice(StatusTimerChoice::Ms200);
  EXPECT_EQ(dialog.Apply(datas), 200);
}

TEST(ProgramSettings, BlockLimitStaysWithin100And10000) {
  struct Case {
    const char* text;
    const char* shown;
  } const cases[] = {
      {"250", "250"},   {"100", "100"},     {"10000", "10000"},
      {"99", "100"},    {"10001", "10000"}, {"99999999999999999999999", "10000"},
      {"1a2b3", "123"}, {"-500", "500"},    {" 2 000 ", "2000"},
      {"abc", "777"},   {"", "777"},
  };
  for (const Case& c : cases) {
    ProgramSettings dialog;
    dialog.SetMaxBlocks(777);
    EXPECT_EQ(dialog.SetMaxBlocksText(c.text), c.shown) << c.text;
    EXPECT_EQ(std::to_string(dialog.MaxBlocks()), c.shown) << c.text;
  }
  ProgramSettings dialog;
  dialog.SetMaxBlocks(-5);
  EXPECT_EQ(dialog.MaxBlocks(), 100);
  dialog.SetMaxBlocks(1LL << 40);
  EXPECT_EQ(dialog.MaxBlocks(), 10000);
}

TEST(ProgramSettings, ShowsTheFixedDebugReadTimes) {
  EXPECT_EQ(ProgramSettings::TimeoutText(), "TIMEOUT = 300");
  EXPECT_EQ(ProgramSettings::Timeout2Text(), "TIMEOUT2 = 100");
}

}  // namespace
}  // namespace quarn::shell
