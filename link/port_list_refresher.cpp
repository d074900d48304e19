#include "link/port_list_refresher.h"

namespace quarn::link {

TRenewComPortList::TRenewComPortList(TPortScanner& scanner, TPublish publish,
                                     std::chrono::milliseconds interval)
    : scanner_(scanner), publish_(std::move(publish)), interval_(interval) {}

TRenewComPortList::~TRenewComPortList() { Stop(); }

void TRenewComPortList::Start() {
  std::lock_guard lock(mutex_);
  if (thread_.joinable() || stop_) return;
  thread_ = std::thread(&TRenewComPortList::Run, this);
}

void TRenewComPortList::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void TRenewComPortList::SetPortInUse(const std::string& path) {
  std::lock_guard lock(mutex_);
  port_in_use_ = path;
}

void TRenewComPortList::SetScanPaused(bool paused) {
  std::lock_guard lock(mutex_);
  paused_ = paused;
}

void TRenewComPortList::Run() {
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, interval_, [this] { return stop_; })) {
    lock.unlock();
    ScanOnce();
    lock.lock();
  }
}

void TRenewComPortList::ScanOnce() {
  std::vector<std::string> found = scanner_.Scan();
  std::string in_use;
  {
    std::lock_guard lock(mutex_);
    if (stop_ || paused_) return;
    in_use = port_in_use_;
  }
  std::vector<std::string> ports = ComposePortList(std::move(found), in_use);
  if (ports == published_) return;
  published_ = ports;
  publish_(published_);
}

}  // namespace quarn::link
