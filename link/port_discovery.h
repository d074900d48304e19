// Finding the serial ports present on this machine, and the order they are listed in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarn::link {

// Lists the device paths of the serial ports present now.
class TPortScanner {
 public:
  virtual ~TPortScanner() = default;
  virtual std::vector<std::string> Scan() = 0;
};

// Scans a device folder for ttyS*, ttyUSB*, ttyACM*, ttyAMA* and rfcomm* nodes. A ttyS node
// counts only with a UART behind it: the kernel creates ttyS0 to ttyS3 whether or not the
// hardware exists. The UART type is read from sysfs (<tty folder>/ttySn/type, no open needed);
// without it the device is asked with TIOCGSERIAL, and when it cannot be opened either, the
// sysfs device link decides. The folders are parameters so that tests can use fake ones.
class TDevPortScanner final : public TPortScanner {
 public:
  explicit TDevPortScanner(std::string devDir = "/dev", std::string sysTtyDir = "/sys/class/tty");
  std::vector<std::string> Scan() override;  // in ListOrder

 private:
  bool HasUart(const std::string& name) const;

  std::string dev_dir_;
  std::string sys_tty_dir_;
};

// True for the node names the scanner lists: a known prefix followed by digits only.
bool IsSerialPortName(std::string_view name);

// Natural order: runs of digits compare by value, so /dev/ttyUSB2 comes before /dev/ttyUSB10.
bool PortNameLess(std::string_view a, std::string_view b);

// The list to publish: the ports found plus the port this system holds open (a port open here
// may not show up in a scan), without repeats, in natural order. `openPort` may be empty.
std::vector<std::string> ComposePortList(std::vector<std::string> found,
                                         const std::string& openPort);

}  // namespace quarn::link
