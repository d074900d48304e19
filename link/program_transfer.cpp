#include "link/program_transfer.h"

#include <algorithm>
#include <span>

#include "link/current_description.h"
#include "link/link_texts.h"
#include "link/modbus_functions.h"
#include "link/register_map.h"
#include "link/request_lists.h"
#include "program_model/il_parser.h"

namespace quarn::link {
namespace {

using Clock = std::chrono::steady_clock;

// Registers of program writing. The erase coil has no name in the register table.
constexpr std::uint16_t kRunStop = 0xF001;
constexpr std::uint16_t kReadWriteProgram = 0xF005;
constexpr std::uint16_t kMainServiceProgram = 0xF006;
constexpr std::uint16_t kRomState = 0xF000;
constexpr std::uint16_t kEraseProgram = 0xF003;
constexpr std::uint16_t kFirstErrorFlag = 0xE000;
constexpr std::uint16_t kLineNumber = 0xF100;
constexpr std::uint16_t kLineWords = 0xF300;
constexpr std::uint16_t kStoreLine = 0xF000;
constexpr std::uint16_t kProtectMain = 0xF001;
constexpr std::uint16_t kProtectService = 0xF002;
// More code lines than this make the program too long.
constexpr int kMaxCodeLine = 59753;

// Option values the models share.
constexpr int kStop = 0;
constexpr int kReadMode = 0;
constexpr int kReadable = 1;
constexpr int kRomReady = 0;
constexpr int kPacketStart = 1;
constexpr int kRunState = 1;
constexpr int kMaxBlockRead = 123;

// A write of one coil or register. A value EncodeWrite refuses leaves the request without data,
// and such a single write is never sent.
TRWmbrReg SingleWrite(std::uint8_t function, std::uint16_t address, std::int64_t value) {
  TBytesArray data;
  EncodeWrite(function, 1, value, data);
  return PlainRequest(function, address, 1, std::move(data));
}

TRWmbrReg Coil(std::uint16_t address, bool on) {
  return SingleWrite(kWriteSingleCoil, address, on);
}

TRWmbrReg Register(std::uint16_t address, int value) {
  return SingleWrite(kWriteSingleRegister, address, value);
}

// A read of one flag that must come back as `expected`; with `repeat` it is asked again until
// it does.
TRWmbrReg Flag(std::uint16_t address, std::uint8_t expected, bool repeat) {
  TRWmbrReg request = PlainRequest(kReadInputs, address, 1);
  request.WaitForValue = true;
  request.ExpectedValue = expected;
  request.RepeatUntilEqual = repeat;
  return request;
}

void AppendLine(TRegistersArray& list, int j, const program_model::InstructionImage& image) {
  list.push_back(Register(kLineNumber, j));
  TRWmbrReg words = PlainRequest(kWriteMultipleRegisters, kLineWords, program_model::kImageWords,
                                 TBytesArray(image.begin(), image.end()));
  words.ProgressWeight = 1;
  list.push_back(std::move(words));
  list.push_back(Coil(kStoreLine, true));
  list.push_back(Flag(kRomState, kRomReady, true));
  list.push_back(Flag(kFirstErrorFlag, 0, false));
}

// A named register of the selected model, for the download's lists.
bool Add(TRegistersArray& list, std::string_view name, std::int64_t value = 0,
         bool waitForValue = false, std::uint8_t expected = 0, bool repeat = false) {
  TRWmbrReg request;
  if (!MakeRegisterRequest(request, name, false, 0, expected, repeat, waitForValue, value)) {
    return false;
  }
  list.push_back(std::move(request));
  return true;
}

std::optional<TRegistersArray> Part1List(TProgramKind kind) {
  TRegistersArray list;
  const bool built =
      Add(list, "GET_RUN_STOP", 0, true, kStop) && Add(list, "SET_READ_WRITE_PROG", kReadMode) &&
      Add(list,
          kind == TProgramKind::Main ? "GET_MAINPROG_PROTECTION" : "GET_SERVICEPROG_PROTECTION", 0,
          true, kReadable) &&
      Add(list, "SET_MAIN_SERVICE_PROG", static_cast<int>(kind)) &&
      Add(list, "GET_ROM_STATE", 0, true, kRomReady, true);
  if (!built) return std::nullopt;
  return list;
}

std::optional<TRegistersArray> PacketList(int line, int maxReadRegisters) {
  TRegistersArray list;
  const bool built = Add(list, "GET_ROM_STATE", 0, true, kRomReady, true) &&
                     Add(list, "WRITE_PROG_LINE_NUMBER", line) &&
                     Add(list, "WRITE_PROG_LINES_QTY", TFastReadingProcess::kPacketLines) &&
                     Add(list, "START_PACKET_RW_PROG", kPacketStart) &&
                     Add(list, "GET_ROM_STATE", 0, true, kRomReady, true) &&
                     Add(list, "READ_PROG_LINES_QTY");
  const TDC_Record first = FindParameterRecord("GET_RW_SECTOR");
  const TDC_Record last = FindParameterRecord("LAST_ADDRESS_FOR_RW_SECTOR");
  if (!built || first.Valid == 0 || last.Valid == 0 || last.Address < first.Address) {
    return std::nullopt;
  }
  // A block size of 0 would never get through the sector.
  const int block = std::clamp(maxReadRegisters, 1, kMaxBlockRead);
  for (int address = first.Address; address <= last.Address; address += block) {
    const int count = std::min(block, last.Address - address + 1);
    list.push_back(PlainRequest(first.Function, static_cast<std::uint16_t>(address),
                                static_cast<std::uint16_t>(count)));
  }
  return list;
}

}  // namespace

TUploadList BuildUploadList(const std::vector<std::string>& lines, TProgramKind kind,
                            bool protect) {
  TUploadList upload;
  TRegistersArray& list = upload.List;
  list.push_back(Flag(kRunStop, kStop, false));
  list.push_back(Coil(kReadWriteProgram, true));
  list.push_back(Coil(kMainServiceProgram, kind == TProgramKind::Service));
  list.push_back(Flag(kRomState, kRomReady, true));
  list.push_back(Coil(kEraseProgram, true));
  list.push_back(Flag(kRomState, kRomReady, true));
  list.push_back(Flag(kFirstErrorFlag, 0, false));
  int j = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = program_model::InstructionLine(lines[i]);
    if (line.empty()) continue;
    const std::string_view code = program_model::CommandText(line);
    const program_model::ParseResult parsed = program_model::ParseIlLine(code);
    // Every code other than 0 refuses the line: also 7, an instruction without operands that
    // is followed by text ("END now"), which would otherwise drop out of the program unseen.
    if (parsed.Code != program_model::IlValid) {
      const std::string prefix = program_model::WrongLinePrefix(parsed.Code);
      if (!prefix.empty()) upload.Replacement = prefix + lines[i];
      upload.WrongLine = static_cast<int>(i);
      upload.Message = std::string(texts::kWrongCommandInList) + "\"" + std::string(code) + "\"" +
                       std::string(texts::kWrongCommandLine) + std::to_string(i);
      upload.List.clear();
      return upload;
    }
    if (j > kMaxCodeLine) {
      upload.Message = texts::kTooLongProgram;
      upload.List.clear();
      return upload;
    }
    AppendLine(list, j++, parsed.Image);
  }
  if (protect) {
    list.push_back(Coil(kind == TProgramKind::Main ? kProtectMain : kProtectService, false));
  }
  upload.Ok = true;
  return upload;
}

TProgramTransfer::TProgramTransfer(TConnectionSession& session) : session_(session) {
  session_.SetDisconnectListener([this] { StopReading(); });
}

TProgramTransfer::~TProgramTransfer() {
  session_.SetDisconnectListener(nullptr);
  if (reading_) {
    StopReading();
    session_.Modbus().AbortRunning();
  }
  if (reader_.joinable()) reader_.join();
}

// ---- Upload

bool TProgramTransfer::Upload(std::vector<std::string>& lines, TProgramKind kind, bool protect) {
  if (lines.empty()) return false;
  TLinkEvents& events = session_.Events();
  const TUploadList upload = BuildUploadList(lines, kind, protect);
  if (!upload.Ok) {
    if (!upload.Replacement.empty()) {
      lines[static_cast<std::size_t>(upload.WrongLine)] = upload.Replacement;
      events.EditorLineReplaced(upload.WrongLine, upload.Replacement);
    }
    events.MessageBox(upload.Message);
    return false;
  }
  return session_.Modbus().SendRequests(true, session_.DeviceId(), std::string(texts::kLabelUpload),
                                        upload.List);
}

// ---- Download

bool TProgramTransfer::StartDownload(TProgramKind kind, bool listEmpty) {
  if (reading_) return false;
  TLinkEvents& events = session_.Events();
  if (!listEmpty && !events.AskYesCancel(std::string(texts::kClearListQuestion))) {
    events.MessageBox(std::string(texts::kListNotEmpty));
    return false;
  }
  if (!session_.FirmwareSupportsReading()) {
    events.MessageBox(std::string(texts::kReadingNotSupported));
    return false;
  }
  if (reader_.joinable()) reader_.join();
  stop_ = false;
  reading_ = true;
  reader_ = std::thread(&TProgramTransfer::ReadProgram, this, kind, session_.DeviceId());
  return true;
}

void TProgramTransfer::StopReading() { stop_ = true; }

TDownloadResult TProgramTransfer::LastDownload() const {
  std::lock_guard lock(mutex_);
  return last_;
}

void TProgramTransfer::ReadProgram(TProgramKind kind, std::uint8_t deviceId) {
  TDownloadResult result;
  try {
    TFastReadingProcess& collector = session_.Collector();
    collector.Reset(kind);
    collector.SetActive(true);
    session_.Relay().Post([](TLinkEvents& events) { events.ReadingPanel(true); });
    if (ReadPart1(kind, deviceId, result)) ReadPackets(kind, deviceId, result);
  } catch (...) {
    // Nothing below throws on purpose; if anything does, the user learns it and the list
    // still gets what was read.
    session_.Relay().Post(
        [](TLinkEvents& events) { events.MessageBox(std::string(texts::kReadThreadError)); });
  }
  Finish(std::move(result));
}

bool TProgramTransfer::RunList(std::uint8_t deviceId, const std::string& label,
                               const TRegistersArray& list, TListOutcome& outcome) {
  TModBus& modbus = session_.Modbus();
  const TDerivedTimes times = modbus.Times();
  modbus.WaitIdle(times.PacketSenderWait);
  if (Stopping()) return false;
  const std::uint64_t id = modbus.SendCommandList(deviceId, label, list);
  if (id == 0) return false;
  const auto limit = times.PacketWorkerWait * static_cast<std::int64_t>(list.size());
  return modbus.WaitForList(id, limit, outcome) && !Stopping();
}

void TProgramTransfer::StepMessage(TDownloadResult& result, std::string_view text) {
  result.Message = text;
  if (!session_.Timings().WriteLog) return;
  session_.Relay().Post([line = std::string(text)](TLinkEvents& events) {
    events.TransferLogLine(TTransferLogCode::Error, line);
  });
}

bool TProgramTransfer::ReadPart1(TProgramKind kind, std::uint8_t deviceId,
                                 TDownloadResult& result) {
  const std::optional<TRegistersArray> list = Part1List(kind);
  TListOutcome outcome;
  if (!list || !RunList(deviceId, std::string(texts::kLabelReadPart1), *list, outcome)) {
    if (!Stopping()) StepMessage(result, texts::kReadTimeout);
    return false;
  }
  const int protection = session_.Collector().Protection();
  if (session_.State().RunStop == kRunState) {
    StepMessage(result, texts::kReadInRun);
  } else if (protection == TFastReadingProcess::kProtectionUnknown) {
    StepMessage(result, texts::kProtectionUnknown);
  } else if (protection == 0) {
    StepMessage(result, texts::kProgramProtected);
    result.Kind = TReadResult::Protected;
  } else if (!outcome.ReachedEnd) {
    // The controller did not take the reading mode (the link failed on the way).
    StepMessage(result, texts::kReadFailed);
    result.Kind = TReadResult::Failed;
  } else {
    return true;
  }
  return false;
}

bool TProgramTransfer::ReadPackets(TProgramKind kind, std::uint8_t deviceId,
                                   TDownloadResult& result) {
  const TDeviceDescription& model = CurrentDescription();
  const int highest = kind == TProgramKind::Main ? model.HighestMainLine : model.HighestServiceLine;
  const std::size_t stored_bytes = 2U * model.StoredWords;
  TFastReadingProcess& collector = session_.Collector();
  for (int line = 0; !Stopping();) {
    const std::optional<TRegistersArray> list =
        PacketList(line, session_.Timings().MaxReadRegisters);
    TListOutcome outcome;
    if (!list || !RunList(deviceId, std::string(texts::kLabelReadPart2), *list, outcome)) {
      if (!Stopping()) StepMessage(result, texts::kReadTimeout2);
      return false;
    }
    const TBytesArray buffer = collector.Buffer();
    // A packet list that ended early read only part of the sector, if anything: its bytes are
    // not the packet's.
    if (buffer.empty() || !outcome.ReachedEnd) {
      StepMessage(result, texts::kReadFailed);
      result.Kind = TReadResult::Failed;
      return false;
    }
    const int lines = collector.LinesInPacket();
    result.Reported += lines;
    for (int i = 0; i < lines; ++i) {
      const std::size_t offset = static_cast<std::size_t>(i) * stored_bytes;
      if (stored_bytes == 0 || offset + stored_bytes > buffer.size()) break;
      const program_model::DecodeResult decoded =
          model.ProgramDecoder(std::span(buffer).subspan(offset, stored_bytes));
      if (!decoded.Success) {
        StepMessage(result, texts::kReadNotConvertible);
        result.Kind = TReadResult::WrongCommand;
        return false;
      }
      result.Lines.push_back(decoded.Decoded.Text);
      const int count = ++result.Decoded;
      session_.Relay().Post([count](TLinkEvents& events) { events.CommandsRead(count); });
      if (decoded.EndReached) {
        result.Kind = TReadResult::Complete;
        return true;
      }
    }
    line += TFastReadingProcess::kPacketLines;
    if (line >= highest) {
      StepMessage(result, texts::kReadNoEnd);
      result.Kind = TReadResult::NoEnd;
      return false;
    }
  }
  return false;
}

// The IL list after a download: what was decoded, with the comment lines that say how the
// reading ended.
void TProgramTransfer::Finish(TDownloadResult result) {
  TFastReadingProcess& collector = session_.Collector();
  result.AnySectorData = collector.AnySectorData();
  collector.SetActive(false);
  std::vector<std::string> lines;
  if (!result.AnySectorData) {
    lines.emplace_back(texts::kUnableToRead);
    lines.emplace_back(texts::kNotReadCompletely);
  }
  lines.insert(lines.end(), result.Lines.begin(), result.Lines.end());
  const auto total = [](int n) { return std::string(texts::kTotally) + std::to_string(n); };
  switch (result.Kind) {
    case TReadResult::Complete:
      lines.push_back(
          total(result.Reported) +
          std::string(result.Reported == 1 ? texts::kCommandWas : texts::kCommandsWere) +
          std::string(texts::kReadFromController));
      if (result.Decoded != result.Reported) {
        lines.push_back(total(result.Decoded) + std::string(texts::kSuccessfullyConverted));
        lines.emplace_back(texts::kQuantitiesDiffer);
        lines.emplace_back(texts::kTryAgain);
        if (debugging_) lines.emplace_back(texts::kDebuggingImpossible);
      }
      break;
    case TReadResult::NoEnd:
      lines.emplace_back(texts::kResultNoEnd);
      break;
    case TReadResult::WrongCommand:
      lines.emplace_back(texts::kResultWrongCommand);
      break;
    case TReadResult::Protected:
      lines.emplace_back(texts::kResultProtected);
      break;
    case TReadResult::Failed:
      lines.emplace_back(texts::kResultFailedComment);
      break;
    case TReadResult::None:
      break;
  }
  result.Lines = lines;
  {
    std::lock_guard lock(mutex_);
    last_ = std::move(result);
  }
  reading_ = false;
  // Posted last, so that whoever waits on the UI thread for the end is woken after it.
  session_.Relay().Post([lines](TLinkEvents& events) {
    events.ProgramRead(lines);
    events.ReadingPanel(false);
  });
}

}  // namespace quarn::link
