// The model descriptions: what sets the four models apart, what they share, and how a
// description is put together from the register table.
#include "link/device_models.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <string_view>

#include "link/device_texts.h"
#include "link/error_table.h"
#include "link/register_map.h"
#include "link/register_table.h"
#include "program_model/program_code.h"
#include "program_model/catalogue.h"
#include "program_model/device_traits.h"

namespace quarn::link {
namespace {

struct ModelRow {
  std::string_view ModelName;
  std::string_view ListCaption;
  std::array<std::int32_t, 3> VersionWords;
  std::size_t AppendedRows;  // how many of the appended register rows the model has
  std::int32_t CurrentMin;   // range of the eight phase-current rows
  std::int32_t CurrentMax;
};

constexpr ModelRow kModels[kModelCount] = {
    {"KLEM-A ver.2", "Default controller", {0x00020002, 2, 1}, 0, 150, 1500},
    {"KLEM-A ver.3", "Brevik Stock No.:  710501", {0x00030002, 2, 2}, 2, 150, 1500},
    {"KLEM-B", "Brevik Stock No.:  710502", {0x00040002, 2, 2}, 3, 1000, 4200},
    {"KLEM-C", "Brevik Stock No.:  710503", {0x00050002, 2, 2}, 3, 2800, 8000},
};

struct KeyRow {
  std::uint16_t DevId;
  std::uint16_t HwVersion;
  std::string_view ModelName;
};

constexpr KeyRow kModelKeys[] = {
    {1, 2, "KLEM-A ver.2"}, {1, 3, "KLEM-A ver.2"}, {2, 0, "KLEM-A ver.3"}, {2, 1, "KLEM-A ver.3"},
    {3, 0, "KLEM-B"},       {3, 1, "KLEM-B"},       {4, 0, "KLEM-C"},
};

constexpr std::array<std::string_view, 3> kInterruptionMnemonics = {"FEND", "I", "IRET"};

// What every model shares.
constexpr std::uint8_t kMotionOperandKind = 'D';
constexpr std::string_view kMotionOperand = "D376";
constexpr std::string_view kMicrostepOperand = "D366";
constexpr std::int32_t kBreakpointCount = 4;
constexpr std::string_view kDirectControlPage = "TabSheetKLEM_Modbus_DirectControl";
constexpr std::array<std::uint8_t, kOptionByteCount> kOptionBytes = {1, 0, 1, 0, 1, 0, 0, 1,
                                                                     0, 1, 1, 0, 0, 1, 1, 0};
constexpr std::uint8_t kPacketLines = 15;
constexpr std::int32_t kHighestMainLine = 28912;
constexpr std::int32_t kHighestServiceLine = 1926;
constexpr std::int32_t kSpeedMin = 8;
constexpr std::int32_t kSpeedMax = 120000;
constexpr std::int32_t kAccelMax = 65535;
constexpr std::int32_t kAccelMin = 1;
constexpr std::string_view kEndMnemonic = "END";
constexpr std::string_view kBreakpointLine = "GET_BREAKPOINT_LINE";
constexpr std::string_view kBreakpointActive = "GET_BREAKPOINT_ACTIVE";

TFieldDescr MakeField(const FieldRow& row) {
  TFieldDescr field;
  field.ParamId = row.ParamId;
  field.DOperand = row.DOperand;
  field.Bits = row.Bits;
  // The placeholder row has no register; it must not read as a record that was found.
  const std::uint32_t valid = row.Name.empty() ? 0u : 1u;
  field.Register = {row.Function, row.Address, row.Count, row.Value, valid, std::string(row.Name)};
  field.Caption = row.Caption;
  field.Description = row.Description;
  field.MinValue = row.MinValue;
  field.MaxValue = row.MaxValue;
  field.Group = row.Group;
  field.Access = row.Access;
  if (row.Group < texts::kGroupCaptions.size()) {
    field.GroupCaption = texts::kGroupCaptions[row.Group];
  }
  field.TextForOne = row.TextForOne;
  field.TextForZero = row.TextForZero;
  return field;
}

TFieldDescrArray MakeFields(const ModelRow& model) {
  TFieldDescrArray fields;
  const auto appended = AppendedFieldRows().first(model.AppendedRows);
  fields.reserve(SharedFieldRows().size() + appended.size());
  for (const FieldRow& row : SharedFieldRows()) fields.push_back(MakeField(row));
  for (const FieldRow& row : appended) fields.push_back(MakeField(row));
  for (std::string_view name : CurrentRowNames()) {
    const auto field = std::ranges::find(
        fields, name, [](const TFieldDescr& f) -> const auto& { return f.Register.Name; });
    if (field == fields.end()) continue;
    field->MinValue = model.CurrentMin;
    field->MaxValue = model.CurrentMax;
  }
  return fields;
}

// A read of a register as the parameter fetch sends it; an empty record for a register the
// model does not have.
TDC_Record ReadOf(const TDC_Record& row, std::uint32_t addressOffset, std::uint32_t count) {
  if (row.Valid == 0) return {};
  const auto address = static_cast<std::uint16_t>(row.Address + addressOffset);
  return {row.Function, address, count, 0, 1, row.Name};
}

TDC_Records_Array MakeParameterReads(const TDeviceDescription& description) {
  TDC_Records_Array reads;
  for (std::string_view name : ParameterReadNames()) {
    const TDC_Record row = FindParameterRecord(name, description);
    reads.push_back(ReadOf(row, 0, row.Count));
  }
  // Breakpoint n sits at the row's address + n; their active flags are read as one block.
  const TDC_Record line = FindParameterRecord(kBreakpointLine, description);
  const TDC_Record active = FindParameterRecord(kBreakpointActive, description);
  if (line.Valid == 0 || active.Valid == 0) return reads;
  const auto breakpoints = static_cast<std::uint32_t>(description.BreakpointCount);
  for (std::uint32_t n = 0; n < breakpoints; ++n) reads.push_back(ReadOf(line, n, 1));
  reads.push_back(ReadOf(active, 0, breakpoints));
  return reads;
}

TRegistersArray MakePollRegisters(const TDeviceDescription& description) {
  TRegistersArray polls;
  for (std::string_view name : PollRegisterNames()) {
    TRWmbrReg request;
    if (!MakeRegisterRequest(request, name, false, description, 0, 0, false, false, 0)) break;
    polls.push_back(std::move(request));
  }
  return polls;
}

// Every model lists the same interruption kinds: those the program model has built in.
std::vector<TSingleInterruption> MakeInterruptions() {
  const auto builtIn = program_model::BuiltInDeviceTraits().Interruptions();
  return {builtIn.begin(), builtIn.end()};
}

TDeviceDescription BuildDescription(const ModelRow& model) {
  TDeviceDescription d;
  d.ModelName = model.ModelName;
  d.ListCaption = model.ListCaption;
  d.MotionOperandKind = kMotionOperandKind;
  d.MotionOperand = kMotionOperand;
  d.MicrostepOperand = kMicrostepOperand;
  d.Fields = MakeFields(model);
  d.BreakpointCount = kBreakpointCount;
  d.ParameterReads = MakeParameterReads(d);
  d.PollRegisters = MakePollRegisters(d);
  d.VersionWords = model.VersionWords;
  d.DirectControlPage = kDirectControlPage;
  d.Interruptions = MakeInterruptions();
  for (std::size_t i = 0; i < kInterruptionMnemonics.size(); ++i) {
    d.InterruptionInstructions[i] =
        program_model::FindInstructionByMnemonic(kInterruptionMnemonics[i]);
  }
  d.ErrorGroups = BuildErrorGroups();
  d.OptionBytes = kOptionBytes;
  d.PacketLines = kPacketLines;
  d.StoredWords = static_cast<std::uint8_t>(program_model::kStoredWords);
  d.HighestMainLine = kHighestMainLine;
  d.HighestServiceLine = kHighestServiceLine;
  d.SpeedMin = kSpeedMin;
  d.SpeedMax = kSpeedMax;
  d.AccelMax = kAccelMax;
  d.AccelMin = kAccelMin;
  const TFieldDescr workCurrent = FindField("SET_RUN_CUR", d);
  d.CurrentMin = workCurrent.MinValue;
  d.CurrentMax = workCurrent.MaxValue;
  d.PositionMax = std::numeric_limits<std::int32_t>::max();
  d.PositionMin = std::numeric_limits<std::int32_t>::min();
  d.EndMnemonic = kEndMnemonic;
  d.EndApiNumber = program_model::ApiNumberOfMnemonic(kEndMnemonic);
  d.ProgramDecoder = &program_model::DecodeProgramWords;
  return d;
}

// The descriptions and the key table built from them, created once and never freed, so that
// every reference handed out stays valid until the process ends, worker threads included.
struct ModelSet {
  ModelSet() : Descriptions(BuildDeviceDescriptions()) {
    for (const KeyRow& row : kModelKeys) {
      const auto model =
          std::ranges::find(Descriptions, row.ModelName, &TDeviceDescription::ModelName);
      if (model != Descriptions.end()) {
        Keys.push_back({ModelKey(row.DevId, row.HwVersion), &*model});
      }
    }
  }
  const std::vector<TDeviceDescription> Descriptions;
  std::vector<TModelKeyRow> Keys;
};

const ModelSet& Models() {
  static const ModelSet* const models = new ModelSet;
  return *models;
}

}  // namespace

std::vector<TDeviceDescription> BuildDeviceDescriptions() {
  std::vector<TDeviceDescription> descriptions;
  for (const ModelRow& model : kModels) descriptions.push_back(BuildDescription(model));
  return descriptions;
}

std::span<const TDeviceDescription> ModelList() { return Models().Descriptions; }

std::span<const TModelKeyRow> ModelKeyTable() { return Models().Keys; }

const TDeviceDescription* FindModelByKey(std::uint32_t key) {
  const auto keys = ModelKeyTable();
  const auto row = std::ranges::find(keys, key, &TModelKeyRow::Key);
  return row == keys.end() ? nullptr : row->Description;
}

const TDeviceDescription* FindModelByName(std::string_view name) {
  const auto models = ModelList();
  const auto model = std::ranges::find(models, name, &TDeviceDescription::ModelName);
  return model == models.end() ? nullptr : &*model;
}

}  // namespace quarn::link
