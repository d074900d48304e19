// A pseudo-terminal for playing the controller's side of the line: the simulator and the tests
// hold the master, the workbench opens the slave path like any serial device.
//
// The slave is put in raw mode from the master, and the pseudo-terminal keeps a descriptor of
// the slave open itself, so that the master never sees a hang-up while the workbench closes and
// opens the port again.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/byte_arrays.h"

namespace quarn::link {

class TPseudoTerminal {
 public:
  TPseudoTerminal() = default;
  ~TPseudoTerminal();
  TPseudoTerminal(const TPseudoTerminal&) = delete;
  TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

  // Opens a new master and prepares its slave; false with LastError (errno) on failure.
  bool Open();
  void Close();
  bool IsOpen() const { return master_ >= 0; }
  int LastError() const { return last_error_; }

  int MasterFd() const { return master_; }                      // non-blocking
  const std::string& SlavePath() const { return slave_path_; }  // e.g. /dev/pts/3

  // Writes all bytes to the master within `limit`; false when closed, on error or time-out.
  bool Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds limit);
  // What arrives at the master within `limit`, up to `max` bytes; returns as soon as `max`
  // bytes are there, and with whatever came when the time is up.
  TBytesArray Read(std::size_t max, std::chrono::milliseconds limit);

 private:
  int master_ = -1;
  int slave_ = -1;
  int last_error_ = 0;
  std::string slave_path_;
};

}  // namespace quarn::link
