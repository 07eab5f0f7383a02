// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/right_pane.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/files/wave_file_commands.h"
#include "panes/welcome_page.h"
#include "widgets/bitmap_page.h"

namespace korvelane {
namespace {

constexpr int kPageMargin = 5;

const char* const kCaptions[kPageCount] = {"欢迎", "示波器", "界面", "数据", "测量值"};
const char* const kViewNames[kPageCount] = {"Welcome", "Wave Graph", "DSO Bitmap", "Wave Data",
                                            "Wave Measurement"};

QWidget* Placeholder(int index) {
  auto* label = new QLabel(QString::fromUtf8(kViewNames[index]));
  label->setAlignment(Qt::AlignCenter);
  label->setAccessibleName(QString::fromUtf8(kViewNames[index]));
  return label;
}

}  // namespace

QString RightPane::Caption(int index) {
  return index >= 0 && index < kPageCount ? QString::fromUtf8(kCaptions[index]) : QString();
}

RightPane::RightPane(QWidget* parent) : QWidget(parent), pages_(new QStackedWidget(this)) {
  setAccessibleName(QStringLiteral("Views"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
  layout->addWidget(pages_);
  pages_->addWidget(new WelcomePage);
  for (int i = kWaveGraphView; i < kPageCount; ++i)
    pages_->addWidget(Placeholder(i));
  for (int i = 0; i < kPageCount; ++i)
    pages_->widget(i)->setWindowTitle(Caption(i));
  pages_->setCurrentIndex(kWelcomePage);
}

bool RightPane::SelectView(int index) {
  if (index < 0 || index >= pages_->count())
    return false;
  pages_->setCurrentIndex(index);
  return true;
}

void RightPane::SetPage(int index, QWidget* page) {
  if (index <= kWelcomePage || index >= pages_->count() || !page)
    return;
  const int current = pages_->currentIndex();
  QWidget* old = pages_->widget(index);
  pages_->insertWidget(index, page);
  pages_->removeWidget(old);
  delete old;
  page->setWindowTitle(Caption(index));
  pages_->setCurrentIndex(current);
}

int RightPane::OpenBitmapFile(const std::string& open_path) {
  auto* view = dynamic_cast<BitmapPage*>(page(kDsoBitmapView));
  return view && view->OpenPictureFile(open_path) ? 1 : 0;
}

bool RightPane::OpenWaveDataFile(const std::string& open_path) {
  return wave_files_ && wave_files_->OpenWaveDataFile(open_path);
}

bool RightPane::OpenMeasurementFile(const std::string& open_path) {
  return wave_files_ && wave_files_->OpenMeasurementFile(open_path);
}

bool RightPane::OpenGraphFile(const std::string& open_path) {
  return wave_files_ && wave_files_->LoadWaveGraphFile(open_path);
}

}  // namespace korvelane
