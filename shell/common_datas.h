// The shared data of the workbench: identity, the settings read from the settings file, the
// options of the "Program Settings" dialog and the times derived from the settings.
#pragma once

#include <atomic>
#include <string>

namespace quarn::shell {

// A value one thread writes while another reads it, still copyable as a whole record.
template <typename T>
class SharedValue {
 public:
  // Implicit both ways on purpose: the field reads and assigns like the plain value it holds.
  SharedValue(T value = T{}) : value_(value) {}
  SharedValue(const SharedValue& other) : value_(other.load()) {}
  SharedValue& operator=(const SharedValue& other) {
    store(other.load());
    return *this;
  }
  SharedValue& operator=(T value) {
    store(value);
    return *this;
  }
  T load() const { return value_.load(std::memory_order_relaxed); }
  void store(T value) { value_.store(value, std::memory_order_relaxed); }
  operator T() const { return load(); }

 private:
  std::atomic<T> value_;
};

// All times are in milliseconds. The settings are filled once at start-up (ReadSettingsFile)
// before any worker runs and only read afterwards; MaxFragmentBlocks and CompileLog change while
// the program runs (the dialog sets them, debug.log writing may switch CompileLog off from the
// compiler's thread), so they are atomic.
struct TCommonDatas {
  // Identity shown in the title bar; the icon name picks one of the carried icons.
  std::string VersionText = " 3.0.5";
  std::string BrandName = "Brevik";
  std::string BrandIconName = "brevik_icon";
  // The interface texts exist in English only, so the code stays "EN".
  std::string Language = "EN";

  // Settings file values (key in the comment).
  int ReadPause = 30;             // COMPORT_TIMEOUT_READ
  int ExtraWait = 0;              // COMPORT_TIMEOUT_READ2
  int PermissionWait = 50;        // COMPORT_TIMEOUT_HANDLE
  int AnswerHandling = 100;       // RESPONSE_HANDLE_TIMEOUT1
  int WorkerCloseWait = 150;      // RESPONSE_HANDLE_TIMEOUT2
  int RepeatPause = 100;          // CYCLE_READ_DELAY
  int GeneralWait = 50;           // GENERAL_TIMEOUT
  int StatusTimerInterval = 200;  // STATE_REQ; the "Program Settings" dialog changes it too
  int ReadAttempts = 1;           // READ_ATTEMPTS
  bool SaveLog = true;            // SAVE_LOG: on when no settings file could be read
  bool WriteLog = true;           // WRITE_LOG
  int LinesToLog = 1000;          // LINES_TO_LOG
  std::string LogPath;            // LOG_PATH, environment names already expanded
  bool SlowMode = false;          // SLOW
  int MaxReadRegisters = 123;     // MAX_READ_REGISTERS, only taken with SLOW

  // Options of the "Program Settings" dialog.
  SharedValue<int> MaxFragmentBlocks{1000};
  SharedValue<bool> CompileLog{false};

  // Tries of the sender per frame; no setting changes it.
  static constexpr int SenderAttempts = 3;

  // Fixed debug-read times shown by the "Program Settings" dialog and used by the debug reader.
  static constexpr int DebugTimeout = 300;
  static constexpr int DebugTimeout2 = 100;
  static constexpr int DebugAnswerTime = DebugTimeout + DebugTimeout2;

  // Intervals of the main window's timers and of the port-list refresh. The status timer keeps
  // within the range STATE_REQ accepts: faster polling would crowd the link.
  static constexpr int MinStatusTimerInterval = 100;
  static constexpr int MaxStatusTimerInterval = 5000;
  static constexpr int StateResetInterval = 1200;
  static constexpr int IlNumberingInterval = 1000;
  static constexpr int BreakpointRefreshInterval = 1000;
  static constexpr int PortListRefreshInterval = 5000;

  friend bool operator==(const TCommonDatas&, const TCommonDatas&) = default;

  // Derived times: the link's own bounds (link::DeriveTimes) for these settings, computed on
  // every call so that they can never lag behind a changed setting.
  int PortCycle() const;
  int AnswerWait() const;
  // One answer wait with the extra wait added (F).
  int FullAnswerWait() const;
  int TotalTimeout() const;
  // How long one sender waits for its answer per attempt.
  int SenderAnswerWait() const;

  // Bounds of the waits when the main window closes and is destroyed.
  int CloseReadPortWait() const;
  int CloseSenderWait() const;
  int DownloadWorkerEndWait() const;
};

// "Quarn-Program-Modbus, ver. 3.0.5  -  Brevik" with the defaults.
std::string WindowTitle(const TCommonDatas& datas);

// The status timer never runs faster than this, whatever was set.
int BoundedStatusTimerInterval(int interval);

}  // namespace quarn::shell
