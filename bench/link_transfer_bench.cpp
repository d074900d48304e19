// Upload and download of a 1000-instruction program through the whole link, against the
// controller simulator on a pseudo-terminal.
//
// Paced at 115200 baud (every character held for its line time, 10 bits), the measured time is
// compared with the line time of every character that went over the line: the ratio says how
// much the software adds to what the line itself costs. Without pacing, the requests per second
// show the software's own speed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "link/connection_session.h"
#include "link/headless_dispatcher.h"
#include "link/link_texts.h"
#include "link/posix_serial_port.h"
#include "link/program_transfer.h"
#include "simulator/simulator.h"

namespace {

using namespace quarn;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultInstructions = 1000;
constexpr double kBaud = 115200.0;
constexpr double kBitsPerCharacter = 10.0;

// Counts what crosses the line: every sent frame and every received character.
class CountingEvents final : public link::TLinkEvents {
 public:
  void TransferLogLine(link::TTransferLogCode code, const std::string& text) override {
    if (code == link::TTransferLogCode::Send) {
      characters += text.size();
      ++requests;
    } else if (code == link::TTransferLogCode::Raw) {
      characters += text.size();
    }
  }
  void RequestListEnded(const link::TListOutcome& outcome) override { ended.push_back(outcome); }
  void MessageBox(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }

  void Reset() {
    characters = 0;
    requests = 0;
  }

  std::size_t characters = 0;
  std::size_t requests = 0;
  std::vector<link::TListOutcome> ended;
};

// The program size: 1000 instructions, or as many as the first argument says.
std::vector<std::string> GeneratedProgram(int instructions) {
  std::vector<std::string> lines;
  for (int i = 0; static_cast<int>(lines.size()) < instructions - 1; ++i) {
    switch (i % 6) {
      case 0:
        lines.push_back("LD\tX" + std::to_string(i % 8));
        break;
      case 1:
        lines.push_back("AND\tM" + std::to_string(i % 128));
        break;
      case 2:
        lines.push_back("OUT\tY" + std::to_string(i % 8));
        break;
      case 3:
        lines.push_back("MOV\tK" + std::to_string(i) + "\tD" + std::to_string(i % 300));
        break;
      case 4:
        lines.push_back("SET\tM" + std::to_string(i % 128));
        break;
      default:
        lines.push_back("RST\tM" + std::to_string(i % 128));
        break;
    }
  }
  lines.push_back("END");
  return lines;
}

struct Measure {
  bool Ok = false;
  double Seconds = 0;
  std::size_t Characters = 0;
  std::size_t Requests = 0;
};

class Bench {
 public:
  bool Start(std::uint32_t paceBaud) {
    simulator::TSimulatorOptions options;
    options.Server.PaceBaud = paceBaud;
    std::string error;
    sim_ = simulator::TSimulator::Create(options, error);
    if (!sim_ || !sim_->StartOnPty()) return false;
    session_ = std::make_unique<link::TConnectionSession>(port_, ui_, events_, link::LinkTimings{});
    transfer_ = std::make_unique<link::TProgramTransfer>(*session_);
    if (!session_->Connect(sim_->SlavePath(), 1).Opened) return false;
    ui_.RunFor(std::chrono::seconds(30),
               [&] { return !session_->Modbus().Identifying() && !session_->Modbus().Busy(); });
    ui_.RunPending();  // what the identification posted last
    return session_->Connected();
  }

  ~Bench() {
    transfer_.reset();
    session_.reset();
    port_.Close();
  }

  Measure Upload(std::vector<std::string> program) {
    events_.Reset();
    const std::size_t seen = events_.ended.size();
    const auto start = Clock::now();
    Measure measure;
    if (!transfer_->Upload(program, link::TProgramKind::Main, false)) return measure;
    const auto ended = [&]() -> const link::TListOutcome* {
      for (std::size_t i = seen; i < events_.ended.size(); ++i) {
        if (events_.ended[i].Label == link::texts::kLabelUpload) return &events_.ended[i];
      }
      return nullptr;
    };
    ui_.RunFor(std::chrono::minutes(5), [&] { return ended() != nullptr; });
    measure.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    measure.Ok = ended() != nullptr && ended()->ReachedEnd && !ended()->Failed;
    measure.Characters = events_.characters;
    measure.Requests = events_.requests;
    return measure;
  }

  Measure Download(std::size_t expectedLines) {
    events_.Reset();
    const auto start = Clock::now();
    Measure measure;
    if (!transfer_->StartDownload(link::TProgramKind::Main, true)) return measure;
    ui_.RunFor(std::chrono::minutes(5), [&] { return !transfer_->Reading(); });
    measure.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const link::TDownloadResult result = transfer_->LastDownload();
    measure.Ok = result.Succeeded() && static_cast<std::size_t>(result.Decoded) == expectedLines;
    measure.Characters = events_.characters;
    measure.Requests = events_.requests;
    return measure;
  }

 private:
  link::THeadlessDispatcher ui_;
  CountingEvents events_;
  std::unique_ptr<simulator::TSimulator> sim_;
  link::TPosixSerialPort port_;
  std::unique_ptr<link::TConnectionSession> session_;
  std::unique_ptr<link::TProgramTransfer> transfer_;
};

void ReportPaced(const char* what, const Measure& m) {
  const double line = static_cast<double>(m.Characters) * kBitsPerCharacter / kBaud;
  std::printf(
      "%-9s paced 115200: %s  measured %.3f s  line time %.3f s (%zu characters, %zu "
      "requests)  ratio %.3f\n",
      what, m.Ok ? "ok    " : "FAILED", m.Seconds, line, m.Characters, m.Requests,
      line > 0 ? m.Seconds / line : 0.0);
}

void ReportUnpaced(const char* what, const Measure& m) {
  std::printf("%-9s unpaced:      %s  %.3f s  %zu requests  %.0f requests/s\n", what,
              m.Ok ? "ok    " : "FAILED", m.Seconds, m.Requests,
              m.Seconds > 0 ? static_cast<double>(m.Requests) / m.Seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  const int instructions = argc > 1 ? std::atoi(argv[1]) : kDefaultInstructions;
  if (instructions < 1) {
    std::fprintf(stderr, "usage: link_transfer_bench [INSTRUCTIONS]\n");
    return 2;
  }
  const std::vector<std::string> program = GeneratedProgram(instructions);
  bool ok = true;
  {
    Bench paced;
    if (!paced.Start(115200)) {
      std::fprintf(stderr, "link_transfer_bench: the simulator did not start\n");
      return 1;
    }
    const Measure up = paced.Upload(program);
    const Measure down = paced.Download(program.size());
    ReportPaced("upload", up);
    ReportPaced("download", down);
    ok = ok && up.Ok && down.Ok;
  }
  {
    Bench unpaced;
    if (!unpaced.Start(0)) return 1;
    const Measure up = unpaced.Upload(program);
    const Measure down = unpaced.Download(program.size());
    ReportUnpaced("upload", up);
    ReportUnpaced("download", down);
    ok = ok && up.Ok && down.Ok;
  }
  return ok ? 0 : 1;
}
