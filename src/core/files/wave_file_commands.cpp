// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/wave_file_commands.h"

#include <algorithm>

#include "core/files/file_io.h"
#include "core/views/parameter_column.h"
#include "core/views/wave_data_column.h"

namespace korvelane {
namespace {

constexpr const char* kErrorTitle = "Error";
constexpr const char* kNotice = "提示信息";
constexpr const char* kGraphSaveFailed = "Try to save Wave Graph file failed!";
constexpr const char* kGraphOpenFailed = "Try to openning the selected file failed!";
constexpr const char* kTypeMismatch = "打开文件类型不匹配，请确认！";
constexpr const char* kOpenFailed = "打开选定文件失败，请确定文件是否被破坏、文件格式是否正确？";
// Characters of a list text that a sample cell is read with.
constexpr size_t kSampleTextRoom = 4;

std::vector<uint8_t> TextBytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// The slot's sample count as the lists can hold it.
int SlotCount(const WaveSlot& slot) {
  return std::clamp<int32_t>(slot.count, 0, kMaxWaveSamples);
}

}  // namespace

int FindFreeSlot(WaveSlotTable& slots) {
  for (int slot = kFirstFileSlot; slot <= kSlotCount; ++slot) {
    if (slots[slot].free())
      return slot;
  }
  slots[kSlotCount] = WaveSlot{};
  return kSlotCount;
}

WaveFileCommands::WaveFileCommands(const ViewContext& context, FileChooser& chooser,
                                   WaveFileHost& host)
    : context_(context), chooser_(chooser), host_(host) {}

std::optional<int> WaveFileCommands::ChooseSlot(SelectChanMode mode) {
  const std::optional<int> slot = host_.SelectChannel(mode);
  if (!slot || !WaveSlotTable::Valid(*slot))
    return std::nullopt;
  context_.tables.selected_channel = *slot - 1;
  return slot;
}

WaveRecord WaveFileCommands::RecordOfSlot(int slot, uint8_t kind) const {
  const ViewTables& tables = context_.tables;
  const WaveSlot& entry = tables.wave_slots[slot];
  WaveRecord record;
  record.kind = kind;
  const int count = SlotCount(entry);
  record.samples.resize(static_cast<size_t>(count));
  for (int row = 0; row < count; ++row) {
    const std::string_view text = tables.wave_data_list.text(row, slot);
    record.samples[static_cast<size_t>(row)] = SampleFromText(std::string(text), kSampleTextRoom);
  }
  record.panel_bytes = PanelBytesForFile(context_.store.panel_state);
  for (int row = 0; row < ParameterList::kRows; ++row)
    record.parameter_texts[static_cast<size_t>(row)] = tables.parameter_list.text(row, slot);
  record.has_measurements = entry.in_measurement != 0;
  if (record.has_measurements) {
    for (int row = 0; row < MeasurementList::kRows; ++row)
      record.measurement_texts[static_cast<size_t>(row)] = tables.measurement_list.text(row, slot);
  }
  return record;
}

GraphRecord WaveFileCommands::GraphOfSlot(int slot) const {
  const ViewTables& tables = context_.tables;
  const WaveSlot& entry = tables.wave_slots[slot];
  GraphRecord graph;
  const int count = SlotCount(entry);
  graph.sample_texts.reserve(static_cast<size_t>(count));
  for (int row = 0; row < count; ++row)
    graph.sample_texts.emplace_back(tables.wave_data_list.text(row, slot));
  for (int row = 0; row < ParameterList::kRows; ++row)
    graph.parameter_texts[static_cast<size_t>(row)] = tables.parameter_list.text(row, slot);
  graph.has_measurements = entry.in_measurement != 0;
  if (graph.has_measurements) {
    for (int row = 0; row < MeasurementList::kRows; ++row)
      graph.measurement_texts[static_cast<size_t>(row)] = tables.measurement_list.text(row, slot);
  }
  return graph;
}

void WaveFileCommands::SaveWaveGraphFile() {
  context_.operate_log.RecordOperation("Save Wave Graph file");
  const std::optional<int> slot = ChooseSlot(SelectChanMode::kWaveGraph);
  if (!slot)
    return;
  const std::string path = chooser_.ChooseFileToSave(file_kind::kWaveGraph);
  if (path.empty())
    return;
  UserInterface& ui = context_.ui;
  ui.SetWaitCursor(true);
  const char* failure = nullptr;
  if (HasExtension(path, ".wdf")) {
    if (!WriteWholeFile(path, EncodeWaveRecord(RecordOfSlot(*slot, kGraphKind))))
      failure = kGraphSaveFailed;
  } else if (HasExtension(path, ".csv")) {
    if (!WriteWholeFile(path, TextBytes(EncodeGraphFile(GraphOfSlot(*slot)))))
      failure = kGraphOpenFailed;
  } else {
    failure = kGraphSaveFailed;
  }
  if (failure) {
    ui.ShowMessage(failure, kErrorTitle, MessageIcon::kInformation);
    ui.SetWaitCursor(false);
    return;
  }
  ui.SetWaitCursor(false);
  context_.operate_log.RecordOperation("Save Wave Garph file successed！");
}

void WaveFileCommands::SaveWaveDataFile() {
  context_.operate_log.RecordOperation("Save Wave Data file");
  const std::optional<int> slot = ChooseSlot(SelectChanMode::kWaveData);
  if (!slot)
    return;
  std::string path = chooser_.ChooseFileToSave(file_kind::kWaveData);
  if (path.empty())
    return;
  if (!HasExtension(path, ".wdf"))
    path += ".wdf";
  UserInterface& ui = context_.ui;
  ui.SetWaitCursor(true);
  if (!WriteWholeFile(path, EncodeWaveRecord(RecordOfSlot(*slot, kWaveDataKind)))) {
    context_.debug_log.WriteDebugLog("保存波形数据文件失败", kWarning);
    ui.ShowMessage("Try to save Wave Data file failed!", kErrorTitle, MessageIcon::kInformation);
    ui.SetWaitCursor(false);
    return;
  }
  ui.SetWaitCursor(false);
  context_.operate_log.RecordOperation("Save Wave Data file successed！");
}

void WaveFileCommands::SaveMeasurementFile() {
  context_.operate_log.RecordOperation("Save Wave Measurement file");
  const std::optional<int> slot = ChooseSlot(SelectChanMode::kMeasurement);
  if (!slot)
    return;
  std::string path = chooser_.ChooseFileToSave(file_kind::kWaveMeasurement);
  if (path.empty())
    return;
  if (!HasExtension(path, ".wmf"))
    path += ".wmf";
  UserInterface& ui = context_.ui;
  ui.SetWaitCursor(true);
  if (!WriteWholeFile(path, EncodeWaveRecord(RecordOfSlot(*slot, kMeasurementKind)))) {
    ui.ShowMessage("Try to save measurement file failed!", kErrorTitle, MessageIcon::kInformation);
    ui.SetWaitCursor(false);
    return;
  }
  ui.SetWaitCursor(false);
  context_.operate_log.RecordOperation("Save measurement successed！");
}

void WaveFileCommands::OpenWaveGraphFile() {
  context_.operate_log.RecordOperation("Open Wave Graph file");
  const std::string path = chooser_.ChooseFileToOpen(file_kind::kWaveGraph);
  if (path.empty())
    return;
  LoadWaveGraphFile(path);
}

bool WaveFileCommands::LoadWaveGraphFile(const std::string& path) {
  context_.ui.SetWaitCursor(true);
  const std::optional<int> slot = ReadGraphViewFile(path);
  if (slot)
    host_.ShowLoadedSlot(*slot, LoadMode::kShow);
  context_.ui.SetWaitCursor(false);
  EnableViewButtons(context_.tables);
  return slot.has_value();
}

std::optional<int> WaveFileCommands::ReadGraphViewFile(const std::string& path) {
  const char* failure = kGraphOpenFailed;
  const bool binary = HasExtension(path, ".wdf");
  // Nothing changes before the whole file has been read and found sound.
  const auto bytes =
      binary || HasExtension(path, ".csv") ? ReadWholeFile(path, kMaxFileSize) : std::nullopt;
  if (bytes && binary) {
    WaveRecord record;
    if (DecodeWaveRecord(ByteView(bytes->data(), bytes->size()), &record) == WaveFileError::kNone)
      return LoadWaveRecord(*bytes, record);
  } else if (bytes) {
    GraphRecord graph;
    std::vector<uint8_t> samples;
    const WaveFileError error =
        DecodeGraphFile(std::string(bytes->begin(), bytes->end()), &graph, &samples);
    if (error == WaveFileError::kNone)
      return LoadGraphRecord(graph, samples);
    if (error == WaveFileError::kIncorrectKind)
      failure = "The opened file is incorrect!";
  }
  context_.ui.ShowMessage(failure, kErrorTitle, MessageIcon::kInformation);
  return std::nullopt;
}

bool WaveFileCommands::OpenWaveDataFile(const std::string& path) {
  return OpenWaveRecordFile(path, ".wdf", "打开文件类型与‘.wdf’不匹配", "打开选定文件‘*.wdf’失败",
                            LoadMode::kHideWaveData);
}

bool WaveFileCommands::OpenMeasurementFile(const std::string& path) {
  return OpenWaveRecordFile(path, ".wmf", "打开文件类型与‘.wmf’不匹配", "打开选定文件‘*.wmf’失败",
                            LoadMode::kHideMeasurement);
}

bool WaveFileCommands::OpenWaveRecordFile(const std::string& path, const char* extension,
                                          const char* type_log, const char* open_log,
                                          LoadMode mode) {
  if (!HasExtension(path, extension)) {
    context_.debug_log.WriteDebugLog(type_log, kWarning);
    context_.ui.ShowMessage(kTypeMismatch, kNotice, MessageIcon::kInformation);
    return false;
  }
  // A file that cannot be read whole, or whose header promises more than it holds or more than
  // the lists take, is refused before anything changes.
  const auto bytes = ReadWholeFile(path, kMaxFileSize);
  WaveRecord record;
  if (!bytes ||
      DecodeWaveRecord(ByteView(bytes->data(), bytes->size()), &record) != WaveFileError::kNone) {
    context_.debug_log.WriteDebugLog(open_log, kWarning);
    context_.ui.ShowMessage(kOpenFailed, kNotice, MessageIcon::kInformation);
    return false;
  }
  const int slot = LoadWaveRecord(*bytes, record);
  host_.ShowLoadedSlot(slot, mode);
  EnableViewButtons(context_.tables);
  return true;
}

int WaveFileCommands::LoadWaveRecord(const std::vector<uint8_t>& bytes, const WaveRecord& record) {
  ViewTables& tables = context_.tables;
  AcquisitionStore& store = context_.store;
  const int slot = FindFreeSlot(tables.wave_slots);
  const int count = static_cast<int>(record.samples.size());
  WaveSlot& entry = tables.wave_slots[slot];
  entry.count = count;
  entry.in_measurement = record.has_measurements ? 1 : 0;
  entry.in_graph = record.kind == kGraphKind ? 1 : 0;
  entry.in_wave_data = 1;

  store.file_samples.fill(0);
  std::copy(record.samples.begin(), record.samples.end(), store.file_samples.begin());
  PlotFileSamples(count, slot);
  FillWaveDataColumn(tables, store, slot);
  const size_t block = kWaveHeaderSize + static_cast<size_t>(count);
  FillParameterColumn(tables, store, slot, ByteView(bytes.data(), bytes.size()).Sub(block));
  if (record.has_measurements) {
    // Each field holds at most nine characters before its terminator.
    std::array<std::string, 11> texts = record.measurement_texts;
    for (std::string& text : texts)
      text = text.substr(0, kMeasurementFieldSize - 1);
    SetMeasurementTexts(slot, texts);
  }
  return slot;
}

int WaveFileCommands::LoadGraphRecord(const GraphRecord& record,
                                      const std::vector<uint8_t>& samples) {
  ViewTables& tables = context_.tables;
  AcquisitionStore& store = context_.store;
  const int slot = FindFreeSlot(tables.wave_slots);
  const int count = static_cast<int>(samples.size());
  WaveSlot& entry = tables.wave_slots[slot];
  entry.count = count;
  entry.in_measurement = record.has_measurements ? 1 : 0;
  entry.in_graph = 1;
  entry.in_wave_data = 1;

  store.file_samples.fill(0);
  std::copy(samples.begin(), samples.end(), store.file_samples.begin());
  // The lines go into the list as they stand; rows after them are emptied, so nothing of a
  // wave that had the slot before stays behind.
  CellText* cells = tables.wave_data_list.column(slot);
  for (int row = 0; row < WaveDataList::kRows; ++row) {
    if (row < count)
      cells[row].Set(record.sample_texts[static_cast<size_t>(row)]);
    else
      cells[row].Clear();
  }
  tables.NotifyColumnChanged(ListKind::kWaveData, slot);
  for (int row = 0; row < ParameterList::kRows; ++row)
    tables.parameter_list.SetText(row, slot, record.parameter_texts[static_cast<size_t>(row)]);
  tables.NotifyColumnChanged(ListKind::kParameters, slot);
  if (record.has_measurements)
    SetMeasurementTexts(slot, record.measurement_texts);
  PlotFileSamples(count, slot);
  return slot;
}

void WaveFileCommands::SetMeasurementTexts(int slot, const std::array<std::string, 11>& texts) {
  MeasurementList& list = context_.tables.measurement_list;
  for (int row = 0; row < MeasurementList::kRows; ++row)
    list.SetText(row, slot, texts[static_cast<size_t>(row)]);
  context_.tables.NotifyColumnChanged(ListKind::kMeasurements, slot);
}

void WaveFileCommands::PlotFileSamples(int count, int slot) {
  host_.PlotSlot(context_.store.file_samples.data(), count, slot);
}

}  // namespace korvelane
