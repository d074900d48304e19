// The port selector of the main window with the in-process controller simulator offered first:
// "Simulator", then the serial ports of the background scan (kept by TPortListModel's rules),
// then any path the user typed (a pseudo-terminal, a device the scan does not know).
//
// While the simulator is in use its pseudo-terminal is the open port; the scan reports it like
// any open port, but the selector keeps showing "Simulator" instead.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/link_events.h"
#include "link/port_list_model.h"

namespace quarn::link {

inline constexpr std::string_view kSimulatorPort = "Simulator";
inline constexpr std::string_view kSimulatorConnected = "Simulator connected";

class TPortChoice {
 public:
  // "Simulator" first, then the ports.
  std::vector<std::string> Items() const;
  // Index into Items(); -1 when nothing is chosen.
  int Selected() const;
  bool SimulatorChosen() const { return simulator_chosen_; }
  // The device path chosen; empty for the simulator or nothing.
  std::string SelectedPort() const;

  // A list published by the background scan. The open port stays selected, and so does a chosen
  // simulator; otherwise the first port is, or the simulator when no port is left.
  void Publish(const std::vector<std::string>& ports, const std::string& openPort);
  // The user's choice of an item; an index out of range chooses nothing.
  void Select(int index);
  // Text typed into the selector: "Simulator" chooses the simulator, other text is a path that
  // becomes an item. Empty text changes nothing.
  void SelectText(const std::string& text);
  // The pseudo-terminal of the running simulator; empty once it has stopped.
  void SetSimulatorPath(std::string path) { simulator_path_ = std::move(path); }
  const std::string& SimulatorPath() const { return simulator_path_; }
  // Polling gave up on the line: the ports are dropped and nothing stays chosen.
  void ClearPorts();

  // The connection label: "Simulator connected" for the simulator's port, else the link's text.
  std::string ConnectionText(const TConnectionView& view) const;

 private:
  TPortListModel ports_;
  bool simulator_chosen_ = false;
  std::string simulator_path_;
};

}  // namespace quarn::link
