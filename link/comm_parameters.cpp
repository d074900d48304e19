#include "link/comm_parameters.h"

#include <algorithm>
#include <string_view>

#include "link/connection_session.h"
#include "link/link_texts.h"
#include "link/register_map.h"

namespace quarn::link {
namespace {

// The controller's parity codes by TCommParity: 2 even, 1 odd, 0 none with two stop bits.
constexpr std::array<std::int32_t, 3> kParityCodes = {2, 1, 0};

// The settings registers in the order they are read.
constexpr std::array<std::string_view, 4> kReadNames = {"GET_ASCII_RTU", "GET_BAUDRATE",
                                                        "GET_PARITY", "GET_ID"};

bool AllFound(const TDC_Records_Array& records) {
  return std::all_of(records.begin(), records.end(),
                     [](const TDC_Record& record) { return record.Valid != 0; });
}

bool Answers(const TAcceptedAnswer& answer, std::string_view name) {
  const TDC_Record record = FindParameterRecord(name);
  return record.Valid != 0 && record.Function == answer.Function &&
         record.Address == answer.Address;
}

TDC_Record WithValue(std::string_view name, std::int32_t value) {
  TDC_Record record = FindParameterRecord(name);
  record.Value = value;
  return record;
}

}  // namespace

// ---- The session's link

bool TSessionCommLink::Connected() const { return session_.Connected(); }

bool TSessionCommLink::SendReads(const TDC_Records_Array& records) {
  return session_.Modbus().SendNamedReads(session_.DeviceId(),
                                          std::string(texts::kLabelSendReadCommand), records);
}

bool TSessionCommLink::SendWrites(const TDC_Records_Array& records) {
  return session_.Modbus().SendDirectCommand(session_.DeviceId(), records, false,
                                             TRequiredState::Stop, true);
}

void TSessionCommLink::ShowMessage(const std::string& text) { session_.Events().MessageBox(text); }

// ---- The dialog's rules

void TCommParameters::SetBaudIndex(int index) {
  baud_index_ = index >= 0 && index < static_cast<int>(kCommBaudRates.size()) ? index : -1;
}

void TCommParameters::SetId(int id) { id_ = std::clamp(id, kMinCommId, kMaxCommId); }

TDC_Records_Array TCommParameters::ReadRecords() {
  TDC_Records_Array records;
  for (std::string_view name : kReadNames) records.push_back(FindParameterRecord(name));
  if (!AllFound(records)) records.clear();
  return records;
}

TDC_Records_Array TCommParameters::ApplyRecords() const {
  const int baud = baud_index_ >= 0 ? baud_index_ : kDefaultCommBaudIndex;
  TDC_Records_Array records = {
      // The two protocol rows carry their coil value (0 ASCII, 1 RTU) in the table.
      FindParameterRecord(protocol_ == TCommProtocol::Rtu ? "SET_RTU" : "SET_ASCII"),
      WithValue("SET_BAUDRATE", kCommBaudRates[static_cast<std::size_t>(baud)]),
      WithValue("SET_PARITY", kParityCodes[static_cast<std::size_t>(parity_)]),
      WithValue("SET_ID", id_),
  };
  if (!AllFound(records)) records.clear();
  return records;
}

bool TCommParameters::Opened(TCommParametersLink& link) { return link.Connected() && Read(link); }

bool TCommParameters::ReadSettings(TCommParametersLink& link) {
  if (!link.Connected()) {
    link.ShowMessage(std::string(texts::kNoConnection));
    return false;
  }
  return Read(link);
}

bool TCommParameters::Read(TCommParametersLink& link) {
  const TDC_Records_Array records = ReadRecords();
  return !records.empty() && link.SendReads(records);
}

bool TCommParameters::ApplySettings(TCommParametersLink& link) {
  if (!link.Connected()) {
    link.ShowMessage(std::string(texts::kNoConnection));
    return false;
  }
  if (baud_index_ < 0) baud_index_ = kDefaultCommBaudIndex;
  const TDC_Records_Array records = ApplyRecords();
  return !records.empty() && link.SendWrites(records);
}

bool TCommParameters::TakeAnswer(const TAcceptedAnswer& answer) {
  const auto before = std::tuple(protocol_, parity_, baud_index_, id_);
  const std::int32_t value = answer.Value;
  if (Answers(answer, "GET_ASCII_RTU")) {
    protocol_ = (value & 1) != 0 ? TCommProtocol::Rtu : TCommProtocol::Ascii;
  } else if (Answers(answer, "GET_BAUDRATE")) {
    const auto* found = std::find(kCommBaudRates.begin(), kCommBaudRates.end(), value);
    if (found != kCommBaudRates.end())
      baud_index_ = static_cast<int>(found - kCommBaudRates.begin());
  } else if (Answers(answer, "GET_PARITY")) {
    const auto* found = std::find(kParityCodes.begin(), kParityCodes.end(), value);
    if (found != kParityCodes.end()) {
      parity_ = static_cast<TCommParity>(found - kParityCodes.begin());
    }
  } else if (Answers(answer, "GET_ID")) {
    SetId(value);
  }
  return before != std::tuple(protocol_, parity_, baud_index_, id_);
}

}  // namespace quarn::link
