// Line pacing arithmetic and the seeded fault plan.
#include <gtest/gtest.h>

#include "simulator/fault_injection.h"
#include "simulator/line_pacing.h"
#include "tests/simulator/request_pdus.h"

namespace quarn::simulator {
namespace {

using namespace std::chrono_literals;
using testing::TextBytes;

TEST(LinePacing, PiecesEndAtLineFeedsAndQueueBehindTheLine) {
  TLinePacer pacer(115200);
  const auto character = pacer.CharacterTime();
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::nanoseconds>(character).count(),
            10 * 1'000'000'000LL / 115200);
  const Clock::time_point t0{};
  // 17 + 17 characters: each frame ends a piece exactly at its line feed.
  const std::string two = ":010350000002AA\r\n:010350000002AA\r\n";
  const std::vector<TTimedPiece> pieces = pacer.Schedule(TextBytes(two), t0);
  std::size_t total = 0;
  std::vector<std::size_t> frameEnds;
  for (const TTimedPiece& piece : pieces) {
    total += piece.Length;
    EXPECT_LE(piece.Length, 11U);  // at most a millisecond of characters
    EXPECT_EQ(piece.Due, t0 + static_cast<Clock::rep>(total) * character);
    if (two[total - 1] == '\n') frameEnds.push_back(total);
  }
  EXPECT_EQ(total, two.size());
  EXPECT_EQ(frameEnds, (std::vector<std::size_t>{17, 34}));
  // Characters handed over while the line is busy wait for it.
  const auto later = pacer.Schedule(TextBytes("AB"), t0 + character);
  ASSERT_EQ(later.size(), 1U);
  EXPECT_EQ(later[0].Due, t0 + 36 * character);
  // A hold moves the start of the next characters.
  pacer.HoldUntil(t0 + 1s);
  EXPECT_EQ(pacer.Schedule(TextBytes("C"), t0)[0].Due, t0 + 1s + character);
}

TEST(LinePacing, WithoutABaudRateEverythingIsDueAtOnce) {
  TLinePacer pacer;
  const Clock::time_point t0 = Clock::now();
  const auto pieces = pacer.Schedule(TextBytes(std::string(5000, 'x')), t0);
  ASSERT_EQ(pieces.size(), 1U);
  EXPECT_EQ(pieces[0].Due, t0);
  EXPECT_EQ(pieces[0].Length, 5000U);
}

TEST(FaultInjection, SameSeedSamePlansAndRatesAreKept) {
  TFaultSettings settings;
  settings.Drop = 0.1;
  settings.Corrupt = 0.25;
  settings.Split = 0.5;
  settings.Delay = 0.3;
  settings.DelayTime = 20ms;
  settings.Seed = 7;
  TFaultInjector first(settings), second(settings);
  settings.Seed = 8;
  TFaultInjector other(settings);
  constexpr int kAnswers = 20000;
  int drops = 0, corrupts = 0, splits = 0, delays = 0, differences = 0;
  for (int i = 0; i < kAnswers; ++i) {
    const TFaultPlan plan = first.Next(15);
    const TFaultPlan again = second.Next(15);
    const TFaultPlan different = other.Next(15);
    ASSERT_EQ(plan.Drop, again.Drop);
    ASSERT_EQ(plan.Corrupt, again.Corrupt);
    ASSERT_EQ(plan.Delay, again.Delay);
    ASSERT_EQ(plan.Cuts, again.Cuts);
    differences += plan.Drop != different.Drop || plan.Cuts != different.Cuts ? 1 : 0;
    drops += plan.Drop;
    corrupts += plan.Corrupt;
    delays += plan.Delay == 20ms;
    if (!plan.Cuts.empty()) {
      ++splits;
      EXPECT_TRUE(std::is_sorted(plan.Cuts.begin(), plan.Cuts.end()));
      EXPECT_GE(plan.Cuts.front(), 1U);
      EXPECT_LE(plan.Cuts.back(), 14U);  // every piece holds at least one character
      EXPECT_LE(plan.Cuts.size(), kMaxSplitPieces - 1);
    }
  }
  EXPECT_NEAR(drops / double{kAnswers}, 0.1, 0.01);
  EXPECT_NEAR(corrupts / double{kAnswers}, 0.25, 0.01);
  EXPECT_NEAR(splits / double{kAnswers}, 0.5, 0.01);
  EXPECT_NEAR(delays / double{kAnswers}, 0.3, 0.01);
  EXPECT_GT(differences, kAnswers / 4);
}

// Splitting an answer draws its cut points elsewhere: turning Split up or down leaves which
// answers are dropped, corrupted and delayed exactly where they were for the seed.
TEST(FaultInjection, SplitRateLeavesTheOtherFaultsInPlace) {
  TFaultSettings settings;
  settings.Drop = 0.2;
  settings.Corrupt = 0.2;
  settings.Delay = 0.2;
  settings.DelayTime = 5ms;
  settings.Seed = 11;
  TFaultInjector unsplit(settings);
  settings.Split = 0.7;
  TFaultInjector split(settings);
  int splits = 0;
  for (int i = 0; i < 2000; ++i) {
    const TFaultPlan plain = unsplit.Next(15);
    const TFaultPlan cut = split.Next(15);
    ASSERT_TRUE(plain.Cuts.empty());
    ASSERT_EQ(plain.Drop, cut.Drop) << "answer " << i;
    ASSERT_EQ(plain.Corrupt, cut.Corrupt) << "answer " << i;
    ASSERT_EQ(plain.Delay, cut.Delay) << "answer " << i;
    splits += cut.Cuts.empty() ? 0 : 1;
  }
  EXPECT_GT(splits, 1000);
}

}  // namespace
}  // namespace quarn::simulator
