// Finding ports in a device folder, the order of the list, the port selector's rules and the
// background scan's publish rule.
#include "link/port_discovery.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "link/port_list_model.h"
#include "link/port_list_refresher.h"
#include "link/port_texts.h"

namespace quarn::link {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using List = std::vector<std::string>;

// A fake /dev and /sys/class/tty: four legacy ttyS nodes of which only some have a UART.
class FakeDevices : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::path(::testing::TempDir()) / "quarn_fake_devices";
    fs::remove_all(root);
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS3", "ttyUSB10", "ttyUSB2", "ttyACM0",
                             "ttyAMA0", "rfcomm1", "ttyS", "ttyUSBx", "tty1", "console", "ptmx"}) {
      Touch(root / "dev" / name);
    }
    Write(root / "sys" / "ttyS0" / "type", "4\n");              // 16550A
    Write(root / "sys" / "ttyS1" / "type", "0\n");              // PORT_UNKNOWN
    fs::create_directories(root / "sys" / "ttyS2" / "device");  // no type file: the link decides
  }
  void TearDown() override { fs::remove_all(root); }

  static void Touch(const fs::path& path) { Write(path, ""); }
  static void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  std::string Dev(const std::string& name) const { return (root / "dev" / name).string(); }

  fs::path root;
};

TEST_F(FakeDevices, ScanListsSerialNodesWithHardwareInNaturalOrder) {
  TDevPortScanner scanner((root / "dev").string(), (root / "sys").string());
  EXPECT_EQ(scanner.Scan(), (List{Dev("rfcomm1"), Dev("ttyACM0"), Dev("ttyAMA0"), Dev("ttyS0"),
                                  Dev("ttyS2"), Dev("ttyUSB2"), Dev("ttyUSB10")}));
  TDevPortScanner missing((root / "nowhere").string(), (root / "sys").string());
  EXPECT_TRUE(missing.Scan().empty());
}

TEST(PortDiscovery, NamesAndOrder) {
  for (const char* name : {"ttyS0", "ttyS15", "ttyUSB0", "ttyACM3", "ttyAMA0", "rfcomm0"}) {
    EXPECT_TRUE(IsSerialPortName(name)) << name;
  }
  for (const char* name : {"ttyS", "ttyUSB", "ttyS0a", "tty0", "ttyUSB-1", "pts", "rfcomm"}) {
    EXPECT_FALSE(IsSerialPortName(name)) << name;
  }
  const List sorted = {"/dev/pts/3",   "/dev/ttyACM0", "/dev/ttyS2",    "/dev/ttyS10",
                       "/dev/ttyUSB1", "/dev/ttyUSB9", "/dev/ttyUSB10", "/dev/ttyUSB100"};
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
    EXPECT_TRUE(PortNameLess(sorted[i], sorted[i + 1])) << sorted[i] << " < " << sorted[i + 1];
    EXPECT_FALSE(PortNameLess(sorted[i + 1], sorted[i])) << sorted[i + 1];
  }
  // The open port is always listed, once, in its place.
  EXPECT_EQ(ComposePortList({"/dev/ttyUSB10", "/dev/ttyUSB2"}, "/dev/pts/4"),
            (List{"/dev/pts/4", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
  EXPECT_EQ(ComposePortList({"/dev/ttyUSB2"}, "/dev/ttyUSB2"), (List{"/dev/ttyUSB2"}));
}

TEST(PortListModel, PublishReplacesTheItemsAndSelectsTheOpenPort) {
  TPortListModel model;
  EXPECT_EQ(model.Caption(), "COM port...");
  TPortListChange change = model.Publish({"/dev/ttyS0", "/dev/ttyUSB0"}, "/dev/ttyUSB0");
  EXPECT_EQ(model.SelectedPort(), "/dev/ttyUSB0");
  EXPECT_FALSE(change.ShowConnect);  // connected: the button keeps offering to disconnect

  change = model.Publish({"/dev/ttyS0", "/dev/ttyUSB0"}, "");
  EXPECT_EQ(model.Selected(), 0);
  EXPECT_TRUE(change.ShowConnect);

  model.Publish({}, "");
  EXPECT_EQ(model.Selected(), -1);
  EXPECT_EQ(model.Caption(), texts::kNoPortCaption);
  EXPECT_EQ(model.SelectedPort(), "");
}

TEST(PortListModel, RefreshAppendsNewPortsAndDropsVanishedOnes) {
  TPortListModel model;
  TPortListChange change = model.Refresh({"/dev/ttyUSB1"}, "");
  EXPECT_EQ(model.Items(), (List{"/dev/ttyUSB1"}));
  EXPECT_EQ(model.Selected(), 0);  // a lone item is selected
  EXPECT_TRUE(change.ItemsChanged);

  model.Select(0);
  change = model.Refresh({"/dev/ttyUSB0", "/dev/ttyUSB1"}, "");
  EXPECT_EQ(model.Items(), (List{"/dev/ttyUSB1", "/dev/ttyUSB0"}));  // appended, not sorted
  EXPECT_EQ(model.SelectedPort(), "/dev/ttyUSB1");
  EXPECT_FALSE(change.ShowConnect);

  // The open port stays although the scan no longer sees it; the others go.
  model.SelectPath("/dev/pts/7");
  change = model.Refresh({}, "/dev/pts/7");
  EXPECT_EQ(model.Items(), (List{"/dev/pts/7"}));
  EXPECT_EQ(model.Selected(), 0);
  EXPECT_TRUE(change.ItemsChanged);
  EXPECT_FALSE(change.ShowConnect);

  change = model.Refresh({}, "");
  EXPECT_TRUE(model.Items().empty());
  EXPECT_EQ(model.Caption(), "COM port...");
  EXPECT_TRUE(change.ShowConnect);
  EXPECT_FALSE(model.Refresh({}, "").ItemsChanged);
}

TEST(PortListModel, TypedPathIsAcceptedAsAPort) {
  TPortListModel model;
  model.Publish({"/dev/ttyS0"}, "");
  model.SelectPath("/dev/pts/3");
  EXPECT_EQ(model.Items(), (List{"/dev/ttyS0", "/dev/pts/3"}));
  EXPECT_EQ(model.Caption(), "/dev/pts/3");
  model.SelectPath("/dev/ttyS0");
  EXPECT_EQ(model.Selected(), 0);
  EXPECT_EQ(model.Items().size(), 2U);
  model.Select(5);
  EXPECT_EQ(model.Selected(), -1);
}

// A scanner that returns the lists a test sets, and the publications it receives.
class ScriptedScan : public TPortScanner {
 public:
  std::vector<std::string> Scan() override {
    std::lock_guard lock(mutex);
    ++scans;
    changed.notify_all();
    return present;
  }
  void Set(List ports) {
    std::lock_guard lock(mutex);
    present = std::move(ports);
  }
  void Publish(const List& ports) {
    std::lock_guard lock(mutex);
    published.push_back(ports);
    changed.notify_all();
  }
  // Waits until `count` more scans have run, so that a publication would have happened.
  void WaitScans(int count) {
    std::unique_lock lock(mutex);
    const int target = scans + count;
    ASSERT_TRUE(changed.wait_for(lock, 5s, [&] { return scans >= target; }));
  }
  std::vector<List> Published() {
    std::lock_guard lock(mutex);
    return published;
  }

  std::mutex mutex;
  std::condition_variable changed;
  int scans = 0;
  List present;
  std::vector<List> published;
};

TEST(RenewComPortList, PublishesOnlyWhenTheListChanges) {
  ScriptedScan scan;
  scan.Set({"/dev/ttyUSB0", "/dev/ttyUSB1"});
  TRenewComPortList refresher(
      scan, [&](const List& ports) { scan.Publish(ports); }, 2ms);
  refresher.Start();
  scan.WaitScans(3);
  scan.Set({"/dev/ttyUSB0", "/dev/ttyUSB2"});  // same length, another port
  scan.WaitScans(3);
  refresher.SetPortInUse("/dev/pts/5");  // the open port joins the list
  scan.WaitScans(3);
  refresher.SetScanPaused(true);
  scan.Set({});
  scan.WaitScans(3);
  refresher.SetScanPaused(false);
  scan.WaitScans(3);
  refresher.Stop();
  EXPECT_EQ(scan.Published(), (std::vector<List>{{"/dev/ttyUSB0", "/dev/ttyUSB1"},
                                                 {"/dev/ttyUSB0", "/dev/ttyUSB2"},
                                                 {"/dev/pts/5", "/dev/ttyUSB0", "/dev/ttyUSB2"},
                                                 {"/dev/pts/5"}}));
}

TEST(RenewComPortList, StopsPromptlyBetweenScans) {
  ScriptedScan scan;
  TRenewComPortList refresher(scan, [&](const List& ports) { scan.Publish(ports); });
  refresher.Start();
  const auto start = std::chrono::steady_clock::now();
  refresher.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  EXPECT_EQ(scan.scans, 0);
}

}  // namespace
}  // namespace quarn::link
