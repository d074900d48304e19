// The request lists the link builds itself: the identification reads, reads of named registers
// and the direct commands.
#pragma once

#include <optional>

#include "link/device_description.h"
#include "link/register_request.h"

namespace quarn::link {

// A request built from its parts (no register table involved).
TRWmbrReg PlainRequest(std::uint8_t function, std::uint16_t address, std::uint16_t count,
                       TBytesArray data = {}, std::string name = {});

// GET_BOOTLOADER, GET_FW, GET_HW: the versions every model answers at the same addresses, so
// that a controller is identified whatever model is selected.
TRegistersArray VersionInfoList();
// GET_CMD_LIST_VERSION, GET_OPERAND_LIST_VERSION, GET_REGMAP_VERSION.
TRegistersArray MapsInfoList();

// One read per record; nullopt when a record is not a read (functions 1 to 4).
std::optional<TRegistersArray> NamedReadsList(const TDC_Records_Array& records);

// A read of GET_RUN_STOP (which must show RUN when `requireRun`, else STOP, if `checkRunStop`),
// then a write of each record's value, each followed by a read of the same registers when
// `readBack`. nullopt when a record is not a write of one or two registers, or EncodeWrite
// refuses its value.
std::optional<TRegistersArray> DirectCommandList(const TDC_Records_Array& records,
                                                 bool checkRunStop, bool requireRun, bool readBack);

}  // namespace quarn::link
