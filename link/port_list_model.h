// The port selector of the main window, without the widget: its items, its selection, the
// caption it shows, and whether the connect button must read "Connect" after a change.
#pragma once

#include <string>
#include <vector>

namespace quarn::link {

struct TPortListChange {
  bool ItemsChanged = false;
  bool ShowConnect = false;  // the connect button must read "Connect"
};

class TPortListModel {
 public:
  // A list published by the background scan (see TRenewComPortList) replaces the items; the
  // open port, else the first item, is selected.
  TPortListChange Publish(const std::vector<std::string>& ports, const std::string& openPort);

  // The refresh button: ports found and not listed are appended (a lone item is selected),
  // listed ports no longer found are removed unless open (the first item is selected then).
  TPortListChange Refresh(const std::vector<std::string>& found, const std::string& openPort);

  // A path typed by the user (for example a pseudo-terminal) becomes an item and is selected.
  void SelectPath(const std::string& path);
  // Selection by the user; an index out of range selects nothing.
  void Select(int index);

  const std::vector<std::string>& Items() const { return items_; }
  int Selected() const { return selected_; }  // -1 when nothing is selected
  std::string SelectedPort() const;           // empty when nothing is selected
  std::string Caption() const;                // the selected port, else "COM port..."

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
};

}  // namespace quarn::link
