// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/trend_window.h"

#include <qcustomplot.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/views/measurement_si.h"

namespace korvelane {
namespace {

constexpr int kReplotDelayMs = 200;  // live rows are drawn at most this often
constexpr int kFigureDigits = 6;
const char* const kFigureNames[TrendWindow::kFigureCount] = {
    "Last:", "Minimum:", "Maximum:", "Mean:", "Failures:"};

// Combo entry n: channel n / 11 + 1, item n % 11.
int ChannelOf(int entry) {
  return entry / kMeasurementItemCount + 1;
}
int ItemOf(int entry) {
  return entry % kMeasurementItemCount;
}

// The SI value of a limit in its unit ("-999" "mV" is -0.999 V); nothing for an unknown unit.
std::optional<double> LimitValue(int32_t limit, const std::array<char, 4>& unit) {
  const std::optional<SiValue> value =
      ParseSiText(std::to_string(limit) + std::string(LimitUnitText(unit)));
  return value ? std::optional<double>(value->value) : std::nullopt;
}

QString FigureText(double value, const char* unit) {
  return QString::fromStdString(FormatSignificant(value, kFigureDigits) + " " + unit);
}

}  // namespace

TrendWindow::TrendWindow(const ViewTables& tables, MeasurementRecorder* recorder,
                         DialogRunner run_dialog, QWidget* parent)
    : QWidget(parent, Qt::Window),
      tables_(tables),
      recorder_(recorder),
      run_dialog_(std::move(run_dialog)) {
  setWindowTitle(QStringLiteral("Trend"));
  setAccessibleName(QStringLiteral("Trend"));
  measurement_box_ = new QComboBox(this);
  measurement_box_->setAccessibleName(QStringLiteral("Measurement"));
  for (int channel = 1; channel <= 2; ++channel) {
    for (int item = 0; item < kMeasurementItemCount; ++item)
      measurement_box_->addItem(QStringLiteral("CH%1 %2").arg(channel).arg(MeasurementItems[item]));
  }
  open_button_ = new QPushButton(QStringLiteral("Open..."), this);
  open_button_->setAccessibleName(QStringLiteral("Open..."));

  plot_ = new QCustomPlot(this);
  plot_->setAccessibleName(QStringLiteral("Trend plot"));
  plot_->setMinimumSize(480, 300);
  plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  plot_->addGraph();
  plot_->graph(0)->setPen(QPen(QColor(0, 90, 200)));
  QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
  ticker->setDateTimeFormat(QStringLiteral("hh:mm:ss\nyyyy-MM-dd"));
  plot_->xAxis->setTicker(ticker);
  for (QCPItemStraightLine*& line : limit_lines_) {
    line = new QCPItemStraightLine(plot_);
    line->setPen(QPen(QColor(200, 40, 40), 1, Qt::DashLine));
    line->setVisible(false);
  }

  auto* figures = new QFormLayout;
  for (int i = 0; i < kFigureCount; ++i) {
    figures_[static_cast<size_t>(i)] = new QLabel(this);
    figures_[static_cast<size_t>(i)]->setAccessibleName(
        QString::fromUtf8(kFigureNames[i]).chopped(1));
    figures->addRow(QString::fromUtf8(kFigureNames[i]), figures_[static_cast<size_t>(i)]);
  }
  auto* top = new QHBoxLayout;
  top->addWidget(measurement_box_, 1);
  top->addWidget(open_button_);
  auto* middle = new QHBoxLayout;
  middle->addWidget(plot_, 1);
  middle->addLayout(figures);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);

  replot_timer_ = new QTimer(this);
  replot_timer_->setSingleShot(true);
  replot_timer_->setInterval(kReplotDelayMs);
  connect(replot_timer_, &QTimer::timeout, this, [this] { ShowSeries(fitting_); });
  connect(measurement_box_, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this] { ShowSeries(true); });
  connect(open_button_, &QPushButton::clicked, this, &TrendWindow::ChooseRecording);
  // Zooming or panning holds the view where the user put it; a double click lets it follow again.
  connect(plot_, &QCustomPlot::mouseWheel, this, [this] { fitting_ = false; });
  connect(plot_, &QCustomPlot::mousePress, this, [this] { fitting_ = false; });
  connect(plot_, &QCustomPlot::mouseDoubleClick, this, [this] { ShowSeries(true); });
  if (recorder_) {
    recorder_->AddObserver(this);
    if (recorder_->recording())
      ShowRecordingUnderWay();
  }
  ShowSeries(true);
}

TrendWindow::~TrendWindow() {
  if (recorder_)
    recorder_->RemoveObserver(this);
}

bool TrendWindow::OpenRecording(const std::string& path) {
  TrendData data;
  std::string reason;
  if (!LoadRecording(path, data, reason)) {
    QMessageBox::warning(
        this, QStringLiteral("Error"),
        QString::fromStdString("The recording can't be read: " + path + "\n" + reason));
    return false;
  }
  data_ = std::move(data);
  following_recording_ = false;
  setWindowTitle(QStringLiteral("Trend - %1").arg(QString::fromStdString(path)));
  ShowSeries(true);
  return true;
}

void TrendWindow::ShowRecordingUnderWay() {
  if (!recorder_ || !recorder_->recording())
    return;
  // The rows so far are on the disk; the ones to come arrive as they are written.
  TrendData data;
  std::string reason;
  LoadRecording(recorder_->path(), data, reason);
  data_ = std::move(data);
  following_recording_ = true;
  setWindowTitle(
      QStringLiteral("Trend - %1 (recording)").arg(QString::fromStdString(recorder_->path())));
  ShowSeries(true);
}

void TrendWindow::RecorderChanged() {
  // A recording that starts while the window shows none, or shows the previous recording.
  if (recorder_->recording() && recorder_->rows_written() == 0 &&
      (following_recording_ || data_.rows() == 0))
    ShowRecordingUnderWay();
}

void TrendWindow::SampleRecorded(const MeasurementSample& sample) {
  if (!following_recording_)
    return;
  data_.Add(sample);
  if (!replot_timer_->isActive())
    replot_timer_->start();
}

void TrendWindow::ChooseRecording() {
  QFileDialog dialog(this, QStringLiteral("Open a recording"));
  dialog.setAccessibleName(dialog.windowTitle());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({QStringLiteral("Recording (*.csv)"), QStringLiteral("All files (*)")});
  if (RunModal(run_dialog_, dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return;
  OpenRecording(dialog.selectedFiles().first().toStdString());
}

void TrendWindow::ShowSeries(bool fit) {
  const int entry = measurement_box_->currentIndex();
  const int item = ItemOf(entry);
  const TrendSeries& series = data_.series(ChannelOf(entry), item);
  const std::vector<TrendPoint> points = series.Points();
  QVector<QCPGraphData> graph_data;
  graph_data.reserve(static_cast<int>(points.size()));
  for (const TrendPoint& point : points)
    graph_data.append(QCPGraphData(point.time, point.value));
  plot_->graph(0)->data()->set(graph_data, true);

  const TrendSummary& summary = series.summary();
  const char* unit = MeasurementItemUnit(item);
  const bool any = summary.values > 0;
  figures_[kLast]->setText(any ? FigureText(summary.last, unit) : QString());
  figures_[kMinimum]->setText(any ? FigureText(summary.minimum, unit) : QString());
  figures_[kMaximum]->setText(any ? FigureText(summary.maximum, unit) : QString());
  figures_[kMean]->setText(any ? FigureText(summary.mean, unit) : QString());
  figures_[kFailures]->setText(QString::number(summary.failures));
  plot_->yAxis->setLabel(QStringLiteral("%1 (%2)").arg(MeasurementItems[item], unit));
  ShowLimits(item);
  if (fit) {
    fitting_ = true;
    plot_->rescaleAxes();
  }
  Replot();
}

void TrendWindow::ShowLimits(int item) {
  const PassFailLimit& limit = tables_.limits[static_cast<size_t>(item)];
  const std::optional<double> values[2] = {LimitValue(limit.minimum, limit.minimum_unit),
                                           LimitValue(limit.maximum, limit.maximum_unit)};
  for (int i = 0; i < 2; ++i) {
    QCPItemStraightLine* line = limit_lines_[i];
    line->setVisible(tables_.limits_initialised && values[i].has_value());
    if (!line->visible())
      continue;
    line->point1->setCoords(0, *values[i]);
    line->point2->setCoords(1, *values[i]);
  }
}

void TrendWindow::Replot() {
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

}  // namespace korvelane
