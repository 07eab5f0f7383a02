// SPDX-License-Identifier: GPL-3.0-or-later
// The right pane: a page container showing exactly one of the welcome page and the four views,
// selected by index only.
#pragma once

#include <QStackedWidget>
#include <QWidget>
#include <string>

namespace korvelane {

class WaveFileCommands;

enum ViewIndex : int {
  kWelcomePage = 0,
  kWaveGraphView = 1,
  kDsoBitmapView = 2,
  kWaveDataView = 3,
  kWaveMeasurementView = 4,
  kPageCount = 5,
};

class RightPane : public QWidget {
  Q_OBJECT

 public:
  explicit RightPane(QWidget* parent = nullptr);

  // Brings page `index` to the front; false for an index without a page.
  bool SelectView(int index);
  int current_index() const { return pages_->currentIndex(); }
  QWidget* page(int index) const { return pages_->widget(index); }
  // Replaces the page at `index` (a view taking the place of its placeholder).
  void SetPage(int index, QWidget* page);

  // Open bitmap file: loads `open_path` into the DSO Bitmap view with the path as its title,
  // then disables the view's "Alter Title". 1 when the view took the file, 0 otherwise.
  int OpenBitmapFile(const std::string& open_path);

  // The commands that load wave files into the views; null until the views exist.
  void SetWaveFiles(WaveFileCommands* files) { wave_files_ = files; }
  // Open wave data file (".wdf") and open wave measurement file (".wmf"): into a free slot,
  // hidden on the graph. Open graph file: the Wave Graph view's reader, shown on the graph.
  // True when the file was loaded.
  bool OpenWaveDataFile(const std::string& open_path);
  bool OpenMeasurementFile(const std::string& open_path);
  bool OpenGraphFile(const std::string& open_path);

  // Tab captions, in page order.
  static QString Caption(int index);

 private:
  QStackedWidget* pages_;
  WaveFileCommands* wave_files_ = nullptr;
};

}  // namespace korvelane
