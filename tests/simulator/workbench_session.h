// Plays the workbench's side against a controller in-process: requests built from register
// names with the workbench's MakeRegisterRequest, framed, served by the slave and checked by the
// workbench's answer check, as the upload and the download send them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/modbus_exchange.h"
#include "link/modbus_framing.h"
#include "link/register_map.h"
#include "program_model/il_parser.h"
#include "program_model/program_code.h"
#include "simulator/controller.h"
#include "simulator/modbus_slave.h"
#include "simulator/slave_framing.h"

namespace quarn::simulator::testing {

class WorkbenchSession {
 public:
  explicit WorkbenchSession(TController& controller)
      : controller_(controller), slave_(controller, controller.Config().DeviceId) {}

  struct Outcome {
    bool Accepted = false;
    std::int32_t Value = 0;
    link::TReqResArray Bytes;  // the decoded answer
  };

  Outcome Send(const link::TRWmbrReg& request) {
    link::TModbusExchange exchange;
    exchange.Record().DeviceId = controller_.Config().DeviceId;
    exchange.Record().CurrentRegister = request.Address;
    const link::TStrToPort frame =
        link::FrameAscii(exchange.BuildRequestPdu(request, controller_.Config().DeviceId));
    Outcome outcome;
    if (!exchange.PrepareExpectation(frame)) return outcome;
    std::vector<TParsedFrame> frames;
    parser_.Feed(frame, frames);
    if (frames.size() != 1) return outcome;
    const std::optional<link::TReqResArray> answer = slave_.Serve(frames[0].Pdu);
    if (!answer) return outcome;
    const link::TCheckOutcome check = exchange.CheckResponse(FrameAnswer(*answer));
    outcome.Accepted = check.AnswerAccepted;
    outcome.Value = exchange.Record().LastValue;
    outcome.Bytes = *answer;
    return outcome;
  }

  // A named register of the controller's model, read or written.
  Outcome Named(std::string_view name, std::int64_t value = 0) {
    link::TRWmbrReg request;
    if (!link::MakeRegisterRequest(request, name, false, controller_.Description(), 0, 0, false,
                                   false, value)) {
      return {};
    }
    return Send(request);
  }

  // Registers the table lacks, as the upload writes them.
  Outcome Raw(std::uint8_t function, std::uint16_t address, std::uint16_t count,
              link::TBytesArray data = {}) {
    link::TRWmbrReg request;
    request.Function = function;
    request.Address = address;
    request.Count = count;
    request.Data = std::move(data);
    return Send(request);
  }

  // True when the request was answered and its value is `expected`.
  static bool Is(const Outcome& outcome, std::int32_t expected) {
    return outcome.Accepted && outcome.Value == expected;
  }

  // The upload's command list. Returns "" when every step was answered as the upload expects,
  // else a description of the first step that was not.
  std::string Upload(const std::vector<std::string>& lines, TProgramSlot slot, bool protect) {
    const int kind = slot == TProgramSlot::Main ? 0 : 1;
    if (!Is(Named("GET_RUN_STOP"), 0)) return "run/stop";
    if (!Named("SET_READ_WRITE_PROG", 1).Accepted) return "write mode";
    if (!Named("SET_MAIN_SERVICE_PROG", kind).Accepted) return "slot";
    if (!Is(Named("GET_ROM_STATE"), 0)) return "rom state";
    if (!Raw(5, 0xF003, 1, {0, 1}).Accepted) return "erase";
    if (!Is(Named("GET_ROM_STATE"), 0)) return "rom state after erase";
    if (!Is(Raw(2, 0xE000, 1), 0)) return "errors after erase";
    int j = 0;
    for (const std::string& line : lines) {
      const program_model::ParseResult parsed = program_model::ParseIlLine(line);
      if (parsed.Code != program_model::IlValid) return "parse " + line;
      if (!Named("WRITE_PROG_LINE_NUMBER", j).Accepted) return "line number " + line;
      if (!Raw(16, 0xF300, program_model::kImageWords,
               link::TBytesArray(parsed.Image.begin(), parsed.Image.end()))
               .Accepted) {
        return "image " + line;
      }
      if (!Raw(5, 0xF000, 1, {0, 1}).Accepted) return "store " + line;
      if (!Is(Named("GET_ROM_STATE"), 0)) return "rom state after " + line;
      if (!Is(Raw(2, 0xE000, 1), 0)) return "errors after " + line;
      ++j;
    }
    if (protect && !Raw(5, slot == TProgramSlot::Main ? 0xF001 : 0xF002, 1, {0, 0}).Accepted) {
      return "protect";
    }
    return {};
  }

  struct Download {
    std::string Failure;  // empty when the program was read to its END
    std::vector<std::string> Lines;
    std::vector<int> PacketLines;  // READ_PROG_LINES_QTY of each packet
  };

  Download ReadBack(TProgramSlot slot) {
    const int kind = slot == TProgramSlot::Main ? 0 : 1;
    Download result;
    if (!Is(Named("GET_RUN_STOP"), 0)) return {"run/stop", {}, {}};
    if (!Named("SET_READ_WRITE_PROG", 0).Accepted) return {"read mode", {}, {}};
    const char* protection =
        slot == TProgramSlot::Main ? "GET_MAINPROG_PROTECTION" : "GET_SERVICEPROG_PROTECTION";
    if (!Is(Named(protection), 1)) return {"protected", {}, {}};
    if (!Named("SET_MAIN_SERVICE_PROG", kind).Accepted) return {"slot", {}, {}};
    const int highest = slot == TProgramSlot::Main ? controller_.Description().HighestMainLine
                                                   : controller_.Description().HighestServiceLine;
    for (int line = 0; line < highest; line += 15) {
      if (!Is(Named("GET_ROM_STATE"), 0)) return {"rom state", {}, {}};
      if (!Named("WRITE_PROG_LINE_NUMBER", line).Accepted) return {"line number", {}, {}};
      if (!Named("WRITE_PROG_LINES_QTY", 15).Accepted) return {"quantity", {}, {}};
      if (!Named("START_PACKET_RW_PROG", 1).Accepted) return {"packet start", {}, {}};
      const Outcome count = Named("READ_PROG_LINES_QTY");
      if (!count.Accepted) return {"line count", {}, {}};
      result.PacketLines.push_back(count.Value);
      link::TBytesArray sector;
      for (const auto& [first, registers] :
           {std::pair{0xF401, 123}, {0xF401 + 123, 123}, {0xF401 + 246, 9}}) {
        const Outcome piece =
            Raw(3, static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(registers));
        if (!piece.Accepted) return {"sector", {}, {}};
        sector.insert(sector.end(), piece.Bytes.begin() + 3, piece.Bytes.end());
      }
      for (int i = 0; i < count.Value; ++i) {
        const program_model::DecodeResult decoded = program_model::DecodeProgramWords(
            std::span<const std::uint8_t>(sector).subspan(static_cast<std::size_t>(i) * 34, 34));
        if (!decoded.Success) return {"decode", result.Lines, result.PacketLines};
        result.Lines.push_back(decoded.Decoded.Text);
        if (decoded.EndReached) return result;
      }
    }
    result.Failure = "no END";
    return result;
  }

 private:
  TController& controller_;
  TModbusSlave slave_;
  TRequestFrameParser parser_;
};

}  // namespace quarn::simulator::testing
