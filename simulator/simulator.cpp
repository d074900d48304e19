#include "simulator/simulator.h"

#include <cstring>

#include "link/posix_serial_port.h"
#include "simulator/fd_stream.h"
#include "simulator/port_stream.h"

namespace quarn::simulator {

std::unique_ptr<TSimulator> TSimulator::Create(const TSimulatorOptions& options,
                                               std::string& error) {
  std::unique_ptr<TController> controller = TController::Create(options.Controller, error);
  if (!controller) return nullptr;
  return std::unique_ptr<TSimulator>(new TSimulator(std::move(controller), options.Server));
}

TSimulator::TSimulator(std::unique_ptr<TController> controller, const TServerSettings& settings)
    : controller_(std::move(controller)),
      slave_(*controller_, controller_->Config().DeviceId),
      server_(
          [this](std::span<const std::uint8_t> pdu) {
            std::lock_guard lock(mutex_);
            return slave_.Serve(pdu);
          },
          settings) {}

TSimulator::~TSimulator() { Stop(); }

bool TSimulator::StartOn(std::unique_ptr<TByteStream> stream) {
  if (server_.Start(std::move(stream))) return true;
  error_ = server_.Error();
  return false;
}

bool TSimulator::StartOnPty() {
  Stop();
  if (!pty_.Open()) {
    error_ = std::strerror(pty_.LastError());
    return false;
  }
  return StartOn(std::make_unique<TFdStream>(pty_.MasterFd()));
}

bool TSimulator::StartOnDevice(const std::string& path) {
  Stop();
  return StartOn(std::make_unique<TPortStream>(std::make_unique<link::TPosixSerialPort>(), path));
}

bool TSimulator::StartOnPort(link::TSerialPort& port, const std::string& name) {
  Stop();
  return StartOn(std::make_unique<TPortStream>(port, name));
}

void TSimulator::Stop() {
  server_.Stop();
  pty_.Close();
}

}  // namespace quarn::simulator
