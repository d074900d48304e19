// The controller simulator in-process: a controller of a chosen model served as a Modbus ASCII
// slave on a pseudo-terminal, a serial device or a port of the in-memory pair, on a thread of
// its own.
//
//   quarn::simulator::TSimulatorOptions options;      // KLEM-B, device id 1, firmware 2.0
//   options.Controller.Model = "KLEM-A ver.3";
//   std::string error;
//   auto sim = quarn::simulator::TSimulator::Create(options, error);
//   sim->StartOnPty();                                // then open sim->SlavePath() as a port
//   sim->WithController([](auto& c) { c.SetRunning(true); });
//   sim->Stop();                                      // also done by the destructor
//
// WithController runs its function under the lock that also serialises the served requests,
// so tests may read and change the controller while the simulator runs.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "link/pseudo_terminal.h"
#include "link/serial_port.h"
#include "simulator/controller.h"
#include "simulator/modbus_slave.h"
#include "simulator/simulator_server.h"

namespace quarn::simulator {

struct TSimulatorOptions {
  TControllerConfig Controller;
  TServerSettings Server;
};

class TSimulator {
 public:
  // nullptr with `error` set when the controller cannot be built (an unknown model).
  static std::unique_ptr<TSimulator> Create(const TSimulatorOptions& options, std::string& error);
  ~TSimulator();
  TSimulator(const TSimulator&) = delete;
  TSimulator& operator=(const TSimulator&) = delete;

  // Opens a new pseudo-terminal and serves its master; the workbench opens SlavePath(). The
  // slave stays usable while clients close and reopen it.
  bool StartOnPty();
  // Serves a serial device, opened with the link's line settings (115200 baud, 7E1).
  bool StartOnDevice(const std::string& path);
  // Serves one end of a port pair; the caller keeps the port alive until Stop.
  bool StartOnPort(link::TSerialPort& port, const std::string& name = "simulator");
  // Ends serving promptly; a no-op when not running.
  void Stop();
  bool Running() const { return server_.Running(); }

  // The slave path of the pseudo-terminal; empty unless started on one.
  const std::string& SlavePath() const { return pty_.SlavePath(); }
  // Why the last start failed.
  const std::string& Error() const { return error_; }
  TServerStats Stats() const { return server_.Stats(); }

  template <typename Function>
  decltype(auto) WithController(Function&& function) {
    std::lock_guard lock(mutex_);
    return std::forward<Function>(function)(*controller_);
  }

 private:
  TSimulator(std::unique_ptr<TController> controller, const TServerSettings& settings);
  bool StartOn(std::unique_ptr<TByteStream> stream);

  std::mutex mutex_;  // guards the controller and the slave
  std::unique_ptr<TController> controller_;
  TModbusSlave slave_;
  link::TPseudoTerminal pty_;
  std::string error_;
  TSimulatorServer server_;  // last: its thread stops before the members above go
};

}  // namespace quarn::simulator
