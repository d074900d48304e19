#include "link/request_lists.h"

#include "link/modbus_functions.h"
#include "link/register_map.h"

namespace quarn::link {
namespace {

struct TFixedRead {
  const char* Name;
  std::uint16_t Address;
  std::uint16_t Count;
};

constexpr TFixedRead kVersionReads[] = {
    {"GET_BOOTLOADER", 0x8005, 2}, {"GET_FW", 0x8003, 2}, {"GET_HW", 0x8001, 2}};
constexpr TFixedRead kMapsReads[] = {{"GET_CMD_LIST_VERSION", 0x8009, 1},
                                     {"GET_OPERAND_LIST_VERSION", 0x800A, 1},
                                     {"GET_REGMAP_VERSION", 0x8007, 2}};

TRWmbrReg Read(std::uint8_t function, std::uint16_t address, std::uint16_t count,
               std::string name) {
  return PlainRequest(function, address, count, {}, std::move(name));
}

template <std::size_t N>
TRegistersArray InputRegisterReads(const TFixedRead (&reads)[N]) {
  TRegistersArray list;
  for (const TFixedRead& read : reads) {
    list.push_back(Read(kReadInputRegisters, read.Address, read.Count, read.Name));
  }
  return list;
}

// The register a write is read back from.
std::uint8_t ReadBackFunction(std::uint8_t write) {
  return write == kWriteSingleRegister || write == kWriteMultipleRegisters ? kReadHoldingRegisters
                                                                           : kReadCoils;
}

}  // namespace

TRWmbrReg PlainRequest(std::uint8_t function, std::uint16_t address, std::uint16_t count,
                       TBytesArray data, std::string name) {
  TRWmbrReg request;
  request.Function = function;
  request.Address = address;
  request.Count = count;
  request.Data = std::move(data);
  request.Name = std::move(name);
  return request;
}

TRegistersArray VersionInfoList() { return InputRegisterReads(kVersionReads); }

TRegistersArray MapsInfoList() { return InputRegisterReads(kMapsReads); }

std::optional<TRegistersArray> NamedReadsList(const TDC_Records_Array& records) {
  TRegistersArray list;
  for (const TDC_Record& record : records) {
    if (!IsReadFunction(record.Function)) return std::nullopt;
    list.push_back(Read(record.Function, record.Address, static_cast<std::uint16_t>(record.Count),
                        record.Name));
  }
  return list;
}

std::optional<TRegistersArray> DirectCommandList(const TDC_Records_Array& records,
                                                 bool checkRunStop, bool requireRun,
                                                 bool readBack) {
  TRegistersArray list;
  TRWmbrReg run_stop = Read(kReadInputs, 0xF001, 1, "GET_RUN_STOP");
  run_stop.WaitForValue = checkRunStop;
  run_stop.ExpectedValue = requireRun ? 1 : 0;
  list.push_back(run_stop);
  for (const TDC_Record& record : records) {
    if (!IsWriteFunction(record.Function) || record.Count < 1 || record.Count > 2) {
      return std::nullopt;
    }
    const auto count = static_cast<std::uint16_t>(record.Count);
    TRWmbrReg write;
    write.Function = record.Function;
    write.Address = record.Address;
    write.Count = count;
    write.Name = record.Name;
    if (!EncodeWrite(record.Function, count, record.Value, write.Data)) return std::nullopt;
    write.ProgressWeight = 1;
    list.push_back(write);
    if (readBack) {
      list.push_back(Read(ReadBackFunction(record.Function), record.Address, count, record.Name));
    }
  }
  return list;
}

}  // namespace quarn::link
