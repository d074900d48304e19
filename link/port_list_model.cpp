#include "link/port_list_model.h"

#include <algorithm>

#include "link/port_texts.h"

namespace quarn::link {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

TPortListChange TPortListModel::Publish(const std::vector<std::string>& ports,
                                        const std::string& openPort) {
  items_ = ports;
  const auto open = std::find(items_.begin(), items_.end(), openPort);
  if (!openPort.empty() && open != items_.end()) {
    selected_ = static_cast<int>(open - items_.begin());
  } else {
    selected_ = items_.empty() ? -1 : 0;
  }
  return {true, openPort.empty()};
}

TPortListChange TPortListModel::Refresh(const std::vector<std::string>& found,
                                        const std::string& openPort) {
  TPortListChange change;
  for (const std::string& port : found) {
    if (Contains(items_, port)) continue;
    items_.push_back(port);
    change.ItemsChanged = true;
    if (items_.size() == 1) selected_ = 0;
  }
  const auto vanished = [&](const std::string& item) {
    return item != openPort && !Contains(found, item);
  };
  const auto kept_end = std::remove_if(items_.begin(), items_.end(), vanished);
  if (kept_end != items_.end()) {
    items_.erase(kept_end, items_.end());
    change.ItemsChanged = true;
    selected_ = items_.empty() ? -1 : 0;
    // The button is reset only while no port is open: it must keep offering "Disconnect"
    // while the open port is still in use.
    change.ShowConnect = openPort.empty();
  }
  return change;
}

void TPortListModel::SelectPath(const std::string& path) {
  if (path.empty()) return;
  auto found = std::find(items_.begin(), items_.end(), path);
  if (found == items_.end()) {
    items_.push_back(path);
    found = items_.end() - 1;
  }
  selected_ = static_cast<int>(found - items_.begin());
}

void TPortListModel::Select(int index) {
  selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

std::string TPortListModel::SelectedPort() const {
  return selected_ >= 0 ? items_[static_cast<std::size_t>(selected_)] : std::string{};
}

std::string TPortListModel::Caption() const {
  return selected_ >= 0 ? SelectedPort() : std::string(texts::kNoPortCaption);
}

}  // namespace quarn::link
