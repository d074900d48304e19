// klem-sim's options.
#include "simulator/command_line.h"

#include <gtest/gtest.h>

namespace quarn::simulator {
namespace {

TCommandLineResult Parse(std::vector<std::string_view> args) { return ParseCommandLine(args); }

TEST(CommandLine, DefaultsAndEveryOption) {
  const TCommandLineResult plain = Parse({"--pty"});
  ASSERT_TRUE(plain.Ok) << plain.Error;
  const TControllerConfig& d = plain.Line.Options.Controller;
  EXPECT_EQ(d.Model, "KLEM-B");
  EXPECT_EQ(d.DeviceId, 1);
  EXPECT_EQ(d.FirmwareMajor, 2);
  EXPECT_EQ(d.FirmwareMinor, 0);
  EXPECT_FALSE(d.HwVersion.has_value());
  EXPECT_FALSE(d.Running);
  EXPECT_EQ(plain.Line.Options.Server.PaceBaud, 0U);
  EXPECT_FALSE(plain.Line.Options.Server.Faults.Any());

  const TCommandLineResult full = Parse({"--device",
                                         "/dev/ttyUSB0",
                                         "--model",
                                         "KLEM-A ver.3",
                                         "--id=17",
                                         "--firmware",
                                         "1.10",
                                         "--hw-version",
                                         "1",
                                         "--run",
                                         "--program",
                                         "blink.il",
                                         "--pace",
                                         "115200",
                                         "--rom-busy-ms",
                                         "30",
                                         "--drop",
                                         "0.1",
                                         "--corrupt=0.2",
                                         "--split",
                                         "0.3",
                                         "--delay-ms",
                                         "40",
                                         "--delay",
                                         "0.5",
                                         "--seed",
                                         "99",
                                         "--verbose"});
  ASSERT_TRUE(full.Ok) << full.Error;
  const TCommandLine& l = full.Line;
  const TControllerConfig& c = l.Options.Controller;
  const TFaultSettings& f = l.Options.Server.Faults;
  EXPECT_EQ(l.Device, "/dev/ttyUSB0");
  EXPECT_FALSE(l.Pty);
  EXPECT_EQ(c.Model, "KLEM-A ver.3");
  EXPECT_EQ(c.DeviceId, 17);
  EXPECT_EQ(c.FirmwareMajor, 1);
  EXPECT_EQ(c.FirmwareMinor, 10);
  EXPECT_EQ(c.HwVersion, std::optional<std::uint16_t>(1));
  EXPECT_TRUE(c.Running);
  EXPECT_EQ(c.RomBusyTime, std::chrono::milliseconds(30));
  EXPECT_EQ(l.ProgramFile, "blink.il");
  EXPECT_EQ(l.Options.Server.PaceBaud, 115200U);
  EXPECT_DOUBLE_EQ(f.Drop, 0.1);
  EXPECT_DOUBLE_EQ(f.Corrupt, 0.2);
  EXPECT_DOUBLE_EQ(f.Split, 0.3);
  EXPECT_DOUBLE_EQ(f.Delay, 0.5);
  EXPECT_EQ(f.DelayTime, std::chrono::milliseconds(40));
  EXPECT_EQ(f.Seed, 99U);
  EXPECT_TRUE(l.Verbose);
  EXPECT_TRUE(Parse({"--help"}).Ok);
  EXPECT_FALSE(Parse({"--pty", "--run", "--stop"}).Line.Options.Controller.Running);
}

TEST(CommandLine, BadArgumentsAreRefused) {
  const std::vector<std::vector<std::string_view>> cases = {
      {},
      {"--pty", "--device", "/dev/ttyS0"},
      {"--pty", "--bogus"},
      {"--pty", "extra"},
      {"--pty=1"},
      {"--pty", "--id"},
      {"--pty", "--id", "0"},
      {"--pty", "--id", "248"},
      {"--pty", "--id", "1x"},
      {"--pty", "--firmware", "2"},
      {"--pty", "--firmware", "2.x"},
      {"--pty", "--hw-version", "65536"},
      {"--pty", "--pace", "0"},
      {"--pty", "--drop", "1.5"},
      {"--pty", "--corrupt", "-0.1"},
      {"--pty", "--split", "nan"},
      {"--pty", "--delay-ms", "-1"},
      {"--pty", "--seed", "-3"},
      {"--device", ""},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto arg : args) joined += std::string(arg) + " ";
    const TCommandLineResult result = Parse(args);
    EXPECT_FALSE(result.Ok) << joined;
    EXPECT_FALSE(result.Error.empty()) << joined;
  }
}

}  // namespace
}  // namespace quarn::simulator
