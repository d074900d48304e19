// Upload of the IL program into the controller, and its download back into the IL list.
//
// Upload turns the IL list into one command list: check STOP, switch to program writing, choose
// the main or service program, erase it, then per code line write its number and 21 words,
// store it and read back the busy and error flags; optionally set read protection.
//
// Download reads the program back in packets of 15 instructions on its own thread, which sends
// each step as a command list and waits for it with a bound; the answer dispatcher collects the
// packet's bytes (TFastReadingProcess), the thread decodes them with the model's decoder, and
// the lines reach the IL list through the ProgramRead event, comment lines included.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/connection_session.h"
#include "link/reading_collector.h"
#include "link/register_request.h"

namespace quarn::link {

// The first line of an upload that stops it, and what the list and the window are told.
struct TUploadList {
  bool Ok = false;
  TRegistersArray List;
  std::string Message;      // the message shown when the list was refused
  int WrongLine = -1;       // index of the refused line, -1 for none
  std::string Replacement;  // the comment line that takes its place; empty: the line stays
};

// The requests of an upload of `lines`; refused at the first line that is not a valid
// instruction, or when the program is too long.
TUploadList BuildUploadList(const std::vector<std::string>& lines, TProgramKind kind, bool protect);

struct TDownloadResult {
  TReadResult Kind = TReadResult::None;
  int Reported = 0;  // commands the controller reported in its packets
  int Decoded = 0;   // commands decoded into IL lines
  bool AnySectorData = false;
  std::string Message;             // the step message that ended the reading, if any
  std::vector<std::string> Lines;  // what the IL list was filled with

  // Everything the controller reported was read and decoded: only then is a download a
  // success. A complete reading whose count falls short still fills the list, with comment
  // lines that say so.
  bool Succeeded() const { return Kind == TReadResult::Complete && Decoded == Reported; }
};

class TProgramTransfer {
 public:
  explicit TProgramTransfer(TConnectionSession& session);
  // Stops a running download and waits for its thread; the link's bounded waits bound this.
  ~TProgramTransfer();
  TProgramTransfer(const TProgramTransfer&) = delete;
  TProgramTransfer& operator=(const TProgramTransfer&) = delete;

  // The upload button. A wrong line is replaced in `lines` (and EditorLineReplaced is sent).
  // Answers whether the list went to the link.
  bool Upload(std::vector<std::string>& lines, TProgramKind kind, bool protect);

  // The read button. `listEmpty` tells whether the IL list is empty; if not, the user is asked
  // whether to clear it. Answers whether a download started.
  bool StartDownload(TProgramKind kind, bool listEmpty);
  bool Reading() const { return reading_; }
  // Ends a running download at its next step (disconnect, application close).
  void StopReading();
  // The last finished download; valid once Reading() is false again.
  TDownloadResult LastDownload() const;

  // While debugging is active a download says that debugging is impossible, and stops it.
  void SetDebugging(bool active) { debugging_ = active; }

 private:
  // The reader thread. The device id is the one of the moment the download started: the window
  // may change the session's while the download runs.
  void ReadProgram(TProgramKind kind, std::uint8_t deviceId);
  bool ReadPart1(TProgramKind kind, std::uint8_t deviceId, TDownloadResult& result);
  bool ReadPackets(TProgramKind kind, std::uint8_t deviceId, TDownloadResult& result);
  bool RunList(std::uint8_t deviceId, const std::string& label, const TRegistersArray& list,
               TListOutcome& outcome);
  void Finish(TDownloadResult result);
  void StepMessage(TDownloadResult& result, std::string_view text);
  bool Stopping() const { return stop_; }

  TConnectionSession& session_;
  std::atomic<bool> reading_{false};
  std::atomic<bool> stop_{false};
  std::atomic<bool> debugging_{false};
  mutable std::mutex mutex_;
  TDownloadResult last_;
  std::thread reader_;
};

}  // namespace quarn::link
