#include "link/port_choice.h"

#include <algorithm>

namespace quarn::link {

std::vector<std::string> TPortChoice::Items() const {
  std::vector<std::string> items{std::string(kSimulatorPort)};
  items.insert(items.end(), ports_.Items().begin(), ports_.Items().end());
  return items;
}

int TPortChoice::Selected() const {
  if (simulator_chosen_) return 0;
  return ports_.Selected() >= 0 ? ports_.Selected() + 1 : -1;
}

std::string TPortChoice::SelectedPort() const {
  return simulator_chosen_ ? std::string() : ports_.SelectedPort();
}

void TPortChoice::Publish(const std::vector<std::string>& ports, const std::string& openPort) {
  std::vector<std::string> listed = ports;
  if (!simulator_path_.empty()) std::erase(listed, simulator_path_);
  const bool simulatorOpen = !simulator_path_.empty() && openPort == simulator_path_;
  ports_.Publish(listed, simulatorOpen ? std::string() : openPort);
  const bool realPortOpen = !openPort.empty() && !simulatorOpen;
  if (realPortOpen) {
    simulator_chosen_ = false;
  } else if (ports_.Items().empty()) {
    simulator_chosen_ = true;
  }
}

void TPortChoice::Select(int index) {
  simulator_chosen_ = index == 0;
  ports_.Select(index - 1);
}

void TPortChoice::SelectText(const std::string& text) {
  if (text.empty()) return;
  if (text == kSimulatorPort) {
    Select(0);
    return;
  }
  simulator_chosen_ = false;
  ports_.SelectPath(text);
}

void TPortChoice::ClearPorts() {
  ports_.Publish({}, {});
  simulator_chosen_ = false;
}

std::string TPortChoice::ConnectionText(const TConnectionView& view) const {
  if (view.Connected && !simulator_path_.empty() && view.Port == simulator_path_) {
    return std::string(kSimulatorConnected);
  }
  return view.ConnectionText;
}

}  // namespace quarn::link
