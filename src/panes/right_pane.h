// The right pane: a page container showing exactly one of the welcome page and the four views,
// selected by index only.
#pragma once

#include <QStackedWidget>
#include <QWidget>

namespace korvelane {

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

  // Tab captions, in page order.
  static QString Caption(int index);

 private:
  QStackedWidget* pages_;
};

}  // namespace korvelane
