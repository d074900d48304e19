#include "simulator/controller.h"

#include <algorithm>

#include "link/device_models.h"
#include "link/register_map.h"
#include "program_model/il_parser.h"
#include "simulator/simulator_texts.h"

namespace quarn::simulator {
namespace {

constexpr int kInputCount = 8;

std::uint32_t Key(TTable table, std::uint16_t address) {
  return (static_cast<std::uint32_t>(table) << 16) | address;
}

std::uint16_t Half(std::uint32_t value, std::uint16_t offset) {
  return static_cast<std::uint16_t>(offset == 0 ? value & 0xFFFFU : value >> 16);
}

// Versions travel with the major number in the low half and the minor in the high half.
std::uint32_t Version(std::uint16_t major, std::uint16_t minor) {
  return (std::uint32_t{minor} << 16) | major;
}

// The names the controller can be built as, for the message that refuses another.
std::string ModelChoice() {
  std::string names;
  for (const link::TDeviceDescription& model : link::ModelList()) {
    names += std::string(names.empty() ? "" : ", ") + '"' + model.ModelName + '"';
  }
  return std::string(texts::kModelChoice) + names + std::string(texts::kModelChoiceEnd);
}

}  // namespace

std::unique_ptr<TController> TController::Create(const TControllerConfig& config,
                                                 std::string& error) {
  const link::TDeviceDescription* model = link::FindModelByName(config.Model);
  if (model == nullptr) {
    error = std::string(texts::kUnknownModel) + config.Model + ModelChoice();
    return nullptr;
  }
  return std::unique_ptr<TController>(new TController(config, *model));
}

TController::TController(const TControllerConfig& config,
                         const link::TDeviceDescription& description)
    : config_(config),
      description_(description),
      memory_({description.HighestMainLine, description.HighestServiceLine, description.PacketLines,
               description.StoredWords, description.EndApiNumber},
              config.RomBusyTime),
      running_(config.Running) {
  bank_.AddFields(description_.Fields);
  for (const TRoleRow& row : ControllerRoleRows()) Bind(row);
  SetDefaults();
}

void TController::Bind(const TRoleRow& row) {
  TTable table = row.Table;
  std::uint16_t address = row.Address;
  std::uint32_t count = row.Count;
  bool reads = (row.Access & kRoleRead) != 0;
  bool writes = (row.Access & kRoleWrite) != 0;
  if (!row.Name.empty()) {
    const link::TFieldDescr field = link::FindField(row.Name, description_);
    const TFunctionTable target = TableOfFunction(field.Register.Function);
    if (field.Register.Name.empty() || !target.Known) return;  // the model lacks the row
    table = target.Table;
    address = field.Register.Address;
    count = std::max<std::uint32_t>(1, field.Register.Count);
    reads = !target.Writes;
    writes = target.Writes;
  } else {
    if (reads) bank_.AddReadable(table, address, count);
    if (writes) bank_.AddWritable(table, address, count);
    if (writes && row.Min <= row.Max) {
      for (std::uint32_t i = 0; i < count; ++i) {
        bank_.AddRule({table, static_cast<std::uint16_t>(address + i), 1, row.Min, row.Max});
      }
    }
  }
  role_places_.try_emplace(static_cast<std::uint8_t>(row.Role), TPlace{table, address});
  if (row.Role == TRole::Plain) return;
  for (std::uint32_t i = 0; i < count && address + i <= 0xFFFFU; ++i) {
    const TBinding binding{row.Role, static_cast<std::uint16_t>(i)};
    const std::uint32_t key = Key(table, static_cast<std::uint16_t>(address + i));
    if (reads) read_roles_.try_emplace(key, binding);
    if (writes) write_roles_.try_emplace(key, binding);
  }
}

TController::TPlace TController::PlaceOf(TRole role) const {
  const auto found = role_places_.find(static_cast<std::uint8_t>(role));
  return found == role_places_.end() ? TPlace{TTable::Holding, 0} : found->second;
}

std::optional<TController::TBinding> TController::Binding(TTable table, std::uint16_t address,
                                                          bool write) const {
  const auto& roles = write ? write_roles_ : read_roles_;
  const auto found = roles.find(Key(table, address));
  if (found == roles.end()) return std::nullopt;
  return found->second;
}

void TController::SetDefaults() {
  // Motor parameters start at their rows' defaults; the first row of an address decides.
  std::vector<std::uint32_t> done;
  for (const link::TFieldDescr& field : description_.Fields) {
    const TFunctionTable target = TableOfFunction(field.Register.Function);
    if (!target.Known || target.Writes || field.ParamId == 0 ||
        field.ParamId == link::kSystemParamId) {
      continue;
    }
    const std::uint32_t key = Key(target.Table, field.Register.Address);
    if (std::find(done.begin(), done.end(), key) != done.end()) continue;
    done.push_back(key);
    const auto value = static_cast<std::uint32_t>(field.Register.Value);
    if (field.Register.Count == 2) {
      bank_.Set32(target.Table, field.Register.Address, value);
    } else {
      bank_.Set(target.Table, field.Register.Address, static_cast<std::uint16_t>(value & 0xFFFFU));
    }
  }
  const auto set32 = [this](TRole role, std::uint32_t value) {
    const TPlace place = PlaceOf(role);
    bank_.Set32(place.Table, place.Address, value);
  };
  const auto set16 = [this](TRole role, std::uint16_t value) {
    const TPlace place = PlaceOf(role);
    bank_.Set(place.Table, place.Address, value);
  };
  set32(TRole::Hardware, HardwareKey());
  set32(TRole::Firmware, Version(config_.FirmwareMajor, config_.FirmwareMinor));
  set32(TRole::Bootloader, Version(config_.BootloaderMajor, config_.BootloaderMinor));
  // The map versions are the description's three version words: the register map's (two
  // registers), the command list's and the operand list's.
  const TPlace maps = PlaceOf(TRole::MapVersions);
  bank_.Set32(maps.Table, maps.Address, static_cast<std::uint32_t>(description_.VersionWords[0]));
  bank_.Set(maps.Table, static_cast<std::uint16_t>(maps.Address + 2),
            static_cast<std::uint16_t>(description_.VersionWords[1]));
  bank_.Set(maps.Table, static_cast<std::uint16_t>(maps.Address + 3),
            static_cast<std::uint16_t>(description_.VersionWords[2]));
  // The line the controller itself speaks: 115200 baud, even parity, ASCII, its own id.
  set32(TRole::Baudrate, 115200);
  set16(TRole::Parity, 2);
  set16(TRole::DeviceId, config_.DeviceId);
  set16(TRole::Protocol, 0);
}

std::uint32_t TController::HardwareKey() const {
  // The description is an entry of the model list, as the key table's rows point to.
  const auto keys = link::ModelKeyTable();
  const auto row = std::ranges::find(keys, &description_, &link::TModelKeyRow::Description);
  const std::uint32_t first = row == keys.end() ? 0 : row->Key;
  return link::ModelKey(static_cast<std::uint16_t>(first & 0xFFFFU),
                        config_.HwVersion.value_or(static_cast<std::uint16_t>(first >> 16)));
}

// ---- reading

std::optional<std::uint16_t> TController::LiveValue(TTable table, std::uint16_t address,
                                                    TControllerClock::time_point now,
                                                    TException& refusal) {
  const std::optional<TBinding> binding = Binding(table, address, false);
  if (!binding) return std::nullopt;
  const std::uint16_t offset = binding->Offset;
  const auto bit = [](bool on) { return static_cast<std::uint16_t>(on ? 1 : 0); };
  switch (binding->Role) {
    case TRole::RunStop:
      return bit(running_);
    case TRole::Outputs:
      return bit(((outputs_ >> offset) & 1) != 0);
    case TRole::Inputs:
      return bit(((inputs_ >> offset) & 1) != 0);
    case TRole::ErrorFlags:
      return bit(offset < kErrorFlagCount && ErrorFlag(static_cast<TErrorFlag>(offset)));
    case TRole::ErrorCodes: {
      const std::uint16_t codes[] = {memory_.RomError(), modbus_code_, user_code_};
      return offset < std::size(codes) ? codes[offset] : std::uint16_t{0};
    }
    case TRole::ErrorLine:
      return user_line_;
    case TRole::RomState:
      return bit(memory_.Busy(now));
    case TRole::MainProtection:
      return bit(memory_.Readable(TProgramSlot::Main));
    case TRole::ServiceProtection:
      return bit(memory_.Readable(TProgramSlot::Service));
    case TRole::PacketLines:
      return memory_.PacketLinesRead();
    case TRole::Sector: {
      std::uint16_t word = 0;
      refusal = memory_.SectorWord(offset, word);
      return word;
    }
    case TRole::Position:
      return Half(static_cast<std::uint32_t>(motion_.Position(now)), offset);
    case TRole::MotorStatus:
      return motion_.Status(now);
    case TRole::CurrentSpeed:
      return Half(static_cast<std::uint32_t>(motion_.Speed(now)), offset);
    case TRole::DebugState:
      return bit(bank_.Get(TTable::Coils, PlaceOf(TRole::DebugStart).Address) != 0);
    case TRole::DebugSuspended:
      return bit(bank_.Get(TTable::Coils, PlaceOf(TRole::DebugStart).Address) != 0 &&
                 bank_.Get(TTable::Coils, PlaceOf(TRole::DebugSuspend).Address) != 0);
    default:
      return std::nullopt;
  }
}

TException TController::ReadValues(TTable table, std::uint16_t address, std::uint16_t count,
                                   std::vector<std::uint16_t>& values) {
  if (!bank_.CanRead(table, address, count)) return TException::IllegalDataAddress;
  const auto now = clock_();
  values.clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto at = static_cast<std::uint16_t>(address + i);
    TException refusal = TException::None;
    const std::optional<std::uint16_t> live = LiveValue(table, at, now, refusal);
    if (refusal != TException::None) return refusal;
    values.push_back(live.value_or(bank_.Get(table, at)));
  }
  return TException::None;
}

TException TController::ReadBits(TTable table, std::uint16_t address, std::uint16_t count,
                                 std::vector<bool>& bits) {
  std::vector<std::uint16_t> values;
  const TException code = ReadValues(table, address, count, values);
  bits.assign(values.begin(), values.end());
  return code;
}

TException TController::ReadRegisters(TTable table, std::uint16_t address, std::uint16_t count,
                                      std::vector<std::uint16_t>& values) {
  return ReadValues(table, address, count, values);
}

// ---- writing

TException TController::WriteRegisters(std::uint16_t address,
                                       std::span<const std::uint16_t> values) {
  const auto count = static_cast<std::uint32_t>(values.size());
  if (!bank_.CanWrite(TTable::Holding, address, count)) return TException::IllegalDataAddress;
  const auto now = clock_();
  // Half of a 32-bit position may be written: the other half is the live one. Only a write
  // that reaches the position's two registers looks at them, so only such a write copies it.
  const std::uint32_t position = PlaceOf(TRole::Position).Address;
  if (address < position + 2 && position < address + count) {
    bank_.Set32(TTable::Holding, static_cast<std::uint16_t>(position),
                static_cast<std::uint32_t>(motion_.Position(now)));
  }
  if (!bank_.ValuesFit(TTable::Holding, address, values)) return TException::IllegalDataValue;
  std::vector<TRole> touched;
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto at = static_cast<std::uint16_t>(address + i);
    bank_.Set(TTable::Holding, at, values[i]);
    const std::optional<TBinding> binding = Binding(TTable::Holding, at, true);
    if (binding && std::find(touched.begin(), touched.end(), binding->Role) == touched.end()) {
      touched.push_back(binding->Role);
    }
  }
  for (const TRole role : touched) RegisterAction(role, now);
  return TException::None;
}

void TController::RegisterAction(TRole role, TControllerClock::time_point now) {
  const auto value = [this](TRole of) { return bank_.Get(TTable::Holding, PlaceOf(of).Address); };
  switch (role) {
    case TRole::LineNumber:
      memory_.SetLineNumber(value(TRole::LineNumber));
      break;
    case TRole::PacketQuantity:
      memory_.SetPacketQuantity(value(TRole::PacketQuantity));
      break;
    case TRole::Position:
      motion_.SetPosition(
          static_cast<std::int32_t>(bank_.Get32(TTable::Holding, PlaceOf(TRole::Position).Address)),
          now);
      break;
    default:
      break;
  }
}

TException TController::WriteCoils(std::uint16_t address, const std::vector<bool>& bits) {
  const auto count = static_cast<std::uint32_t>(bits.size());
  if (!bank_.CanWrite(TTable::Coils, address, count)) return TException::IllegalDataAddress;
  std::vector<std::uint16_t> values(bits.begin(), bits.end());
  if (!bank_.ValuesFit(TTable::Coils, address, values)) return TException::IllegalDataValue;
  const auto now = clock_();
  // Every refusal is found before anything changes.
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::optional<TBinding> binding =
        Binding(TTable::Coils, static_cast<std::uint16_t>(address + i), true);
    if (!binding) continue;
    if (const TException refusal = CoilRefusal(binding->Role, bits[i], now);
        refusal != TException::None) {
      return refusal;
    }
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto at = static_cast<std::uint16_t>(address + i);
    bank_.Set(TTable::Coils, at, values[i]);
    if (const std::optional<TBinding> binding = Binding(TTable::Coils, at, true)) {
      CoilAction(binding->Role, bits[i], now);
    }
  }
  return TException::None;
}

TException TController::CoilRefusal(TRole role, bool on, TControllerClock::time_point now) const {
  switch (role) {
    case TRole::WriteMode:
      return on && running_ ? TException::SlaveDeviceFailure : TException::None;
    case TRole::Erase:
    case TRole::Store:
      return on ? memory_.CheckWrite(running_, now) : TException::None;
    case TRole::MainProtection:
    case TRole::ServiceProtection:
      return memory_.CheckProtect(running_);
    case TRole::PacketStart:
      return on ? memory_.CheckPacket(now) : TException::None;
    default:
      return TException::None;
  }
}

void TController::CoilAction(TRole role, bool on, TControllerClock::time_point now) {
  switch (role) {
    case TRole::ClearErrors:
      if (on) ClearErrors();
      return;
    case TRole::WriteMode:
      memory_.SetWriteMode(on, running_);
      return;
    case TRole::ProgramSlot:
      memory_.SelectSlot(on ? TProgramSlot::Service : TProgramSlot::Main);
      return;
    case TRole::Erase:
      if (on) memory_.Erase(running_, now);
      return;
    case TRole::Store:
      if (on) memory_.Store(ImageRegisters(), running_, now);
      return;
    case TRole::MainProtection:
      memory_.Protect(TProgramSlot::Main, running_);
      return;
    case TRole::ServiceProtection:
      memory_.Protect(TProgramSlot::Service, running_);
      return;
    case TRole::PacketStart:
      if (on) memory_.StartPacket(now);
      return;
    case TRole::ApplyCommand:
      if (on) {
        until_input_ = bank_.Get(TTable::Holding, PlaceOf(TRole::UntilInput).Address) % kInputCount;
        motion_.Apply(MotionSetup(), now);
      }
      return;
    case TRole::Torque:
      if (on) motion_.Energise(now);
      return;
    case TRole::HardStop:
    case TRole::SlowStop:
      if (on) motion_.Stop(false, now);
      return;
    case TRole::HardHiz:
    case TRole::SlowHiz:
      if (on) motion_.Stop(true, now);
      return;
    default:
      return;
  }
}

program_model::InstructionImage TController::ImageRegisters() const {
  program_model::InstructionImage image{};
  const std::uint16_t first = PlaceOf(TRole::Image).Address;
  for (int word = 0; word < program_model::kImageWords; ++word) {
    program_model::SetImageWord(
        image, word, bank_.Get(TTable::Holding, static_cast<std::uint16_t>(first + word)));
  }
  return image;
}

TMotionSetup TController::MotionSetup() const {
  const auto word = [this](TRole role) {
    return bank_.Get(TTable::Holding, PlaceOf(role).Address);
  };
  const auto dword = [this](TRole role) {
    return static_cast<std::int32_t>(bank_.Get32(TTable::Holding, PlaceOf(role).Address));
  };
  TMotionSetup setup;
  setup.Command = word(TRole::MotionCommand);
  setup.Speed = dword(TRole::MaxSpeed);
  setup.Forward = word(TRole::Direction) != 0;
  setup.Target = dword(TRole::Target);
  setup.InputLevel = ((inputs_ >> until_input_) & 1) != 0;
  return setup;
}

// ---- state for the front end and tests

void TController::SetInput(int index, bool on) {
  if (index < 0 || index >= kInputCount) return;
  const auto mask = static_cast<std::uint8_t>(1U << index);
  const bool was = (inputs_ & mask) != 0;
  inputs_ = static_cast<std::uint8_t>(on ? inputs_ | mask : inputs_ & ~mask);
  if (was != on && index == until_input_) motion_.InputChanged(on, clock_());
}

void TController::SetErrorFlag(TErrorFlag flag, bool on) {
  switch (flag) {
    case kErrorBattery:
      battery_error_ = on;
      break;
    case kErrorModbus:
      modbus_error_ = on;
      break;
    case kErrorUserProgram:
      user_error_ = on;
      break;
    default:
      break;  // the general flag follows the others; the memory sets its own
  }
}

void TController::SetErrorCodes(std::uint16_t modbusCode, std::uint16_t userCode,
                                std::uint16_t userLine) {
  modbus_code_ = modbusCode;
  user_code_ = userCode;
  user_line_ = userLine;
}

bool TController::ErrorFlag(TErrorFlag flag) const {
  switch (flag) {
    case kErrorAny:
      return battery_error_ || modbus_error_ || user_error_ || memory_.RomError() != 0;
    case kErrorBattery:
      return battery_error_;
    case kErrorProgramMemory:
      return memory_.RomError() != 0;
    case kErrorModbus:
      return modbus_error_;
    case kErrorUserProgram:
      return user_error_;
  }
  return false;
}

void TController::ClearErrors() {
  battery_error_ = modbus_error_ = user_error_ = false;
  SetErrorCodes(0, 0, 0);
  memory_.ClearRomError();
}

bool TController::LoadProgram(TProgramSlot slot, const std::vector<std::string>& lines,
                              std::string& error) {
  std::vector<program_model::InstructionImage> images;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = program_model::InstructionLine(lines[i]);
    if (line.empty()) continue;
    const program_model::ParseResult parsed =
        program_model::ParseIlLine(program_model::CommandText(line));
    if (parsed.Code != program_model::IlValid) {
      error = std::string(texts::kWrongProgramLine) + std::to_string(i + 1) + ": " + lines[i];
      return false;
    }
    images.push_back(parsed.Image);
  }
  const int highest =
      slot == TProgramSlot::Main ? description_.HighestMainLine : description_.HighestServiceLine;
  if (images.size() > static_cast<std::size_t>(highest) + 1) {
    error = texts::kProgramTooLong;
    return false;
  }
  memory_.Load(slot, std::move(images));
  return true;
}

std::vector<std::string> TController::ProgramListing(TProgramSlot slot) const {
  std::vector<std::string> listing;
  for (std::size_t line = 0; line < memory_.Length(slot); ++line) {
    const std::vector<std::uint8_t> bytes =
        program_model::WordsToBytes(memory_.StoredWords(slot, line));
    listing.push_back(program_model::DecodeProgramWords(bytes).Decoded.Text);
  }
  return listing;
}

std::uint16_t TController::Peek(TTable table, std::uint16_t address) {
  TException refusal = TException::None;
  return LiveValue(table, address, clock_(), refusal).value_or(bank_.Get(table, address));
}

void TController::Poke(TTable table, std::uint16_t address, std::uint16_t value) {
  bank_.Set(table, address, value);
}

}  // namespace quarn::simulator
