// The serial port as the link sees it: open a device, write frames, and receive chunks through
// a callback paced by a read-permission handshake.
//
// Receiving: a receive thread reads whatever has arrived, at most kInBufSize bytes at a time,
// and hands it to the read callback on that thread. After each chunk the port holds further
// input until the consumer grants read permission again (GrantReadPermission), so chunks reach
// the consumer strictly one at a time and in order; input waiting while permission is withheld
// is read as soon as permission comes. Permission is granted when the port opens. The consumer
// grants it when it has processed a chunk and before it writes the next frame.
//
// Thread rules: Open, Close, SetLineSettings and SetOnRead come from one controlling thread;
// Write, ModemStatus and LineErrors may come from any thread; GrantReadPermission from any
// thread, the read callback included. The callback must not wait for the thread that closes the
// port (Close waits for a running callback to return). The callback may close the port, and
// even destroy it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace quarn::link {

// Largest chunk handed to the read callback.
inline constexpr std::size_t kInBufSize = 1000;

// Baud rates by BaudIndex.
inline constexpr std::uint32_t kBaudRates[] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                               14400, 19200, 38400, 56000, 57600, 115200};

// Line settings; the defaults are the controller's: 115200 baud, 7 data bits, even parity,
// one stop bit.
struct TLineSettings {
  std::uint8_t BaudIndex = 12;     // index into kBaudRates
  std::uint8_t DataBitsIndex = 2;  // data bits - 5
  std::uint8_t Parity = 2;         // 0 none, 1 odd, 2 even, 3 mark, 4 space
  std::uint8_t StopBits = 0;       // 0 one, 1 one and a half, 2 two

  friend bool operator==(const TLineSettings&, const TLineSettings&) = default;
};

// Modem status lines, as ModemStatus reports them.
inline constexpr std::uint32_t kModemCts = 0x10;
inline constexpr std::uint32_t kModemDsr = 0x20;
inline constexpr std::uint32_t kModemRing = 0x40;
inline constexpr std::uint32_t kModemRlsd = 0x80;

// Line error flags, as LineErrors and the read callback report them.
inline constexpr std::uint32_t kLineRxOver = 0x0001;   // input buffer overflow
inline constexpr std::uint32_t kLineOverrun = 0x0002;  // hardware overrun
inline constexpr std::uint32_t kLineParity = 0x0004;
inline constexpr std::uint32_t kLineFrame = 0x0008;
inline constexpr std::uint32_t kLineBreak = 0x0010;
inline constexpr std::uint32_t kLineHangUp =
    0x8000;  // the device went away (unplugged, peer closed)

struct TLineStatus {
  std::uint32_t Errors = 0;     // errors since the last report
  std::size_t QueuedBytes = 0;  // received bytes waiting to be read
};

struct TPortOpenResult {
  bool Opened = false;
  int Error = 0;        // errno of the failure
  std::string Message;  // for the user: names the path and the reason
};

// Receives one chunk (1 to kInBufSize bytes) and the line errors seen with it.
using TReadCallback =
    std::function<void(std::span<const std::uint8_t> chunk, std::uint32_t errors)>;

class TSerialPort {
 public:
  virtual ~TSerialPort() = default;

  // Opens the device at `path` (closing another one first), applies the line settings and
  // starts receiving. Opening the port that is already open changes nothing.
  virtual TPortOpenResult Open(const std::string& path) = 0;
  // Stops receiving and closes the device; a no-op when closed. Returns promptly, also while a
  // write or a receive is pending.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual std::string Path() const = 0;  // the open device, empty when closed

  // Stored; applied at once when open. Whether the device took them is LineSettingsApplied.
  virtual void SetLineSettings(const TLineSettings& settings) = 0;
  virtual TLineSettings LineSettings() const = 0;
  // False when the device refused the settings (a pseudo-terminal refuses 7 data bits with
  // parity); the port then still works, in raw mode with the device's own framing.
  virtual bool LineSettingsApplied() const = 0;

  // Writes all bytes; false when closed, on a device error, or when the bytes could not be
  // handed to the device within a time bound (a stalled line never blocks the caller for good).
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
  // Active modem status lines (kModem...); 0 when closed or when the device has none.
  virtual std::uint32_t ModemStatus() = 0;
  // Line errors since the previous report and the input waiting; zero when closed.
  virtual TLineStatus LineErrors() = 0;

  // The consumer of received chunks; set it before Open.
  virtual void SetOnRead(TReadCallback callback) = 0;
  virtual void GrantReadPermission() = 0;
};

}  // namespace quarn::link
