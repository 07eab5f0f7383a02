// SPDX-License-Identifier: GPL-3.0-or-later
// The shared open and save dialogs as the file commands reach them.
#pragma once

#include <string>

namespace korvelane {

// The kinds of files the shared dialogs offer; each has its own titles and filter.
namespace file_kind {
constexpr int kBitmap = 1;
constexpr int kWaveData = 2;
constexpr int kWaveMeasurement = 3;
constexpr int kScopeSetting = 4;
constexpr int kWaveGraph = 5;
// Exports for other programs; save dialogs only.
constexpr int kWaveCsvExport = 6;
constexpr int kMeasurementCsvExport = 7;
constexpr int kGraphExport = 8;
}  // namespace file_kind

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The open dialog of `kind`: the chosen full path, or an empty text when cancelled.
  virtual std::string ChooseFileToOpen(int kind) = 0;
  // The save dialog of `kind`, which asks before an existing file is replaced: the chosen full
  // path, or an empty text when cancelled.
  virtual std::string ChooseFileToSave(int kind) = 0;
};

}  // namespace korvelane
