// What the controller link tells the window. Every call arrives on the UI thread (the link posts
// them through its TDispatcher), in the order the link produced them. The window implements
// this interface, tests record the calls, the command line prints them.
//
// Every method has an empty default, so an implementation overrides only what it shows.
// Texts arrive complete, exactly as they are to be shown (see link/link_texts.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/controller_state.h"
#include "link/transfer_log.h"

namespace quarn::link {

struct TDeviceDescription;

// The progress line: "Commands transferred: " followed by Count. Total is the sum of the
// progress weights of the list, for a progress bar.
struct TProgressView {
  int Count = 0;
  int Total = 0;
  std::string Text;
};

// How a request list ended.
struct TListOutcome {
  std::string Label;
  bool IsCommand = false;
  bool ReachedEnd = false;  // every request was answered as the list demands
  bool Failed = true;       // an error ended the list early, or the list was empty
  std::string Error;        // the worker error text, when an error ended it
};

// The connection part of the window.
struct TConnectionView {
  bool Connected = false;
  std::string Port;            // the open device path, empty when closed
  std::string ConnectionText;  // "/dev/ttyUSB0 connected", empty when not connected
  std::string ButtonCaption;   // "Connect" or "Disconnect"
  bool PortSelectorEnabled = true;
  bool ModelSelectorEnabled = true;
};

// The window's two link timers. The window runs them (or the headless loop does) and calls
// TConnectionSession::StateTimerTick / ResetTimerTick on each expiry.
struct TTimerView {
  bool StateTimerEnabled = false;
  int StateIntervalMs = 200;
  bool ResetTimerEnabled = false;
  int ResetIntervalMs = 1200;
};

class TLinkEvents {
 public:
  virtual ~TLinkEvents() = default;

  // Status area: the communication text and lamp.
  virtual void StatusText(const std::string& text) { (void)text; }
  virtual void StatusLamp(TLampColour colour) { (void)colour; }
  virtual void Progress(const TProgressView& progress) { (void)progress; }
  // "Data transfer result:  successful" (green) or "Data transfer result: failed " (red).
  virtual void ResultLine(const std::string& text, TLampColour colour) {
    (void)text;
    (void)colour;
  }
  virtual void RequestListEnded(const TListOutcome& outcome) { (void)outcome; }

  // A transfer-log line: 0 sent frame, 1 received line or diagnostic, 2 error, 3 raw text.
  virtual void TransferLogLine(TTransferLogCode code, const std::string& text) {
    (void)code;
    (void)text;
  }

  virtual void MessageBox(const std::string& text) { (void)text; }
  // A question with the buttons Yes and Cancel; answers true for Yes.
  virtual bool AskYesCancel(const std::string& question) {
    (void)question;
    return false;
  }

  virtual void ConnectionChanged(const TConnectionView& view) { (void)view; }
  virtual void TimersChanged(const TTimerView& timers) { (void)timers; }
  // The port list is to be emptied (polling gave up after repeated missing answers).
  virtual void PortListCleared() {}
  // The register the status poll reads now ("Reading: " label).
  virtual void PollLabel(const std::string& registerName) { (void)registerName; }

  // The controller state changed: redraw the named parts from TConnectionSession::State().
  virtual void ControllerStateChanged(const TStateChanges& changed) { (void)changed; }
  // A model was selected (by the identification or by the user): adapt the window to it.
  virtual void ModelSelected(const TDeviceDescription& description) { (void)description; }

  // Upload: a wrong line of the IL list was turned into the comment line `text`.
  virtual void EditorLineReplaced(int index, const std::string& text) {
    (void)index;
    (void)text;
  }
  // Download: the "Program is reading, wait..." panel, its "Commands: N" count, and the lines
  // the IL list is filled with at the end (comment lines included).
  virtual void ReadingPanel(bool shown) { (void)shown; }
  virtual void CommandsRead(int count) { (void)count; }
  virtual void ProgramRead(const std::vector<std::string>& lines) { (void)lines; }
};

}  // namespace quarn::link
