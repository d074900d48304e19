#include "link/port_discovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <optional>

namespace quarn::link {
namespace {

constexpr std::string_view kPortPrefixes[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "rfcomm"};
constexpr std::string_view kUartPrefix = "ttyS";

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::optional<int> ReadSysfsNumber(const std::string& path) {
  std::ifstream file(path);
  int value = 0;
  if (file >> value) return value;
  return std::nullopt;
}

std::optional<int> AskUartType(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  serial_struct info{};
  const bool known = ::ioctl(fd, TIOCGSERIAL, &info) == 0;
  ::close(fd);
  if (!known) return std::nullopt;
  return info.type;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// Compares a run of digits by value: fewer significant digits is smaller.
int CompareNumbers(std::string_view a, std::string_view b) {
  const auto strip = [](std::string_view s) {
    const auto first = s.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : s.substr(first);
  };
  a = strip(a);
  b = strip(b);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

std::size_t DigitRun(std::string_view s, std::size_t from) {
  std::size_t end = from;
  while (end < s.size() && IsDigit(s[end])) ++end;
  return end - from;
}

}  // namespace

bool IsSerialPortName(std::string_view name) {
  for (std::string_view prefix : kPortPrefixes) {
    if (name.size() > prefix.size() && name.starts_with(prefix) &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                    IsDigit)) {
      // "ttyS" is also the start of "ttyUSB"; the digit rule keeps them apart.
      return true;
    }
  }
  return false;
}

bool PortNameLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::size_t run_a = DigitRun(a, i);
      const std::size_t run_b = DigitRun(b, j);
      const int order = CompareNumbers(a.substr(i, run_a), b.substr(j, run_b));
      if (order != 0) return order < 0;
      i += run_a;
      j += run_b;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
  return a < b;  // equal by value ("ttyS01" and "ttyS1"): keep a strict order
}

std::vector<std::string> ComposePortList(std::vector<std::string> found,
                                         const std::string& openPort) {
  if (!openPort.empty()) found.push_back(openPort);
  std::sort(found.begin(), found.end(),
            [](const std::string& a, const std::string& b) { return PortNameLess(a, b); });
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

TDevPortScanner::TDevPortScanner(std::string devDir, std::string sysTtyDir)
    : dev_dir_(std::move(devDir)), sys_tty_dir_(std::move(sysTtyDir)) {}

std::vector<std::string> TDevPortScanner::Scan() {
  std::vector<std::string> found;
  DIR* dir = ::opendir(dev_dir_.c_str());
  if (dir == nullptr) return found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsSerialPortName(name)) continue;
    if (name.starts_with(kUartPrefix) && IsDigit(name[kUartPrefix.size()]) && !HasUart(name)) {
      continue;
    }
    found.push_back(dev_dir_ + "/" + name);
  }
  ::closedir(dir);
  return ComposePortList(std::move(found), {});
}

bool TDevPortScanner::HasUart(const std::string& name) const {
  const std::string sys = sys_tty_dir_ + "/" + name;
  if (const auto type = ReadSysfsNumber(sys + "/type")) return *type != PORT_UNKNOWN;
  if (const auto type = AskUartType(dev_dir_ + "/" + name)) return *type != PORT_UNKNOWN;
  return Exists(sys + "/device");
}

}  // namespace quarn::link
