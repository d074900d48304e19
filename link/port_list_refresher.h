// The background port scan: every interval it scans, and when the list of present ports (with
// the open port always in it) differs from the list it published last, in length or in any
// position, it publishes the new list. Nothing is published while the scan is paused (the
// connect action pauses it while it opens a port).
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/port_discovery.h"

namespace quarn::link {

class TRenewComPortList {
 public:
  // Called on the scan thread; the window hands the list over to its own thread and applies it
  // with TPortListModel::Publish.
  using TPublish = std::function<void(const std::vector<std::string>& ports)>;

  static constexpr std::chrono::milliseconds kScanInterval{5000};

  TRenewComPortList(TPortScanner& scanner, TPublish publish,
                    std::chrono::milliseconds interval = kScanInterval);
  ~TRenewComPortList();
  TRenewComPortList(const TRenewComPortList&) = delete;
  TRenewComPortList& operator=(const TRenewComPortList&) = delete;

  void Start();
  // Returns as soon as a scan in progress ends; no scan or publishing follows.
  void Stop();

  void SetPortInUse(const std::string& path);  // empty when no port is open
  void SetScanPaused(bool paused);

 private:
  void Run();
  void ScanOnce();

  TPortScanner& scanner_;
  const TPublish publish_;
  const std::chrono::milliseconds interval_;

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  bool paused_ = false;
  std::string port_in_use_;
  std::vector<std::string> published_;  // touched by the scan thread only
  std::thread thread_;
};

}  // namespace quarn::link
