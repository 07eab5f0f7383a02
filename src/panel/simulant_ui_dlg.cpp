// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/simulant_ui_dlg.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "panel/knob_arrows.h"
#include "panel/lamp_button.h"

namespace korvelane {
namespace {

constexpr int kKeyWidth = 84;
constexpr int kKeyHeight = 28;
constexpr int kKnobPressSize = 26;
constexpr int kKnobIconSize = 18;
constexpr int kKnobTextWidth = 200;

// The indicator lamp: dark when off, green when on.
constexpr LampColours kIndicatorColours{LampRgb(0x3C, 0x44, 0x3C), kLampGreen};

// An instrument's bezel: dark panel, light keys, framed groups, a small display for the knob.
constexpr const char* kPanelStyle = R"(
QDialog#virtualPane { background-color: #2e3136; }
QGroupBox {
  color: #dfe3e8; border: 1px solid #5b6068; border-radius: 6px;
  margin-top: 10px; padding: 6px 6px 6px 6px; font-weight: bold;
}
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top center; padding: 0 4px; }
QLabel { color: #dfe3e8; }
QLabel#knobCaption { color: #aab1ba; }
QLabel#knobText {
  background-color: #0f1519; color: #8ff0a4; border: 1px solid #000000;
  border-radius: 3px; padding: 2px 6px;
}
QPushButton {
  background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f6f6f6, stop:1 #d0d0d0);
  color: #202020; border: 1px solid #15171a; border-radius: 4px; padding: 2px 6px;
  font-weight: bold;
}
QPushButton:pressed { background-color: #b4b4b4; }
QPushButton:focus { border: 2px solid #3d8ef0; }
QToolButton {
  background-color: #4b4f56; color: #e6e6e6; border: 1px solid #15171a; border-radius: 3px;
}
QToolButton:pressed { background-color: #6a7078; }
QToolButton:focus { border: 1px solid #3d8ef0; }
)";

}  // namespace

CSimulantUIDlg::CSimulantUIDlg(const PanelContext& context, QWidget* parent, ActionRunner runner)
    : QDialog(parent), panel_(context, *this), runner_(std::move(runner)) {
  setObjectName(QStringLiteral("virtualPane"));
  setWindowTitle(QStringLiteral("Virtual Pane"));
  setAccessibleName(windowTitle());
  // A caption without a close box; "Close" ends the panel.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);
  setStyleSheet(QString::fromLatin1(kPanelStyle));

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // not resizable
  layout->setContentsMargins(12, 10, 12, 12);
  layout->setSpacing(10);

  auto* top = new QHBoxLayout;
  top->addWidget(BuildHorizontal(), 1);
  top->addWidget(BuildRunControl());
  layout->addLayout(top);
  layout->addWidget(BuildTopRow());

  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildMenuKeys());
  middle->addWidget(BuildVertical());
  middle->addWidget(BuildRightColumn(), 0, Qt::AlignTop);
  layout->addLayout(middle);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(BuildKnobStatus(), 1);
  auto* closing = new QVBoxLayout;
  closing->addStretch(1);
  refresh_ = new QPushButton(QStringLiteral("Refresh"));
  refresh_->setAccessibleName(QStringLiteral("Refresh"));
  close_ = new QPushButton(QStringLiteral("Close"));
  close_->setAccessibleName(QStringLiteral("Close"));
  for (QPushButton* button : {refresh_, close_}) {
    button->setAutoDefault(false);
    button->setFixedSize(kKeyWidth + 8, kKeyHeight);
    closing->addWidget(button);
  }
  bottom->addLayout(closing);
  layout->addLayout(bottom);

  connect(refresh_, &QPushButton::clicked, this, [this] { Run([this] { panel_.Refresh(); }); });
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  panel_.PrepareOpening();
  refresh_->setVisible(panel_.Open());
  close_->setFocus();
}

CSimulantUIDlg::~CSimulantUIDlg() = default;

void CSimulantUIDlg::Run(const std::function<void()>& action) {
  if (runner_) {
    runner_(action);
  } else {
    action();
  }
}

QGroupBox* CSimulantUIDlg::Group(const QString& title, const QString& accessible_name) {
  auto* group = new QGroupBox(title);
  group->setAccessibleName(accessible_name);
  return group;
}

QAbstractButton* CSimulantUIDlg::Key(uint8_t code) {
  const PanelKeyEntry* entry = FindPanelKey(code);
  const QString caption = QString::fromUtf8(entry->caption);
  QAbstractButton* key = nullptr;
  if (entry->lamp != kNoLamp) {
    auto* lamp = new LampButton(LampButton::Kind::kKey);
    lamps_[entry->lamp] = lamp;
    key = lamp;
  } else {
    auto* push = new QPushButton;
    push->setAutoDefault(false);
    key = push;
  }
  key->setText(caption);
  key->setAccessibleName(caption);
  key->setFixedSize(kKeyWidth, kKeyHeight);
  keys_[code] = key;
  connect(key, &QAbstractButton::clicked, this,
          [this, code] { Run([this, code] { panel_.PressKey(code); }); });
  return key;
}

KnobArrows* CSimulantUIDlg::Knob(int knob, const QString& caption) {
  const PanelKnobEntry& entry = kPanelKnobs[KnobRow(knob)];
  auto* arrows = new KnobArrows(caption, QString::fromUtf8(entry.name));
  knobs_[knob] = arrows;
  connect(arrows, &KnobArrows::Stepped, this,
          [this, knob](int direction) { panel_.StepKnob(knob, direction); });
  return arrows;
}

QAbstractButton* CSimulantUIDlg::KnobPress(uint8_t code) {
  const KnobPressEntry* entry = FindKnobPress(code);
  const QString name = QString::fromUtf8(kPanelKnobs[KnobRow(entry->knob)].name);
  auto* press = new QToolButton;
  press->setIcon(QIcon(KnobPixmap(kKnobIconSize, devicePixelRatioF())));
  press->setIconSize(QSize(kKnobIconSize, kKnobIconSize));
  press->setFixedSize(kKnobPressSize, kKnobPressSize);
  press->setAccessibleName(name + QStringLiteral(" press"));
  press->setToolTip(QStringLiteral("Press the ") + name);
  knob_presses_[code] = press;
  connect(press, &QToolButton::clicked, this,
          [this, code] { Run([this, code] { panel_.PressKnob(code); }); });
  return press;
}

QWidget* CSimulantUIDlg::BuildHorizontal() {
  QGroupBox* group = Group(QStringLiteral("HORIZONTAL"), QStringLiteral("HORIZONTAL"));
  auto* row = new QHBoxLayout(group);
  row->addWidget(Knob(kKnobSdiv, QStringLiteral("S/div")));
  row->addWidget(KnobPress(kKeySdivPress), 0, Qt::AlignBottom);
  row->addStretch(1);
  row->addWidget(Key(kKeyHoriMenu), 0, Qt::AlignBottom);
  row->addStretch(1);
  row->addWidget(Knob(kKnobHorPosition, QStringLiteral("Position")));
  return group;
}

QWidget* CSimulantUIDlg::BuildRunControl() {
  QGroupBox* group = Group(QStringLiteral("RUN CONTROL"), QStringLiteral("RUN CONTROL"));
  auto* row = new QHBoxLayout(group);
  row->addWidget(Key(kKeyRunStop), 0, Qt::AlignBottom);
  row->addWidget(Key(kKeySingle), 0, Qt::AlignBottom);
  return group;
}

QWidget* CSimulantUIDlg::BuildTopRow() {
  auto* strip = new QWidget;
  strip->setAccessibleName(QStringLiteral("Top keys"));
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(0, 0, 0, 0);
  const uint8_t codes[] = {kKeyCursor,  kKeyMeasure,      kKeyAcquire,
                           kKeyDisplay, kKeyDefaultSetup, kKeyAuto};
  for (uint8_t code : codes) {
    if (code != codes[0])
      row->addStretch(1);
    row->addWidget(Key(code));
  }
  return strip;
}

QWidget* CSimulantUIDlg::BuildMenuKeys() {
  QGroupBox* group = Group(QString(), QStringLiteral("Menu keys"));
  auto* column = new QVBoxLayout(group);
  column->setSpacing(12);
  column->addStretch(1);
  for (uint8_t code : {kKeyMb1, kKeyMb2, kKeyMb3, kKeyMb4, kKeyMb5}) {
    column->addWidget(Key(code));
    column->addStretch(1);
  }
  return group;
}

QWidget* CSimulantUIDlg::BuildVertical() {
  QGroupBox* group = Group(QStringLiteral("VERTICAL"), QStringLiteral("VERTICAL"));
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(8);
  // Rows 2 and 5 are free space that keeps the knobs at the top and the bottom.
  grid->addWidget(Knob(kKnobCh1Vdiv, QStringLiteral("CH1 V/div")), 0, 0);
  grid->addWidget(Knob(kKnobCh2Vdiv, QStringLiteral("CH2 V/div")), 0, 2);
  grid->addWidget(KnobPress(kKeyCh1VdivPress), 1, 0, Qt::AlignHCenter);
  grid->addWidget(KnobPress(kKeyCh2VdivPress), 1, 2, Qt::AlignHCenter);
  grid->addWidget(Key(kKeyCh1), 3, 0, Qt::AlignHCenter);
  grid->addWidget(Key(kKeyMath), 3, 1, Qt::AlignHCenter);
  grid->addWidget(Key(kKeyCh2), 3, 2, Qt::AlignHCenter);
  grid->addWidget(Key(kKeyRef), 4, 1, Qt::AlignHCenter);
  grid->addWidget(Knob(kKnobCh1VerPosition, QStringLiteral("CH1 Position")), 6, 0);
  grid->addWidget(Knob(kKnobCh2VerPosition, QStringLiteral("CH2 Position")), 6, 2);
  grid->setRowStretch(2, 1);
  grid->setRowStretch(5, 1);
  return group;
}

QWidget* CSimulantUIDlg::BuildRightColumn() {
  auto* column_widget = new QWidget;
  column_widget->setAccessibleName(QStringLiteral("Save and utility keys"));
  auto* column = new QVBoxLayout(column_widget);
  column->setContentsMargins(0, 10, 0, 0);
  column->setSpacing(8);
  auto* save_row = new QHBoxLayout;
  save_row->addWidget(Key(kKeySave));
  indicator_ = new LampButton(LampButton::Kind::kIndicator);
  indicator_->setAccessibleName(QStringLiteral("Indicator lamp"));
  indicator_->SetColours(kIndicatorColours);
  save_row->addWidget(indicator_);
  save_row->addStretch(1);
  column->addLayout(save_row);
  column->addWidget(Key(kKeyUtility), 0, Qt::AlignLeft);
  column->addWidget(Knob(kKnobUniversal, QStringLiteral("Universal")));
  column->addWidget(BuildTrigger());
  return column_widget;
}

QWidget* CSimulantUIDlg::BuildTrigger() {
  QGroupBox* group = Group(QStringLiteral("TRIGGER"), QStringLiteral("TRIGGER"));
  auto* column = new QVBoxLayout(group);
  column->setSpacing(6);
  for (uint8_t code : {kKeyTrigMenu, kKeyForce, kKeySetTo50})
    column->addWidget(Key(code), 0, Qt::AlignHCenter);
  column->addWidget(Knob(kKnobLevel, QStringLiteral("Level")));
  return group;
}

QWidget* CSimulantUIDlg::BuildKnobStatus() {
  QGroupBox* group = Group(QString(), QStringLiteral("Knob status"));
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(8);
  auto* current_caption = new QLabel(QStringLiteral("Current Knob:"));
  current_caption->setAccessibleName(QStringLiteral("Current Knob caption"));
  auto* scale_caption = new QLabel(QStringLiteral("Knob Scale："));
  scale_caption->setAccessibleName(QStringLiteral("Knob Scale caption"));
  current_knob_ = new QLabel;
  current_knob_->setAccessibleName(QStringLiteral("Current Knob"));
  knob_scale_ = new QLabel;
  knob_scale_->setAccessibleName(QStringLiteral("Knob Scale"));
  // The step count is right-aligned in its format, so the display keeps fixed-width figures.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (QLabel* text : {current_knob_, knob_scale_}) {
    text->setObjectName(QStringLiteral("knobText"));
    text->setFont(fixed);
    text->setMinimumWidth(kKnobTextWidth);
    text->setTextFormat(Qt::PlainText);
  }
  knob_done_ = new QPushButton(QStringLiteral("Knob Done"));
  knob_done_->setAccessibleName(QStringLiteral("Knob Done"));
  knob_done_->setAutoDefault(false);
  knob_done_->setFixedSize(kKeyWidth + 16, kKeyHeight);
  connect(knob_done_, &QPushButton::clicked, this, [this] { Run([this] { panel_.KnobDone(); }); });
  grid->addWidget(current_caption, 0, 0);
  grid->addWidget(current_knob_, 0, 1);
  grid->addWidget(scale_caption, 1, 0);
  grid->addWidget(knob_scale_, 1, 1);
  grid->addWidget(knob_done_, 0, 2, 2, 1, Qt::AlignVCenter);
  grid->setColumnStretch(1, 1);
  return group;
}

QAbstractButton* CSimulantUIDlg::key_button(uint8_t code) const {
  auto it = keys_.find(code);
  return it == keys_.end() ? nullptr : it->second;
}

LampButton* CSimulantUIDlg::lamp_button(int lamp) const {
  auto it = lamps_.find(lamp);
  return it == lamps_.end() ? nullptr : it->second;
}

QAbstractButton* CSimulantUIDlg::knob_arrow(int knob, int direction) const {
  auto it = knobs_.find(knob);
  return it == knobs_.end() ? nullptr : it->second->arrow(direction);
}

QAbstractButton* CSimulantUIDlg::knob_press_button(uint8_t code) const {
  auto it = knob_presses_.find(code);
  return it == knob_presses_.end() ? nullptr : it->second;
}

void CSimulantUIDlg::SetLampColours(int lamp, const LampColours& colours) {
  if (LampButton* button = lamp_button(lamp))
    button->SetColours(colours);
}

void CSimulantUIDlg::SetIndicator(bool on) {
  indicator_->SetValue(on);
}

void CSimulantUIDlg::ShowKnobTexts(const std::string& current_knob, const std::string& knob_scale) {
  current_knob_->setText(QString::fromStdString(current_knob));
  knob_scale_->setText(QString::fromStdString(knob_scale));
}

LampColour CSimulantUIDlg::ButtonFaceColour() const {
  return LampButton::FromQColor(QGuiApplication::palette().color(QPalette::Button));
}

}  // namespace korvelane
