// The port selector with the simulator in front of the scanned ports.
#include "link/port_choice.h"

#include <gtest/gtest.h>

namespace quarn::link {
namespace {

using Items = std::vector<std::string>;

TEST(PortChoiceTest, SimulatorComesFirstAndIsChosenWhenNoPortExists) {
  TPortChoice choice;
  choice.Publish({}, {});
  EXPECT_EQ(choice.Items(), Items{"Simulator"});
  EXPECT_EQ(choice.Selected(), 0);
  EXPECT_TRUE(choice.SimulatorChosen());
  EXPECT_EQ(choice.SelectedPort(), "");

  // A real port appears: it is the first port and the one selected, like any scan result.
  choice.Select(-1);
  choice.Publish({"/dev/ttyS0", "/dev/ttyUSB0"}, {});
  EXPECT_EQ(choice.Items(), (Items{"Simulator", "/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(choice.Selected(), 1);
  EXPECT_EQ(choice.SelectedPort(), "/dev/ttyS0");

  choice.Select(2);
  EXPECT_EQ(choice.SelectedPort(), "/dev/ttyUSB0");
  EXPECT_FALSE(choice.SimulatorChosen());
  choice.Select(0);
  EXPECT_TRUE(choice.SimulatorChosen());
  EXPECT_EQ(choice.SelectedPort(), "");
  choice.Select(7);
  EXPECT_EQ(choice.Selected(), -1);
  EXPECT_EQ(choice.SelectedPort(), "");
}

TEST(PortChoiceTest, TheRunningSimulatorStaysChosenAndItsTerminalUnlisted) {
  TPortChoice choice;
  choice.Publish({"/dev/ttyUSB0"}, {});
  choice.SelectText("Simulator");
  choice.SetSimulatorPath("/dev/pts/4");
  // The scan lists the open port, here the simulator's terminal.
  choice.Publish({"/dev/pts/4", "/dev/ttyUSB0", "/dev/ttyUSB1"}, "/dev/pts/4");
  EXPECT_EQ(choice.Items(), (Items{"Simulator", "/dev/ttyUSB0", "/dev/ttyUSB1"}));
  EXPECT_EQ(choice.Selected(), 0);

  TConnectionView view;
  view.Connected = true;
  view.Port = "/dev/pts/4";
  view.ConnectionText = "/dev/pts/4 connected";
  EXPECT_EQ(choice.ConnectionText(view), "Simulator connected");
  view.Port = "/dev/ttyUSB1";
  view.ConnectionText = "/dev/ttyUSB1 connected";
  EXPECT_EQ(choice.ConnectionText(view), "/dev/ttyUSB1 connected");

  // A real open port wins over an earlier choice of the simulator.
  choice.SetSimulatorPath({});
  choice.Publish({"/dev/ttyUSB0", "/dev/ttyUSB1"}, "/dev/ttyUSB1");
  EXPECT_EQ(choice.Selected(), 2);
  EXPECT_FALSE(choice.SimulatorChosen());
}

TEST(PortChoiceTest, TypedTextAndClearing) {
  TPortChoice choice;
  choice.Publish({"/dev/ttyUSB0"}, {});
  choice.SelectText("/dev/pts/9");
  EXPECT_EQ(choice.Items(), (Items{"Simulator", "/dev/ttyUSB0", "/dev/pts/9"}));
  EXPECT_EQ(choice.Selected(), 2);
  EXPECT_EQ(choice.SelectedPort(), "/dev/pts/9");
  choice.SelectText("/dev/ttyUSB0");  // an item's text selects that item
  EXPECT_EQ(choice.Selected(), 1);
  choice.SelectText("");
  EXPECT_EQ(choice.Selected(), 1);
  choice.SelectText("Simulator");
  EXPECT_TRUE(choice.SimulatorChosen());

  choice.ClearPorts();
  EXPECT_EQ(choice.Items(), Items{"Simulator"});
  EXPECT_EQ(choice.Selected(), -1);
  EXPECT_EQ(choice.SelectedPort(), "");
}

}  // namespace
}  // namespace quarn::link
