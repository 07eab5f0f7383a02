// SPDX-License-Identifier: GPL-3.0-or-later
// Saving one wave slot to a wave record file (".wdf", ".wmf") or a graph file (".csv"), and
// loading such a file into a free slot of the views: the Wave Graph view's "Save" and "Open",
// the Wave Data view's "Save as", the Measurement view's "Save As" and the right pane's openers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/files/file_chooser.h"
#include "core/files/wave_record.h"
#include "core/views/select_chan.h"
#include "core/views/view_context.h"

namespace korvelane {

// What the commands reach of the views beyond the shared tables.
class WaveFileHost {
 public:
  virtual ~WaveFileHost() = default;
  // "Select the Chan" in `mode`: the slot 1..7 chosen with OK, or nothing when cancelled.
  virtual std::optional<int> SelectChannel(SelectChanMode mode) = 0;
  // Plot `slot` of the Wave Graph view shows the first `count` samples.
  virtual void PlotSlot(const uint8_t* samples, int count, int slot) = 0;
  // A wave was loaded into slot 3..7: shown or hidden as `mode` says.
  virtual void ShowLoadedSlot(int slot, LoadMode mode) = 0;
};

// The slot a loaded wave goes into: the first of 3..7 with no flag set, or else slot 7, which is
// emptied first.
int FindFreeSlot(WaveSlotTable& slots);

class WaveFileCommands {
 public:
  // Files larger than this are no wave files.
  static constexpr size_t kMaxFileSize = 4u << 20;

  WaveFileCommands(const ViewContext& context, FileChooser& chooser, WaveFileHost& host);

  // The Wave Graph view's "Save": a ".wdf" (kind 2) or ".csv" file of a slot on the graph.
  void SaveWaveGraphFile();
  // The Wave Graph view's "Open": the graph dialog, then LoadWaveGraphFile.
  void OpenWaveGraphFile();
  // The Wave Graph view's reader: a ".wdf" or ".csv" file into a free slot, shown on the graph;
  // the view buttons follow, also after a failure. True when the file was loaded.
  bool LoadWaveGraphFile(const std::string& path);
  // The Wave Data view's "Save as": a ".wdf" file (kind 0) of a slot with wave data.
  void SaveWaveDataFile();
  // The Measurement view's "Save As": a ".wmf" file (kind 1) of a slot with measurements.
  void SaveMeasurementFile();
  // The right pane's openers of a wave data and a wave measurement file: into a free slot,
  // hidden on the graph. True when the file was loaded; a refused file changes nothing.
  bool OpenWaveDataFile(const std::string& path);
  bool OpenMeasurementFile(const std::string& path);

  // Slot `slot` as a wave record file of `kind`: the samples read back from the Wave Data list,
  // the scales from the parameter list, the measurements when the slot has them.
  WaveRecord RecordOfSlot(int slot, uint8_t kind) const;
  // Slot `slot` as a graph file: the lists' texts.
  GraphRecord GraphOfSlot(int slot) const;

 private:
  // The chosen slot of a save, or nothing when the user cancelled.
  std::optional<int> ChooseSlot(SelectChanMode mode);
  // Reads a ".wdf" or ".csv" file into a free slot: the slot, or nothing after the failure
  // message has been shown.
  std::optional<int> ReadGraphViewFile(const std::string& path);
  bool OpenWaveRecordFile(const std::string& path, const char* extension, const char* type_log,
                          const char* open_log, LoadMode mode);
  // Puts a decoded wave record file into a free slot; `bytes` holds the whole file. The slot.
  int LoadWaveRecord(const std::vector<uint8_t>& bytes, const WaveRecord& record);
  int LoadGraphRecord(const GraphRecord& record, const std::vector<uint8_t>& samples);
  void SetMeasurementTexts(int slot, const std::array<std::string, 11>& texts);
  // The samples just loaded into `file_samples` go to the graph.
  void PlotFileSamples(int count, int slot);

  ViewContext context_;
  FileChooser& chooser_;
  WaveFileHost& host_;
};

}  // namespace korvelane
