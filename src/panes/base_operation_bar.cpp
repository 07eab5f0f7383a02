// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/base_operation_bar.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/logs/debug_log.h"
#include "panes/right_pane.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

struct GotoButton {
  const char* text;
  int index;
  const char* log_text;
};

constexpr GotoButton kGotoButtons[] = {
    {"Wave Graph", 1, "Goto the Wave Graph View"},
    {"Wave Data", 3, "Goto the Wave Data View"},
    {"Wave Measure", 4, "Goto the Wave Measurement View"},
    {"DSO Bitmap", 2, "Goto the DSO Bitmap View"},
};

struct OpenFileRow {
  const char* label;
  const char* log_text;
  int kind;
  int view;
};

constexpr OpenFileRow kOpenRowTexts[BaseOperationBar::kOpenRows] = {
    {"Graph file", "Open a Wave Graph file and show the view", kWaveGraphFile, kWaveGraphView},
    {"Data file", "Open a Wave Data file and show the view", kWaveDataFile, kWaveDataView},
    {"Measure file", "Open a Wave Measurement file and show the view", kWaveMeasurementFile,
     kWaveMeasurementView},
    {"Bitmap file", "Open a DSO Bitmap file and show the view", kBitmapFile, kDsoBitmapView},
};

// The current file reads like a text, not like a greyed read-only field.
constexpr const char* kCurrentFileStyle = "QLineEdit { color: black; background: white; }";

}  // namespace

BaseOperationBar::BaseOperationBar(std::function<bool(int)> select_view,
                                   std::function<void(const std::string&)> record,
                                   DebugLog& debug_log, QWidget* parent)
    : QWidget(parent),
      select_view_(std::move(select_view)),
      record_(std::move(record)),
      debug_log_(debug_log) {
  setAccessibleName(QStringLiteral("Base Oper"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildGotoGroup());
  layout->addWidget(BuildOpenFilesGroup());
  layout->addWidget(BuildSettingGroup());
  layout->addStretch(1);
  // The pane is 175 pixels wide: tight margins and buttons that may narrow keep two buttons side
  // by side without a scroll bar.
  layout->setContentsMargins(0, 0, 0, 0);
  for (QGroupBox* group : findChildren<QGroupBox*>()) {
    group->layout()->setContentsMargins(4, 4, 4, 4);
    group->layout()->setSpacing(4);
  }
  for (QPushButton* button : findChildren<QPushButton*>())
    button->setMinimumWidth(24);
}

QGroupBox* BaseOperationBar::BuildGotoGroup() {
  auto* group = new QGroupBox(QStringLiteral("Goto View"));
  group->setAccessibleName(group->title());
  auto* layout = new QVBoxLayout(group);
  for (const GotoButton& b : kGotoButtons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text));
    button->setAccessibleName(button->text());
    connect(button, &QPushButton::clicked, this, [this, b] {
      SelectView(b.index);
      record_(b.log_text);
    });
    layout->addWidget(button);
  }
  return group;
}

QGroupBox* BaseOperationBar::BuildOpenFilesGroup() {
  auto* group = new QGroupBox(QStringLiteral("Open Files"));
  group->setAccessibleName(group->title());
  auto* layout = new QGridLayout(group);
  for (int row = 0; row < kOpenRows; ++row) {
    const QString label = QString::fromUtf8(kOpenRowTexts[row].label);
    auto* text = new QLabel(label);
    text->setAccessibleName(label);
    auto* button = new QPushButton(QStringLiteral("..."));
    button->setAccessibleName(QStringLiteral("Open ") + label);
    button->setToolTip(QString::fromUtf8(kOpenRowTexts[row].log_text));
    connect(button, &QPushButton::clicked, this, [this, row] { OpenFile(row); });
    layout->addWidget(text, row, 0);
    layout->addWidget(button, row, 1);
    open_buttons_[static_cast<size_t>(row)] = button;
  }
  layout->setColumnStretch(0, 1);
  return group;
}

QPushButton* BaseOperationBar::AddSettingButton(SettingButton which, const char* text) {
  auto* button = new QPushButton(QString::fromUtf8(text));
  button->setAccessibleName(button->text());
  connect(button, &QPushButton::clicked, this, [this, which] { RunSetting(which); });
  setting_buttons_[static_cast<size_t>(which)] = button;
  return button;
}

QGroupBox* BaseOperationBar::BuildSettingGroup() {
  auto* group = new QGroupBox(QStringLiteral("Device Setting Oper"));
  group->setAccessibleName(group->title());
  auto* layout = new QGridLayout(group);
  layout->addWidget(AddSettingButton(SettingButton::kUpload, "Upload"), 0, 0);
  open_setting_ = new QPushButton(QStringLiteral("Open"));
  open_setting_->setAccessibleName(QStringLiteral("Open Setting file"));
  connect(open_setting_, &QPushButton::clicked, this, [this] {
    if (settings_)
      settings_->Open();
  });
  layout->addWidget(open_setting_, 0, 1);
  layout->addWidget(AddSettingButton(SettingButton::kSave, "Save"), 1, 0);
  layout->addWidget(AddSettingButton(SettingButton::kSaveAs, "Save As"), 1, 1);
  layout->addWidget(AddSettingButton(SettingButton::kDownload, "Download"), 2, 0, 1, 2);
  auto* label = new QLabel(QString::fromUtf8("Current file："));
  label->setAccessibleName(QStringLiteral("Current file"));
  layout->addWidget(label, 3, 0, 1, 2);
  current_file_ = new QLineEdit;
  current_file_->setAccessibleName(QStringLiteral("Current file"));
  current_file_->setReadOnly(true);
  current_file_->setStyleSheet(QString::fromLatin1(kCurrentFileStyle));
  label->setBuddy(current_file_);
  layout->addWidget(current_file_, 4, 0, 1, 2);
  // Nothing to upload, download or save until the setting commands say so.
  for (QPushButton* button : setting_buttons_)
    button->setEnabled(false);
  return group;
}

void BaseOperationBar::SelectView(int index) {
  if (!select_view_) {
    debug_log_.WriteDebugLog("基本操作面板中，获取主框架窗口指针失败", kNormal);
    return;
  }
  if (!select_view_(index))
    debug_log_.WriteDebugLog("转到选定的视图界面失败", kWarning);
}

void BaseOperationBar::AttachFiles(FileDialogs* dialogs, RightPane* right_pane,
                                   SettingCommands* settings) {
  dialogs_ = dialogs;
  right_pane_ = right_pane;
  settings_ = settings;
  if (settings_)
    settings_->AttachForm(this);
}

void BaseOperationBar::OpenFile(int row) {
  if (row < 0 || row >= kOpenRows)
    return;
  const OpenFileRow& r = kOpenRowTexts[row];
  record_(r.log_text);
  if (!dialogs_ || dialogs_->OpenFileDialog(r.kind) == 0)
    return;
  SelectView(r.view);
  if (!right_pane_) {
    debug_log_.WriteDebugLog("基本操作面板中，获取左窗口指针失败", kNormal);
    return;
  }
  const std::string& path = dialogs_->open_path();
  switch (r.kind) {
    case kWaveGraphFile:
      right_pane_->OpenGraphFile(path);
      break;
    case kWaveDataFile:
      right_pane_->OpenWaveDataFile(path);
      break;
    case kWaveMeasurementFile:
      right_pane_->OpenMeasurementFile(path);
      break;
    case kBitmapFile:
      right_pane_->OpenBitmapFile(path);
      break;
    default:
      break;
  }
}

void BaseOperationBar::RunSetting(SettingButton button) {
  if (!settings_)
    return;
  switch (button) {
    case SettingButton::kUpload:
      settings_->Upload();
      break;
    case SettingButton::kDownload:
      settings_->Download();
      break;
    case SettingButton::kSave:
      settings_->Save();
      break;
    case SettingButton::kSaveAs:
      settings_->SaveAs();
      break;
  }
}

QPushButton* BaseOperationBar::open_button(int row) const {
  return row >= 0 && row < kOpenRows ? open_buttons_[static_cast<size_t>(row)] : nullptr;
}

QPushButton* BaseOperationBar::setting_button(SettingButton button) const {
  return setting_buttons_[static_cast<size_t>(button)];
}

void BaseOperationBar::EnableSettingButton(SettingButton button, bool enable) {
  setting_button(button)->setEnabled(enable);
}

void BaseOperationBar::ShowCurrentFile(const std::string& text) {
  current_file_->setText(QString::fromStdString(text));
  current_file_->setToolTip(current_file_->text());
  current_file_->setCursorPosition(0);
}

}  // namespace korvelane
