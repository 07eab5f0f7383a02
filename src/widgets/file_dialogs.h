// SPDX-License-Identifier: GPL-3.0-or-later
// The shared open and save dialogs for the five kinds of files, and the open path and save path
// they leave behind for the views and the right pane.
#pragma once

#include <QStringList>
#include <functional>
#include <string>

class QFileDialog;
class QWidget;

namespace korvelane {

enum FileKind : int {
  kBitmapFile = 1,
  kWaveDataFile = 2,
  kWaveMeasurementFile = 3,
  kScopeSettingFile = 4,
  kWaveGraphFile = 5,
  // Exports for other programs; save dialogs only.
  kWaveCsvExport = 6,
  kMeasurementCsvExport = 7,
  kGraphExport = 8,
};

// One dialog as it is to be shown.
struct FileDialogRequest {
  bool save = false;
  std::string title;
  // Pairs of display text and pattern separated by "|", ended by an empty pair.
  std::string filter;
  std::string folder;
  std::string initial_name;
  // Added to a chosen name that has no extension.
  std::string default_extension;
};

// Shows a dialog; the chosen full path, or an empty text when the user cancelled. Tests put a
// script in its place.
using FileDialogRunner = std::function<std::string(const FileDialogRequest& request)>;

class FileDialogs {
 public:
  // `initial_path` gives the folder every dialog starts in.
  explicit FileDialogs(std::function<std::string()> initial_path, QWidget* parent = nullptr);

  // 1 when a file was chosen (its path becomes the open path, whatever its length: the opener
  // refuses what it cannot open), 0 when cancelled or for a kind outside 1..5.
  int OpenFileDialog(int kind);
  // 1 when a name was chosen (it becomes the save path), 0 when cancelled, for a kind outside
  // 2..8 or for a path longer than 260 characters. For graph files a name with neither ".csv"
  // nor ".wdf" gets ".wdf".
  int SaveFileDialog(int kind);
  // A dialog of the caller's own making: the chosen path, with the default extension added
  // where it has none, or an empty text. Neither stored path changes.
  std::string Run(const FileDialogRequest& request);

  const std::string& open_path() const { return open_path_; }
  const std::string& save_path() const { return save_path_; }
  std::string initial_path() const { return initial_path_ ? initial_path_() : std::string(); }

  void set_runner(FileDialogRunner runner);

  // The request of a kind's open or save dialog, starting in `folder`; an empty title for a
  // kind that has no such dialog.
  static FileDialogRequest Request(int kind, bool save, const std::string& folder);
  // The filter text of a kind ("bitmap file (*.bmp) |*.bmp| |" for bitmaps).
  static std::string Filter(int kind);
  // The filter as Qt's name filters, one for each pair.
  static QStringList NameFilters(const std::string& filter);
  // `path` with ".`extension`" appended when its file name has no extension.
  static std::string WithDefaultExtension(const std::string& path, const std::string& extension);

 private:
  std::function<std::string()> initial_path_;
  QWidget* parent_;
  FileDialogRunner runner_;
  std::string open_path_;
  std::string save_path_;
};

// A name typed without an extension gets the one of the filter chosen in `dialog`.
void FollowFilterSuffix(QFileDialog& dialog);

// The platform's dialog for a request.
std::string RunQtFileDialog(QWidget* parent, const FileDialogRequest& request);

}  // namespace korvelane
