// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/select_chan_dlg.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>

#include "views/dialog_units.h"

namespace korvelane {
namespace {

// Dialog units.
constexpr int kWidth = 110, kHeight = 142;
constexpr int kRadioX = 30, kRadioTop = 8, kRadioStep = 14, kRadioWidth = 60, kRadioHeight = 10;
constexpr int kButtonTop = 118, kButtonWidth = 44, kButtonHeight = 14;
constexpr int kOkX = 7, kCancelX = 59;

constexpr const char* kRadioTexts[kSlotCount] = {"CH 1",   "CH 2",   "Chan 3", "Chan 4",
                                                 "Chan 5", "Chan 6", "Chan 7"};

}  // namespace

CSelectChanDlg::CSelectChanDlg(const WaveSlotTable& slot_table, SelectChanMode mode,
                               QWidget* parent)
    : QDialog(parent), mode_(mode) {
  setWindowTitle(QStringLiteral("Select the Chan"));
  setAccessibleName(QStringLiteral("Select the Chan"));
  const DialogUnits units(font());
  setFixedSize(units.X(kWidth), units.Y(kHeight));

  const SelectChanChoice choice = OpenSelectChan(slot_table, mode);
  group_ = new QButtonGroup(this);
  group_->setExclusive(true);
  for (int index = 0; index < kSlotCount; ++index) {
    const QString text = QString::fromLatin1(kRadioTexts[index]);
    auto* radio = new QRadioButton(text, this);
    radio->setAccessibleName(text);
    radio->setGeometry(
        units.Rect(kRadioX, kRadioTop + index * kRadioStep, kRadioWidth, kRadioHeight));
    radio->setEnabled(choice.enabled[static_cast<size_t>(index)]);
    group_->addButton(radio, index);
    radios_[static_cast<size_t>(index)] = radio;
  }
  // With no slot to choose, "CH 1" stays checked though disabled.
  radios_[static_cast<size_t>(choice.selection)]->setChecked(true);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setAccessibleName(QStringLiteral("OK"));
  ok_->setGeometry(units.Rect(kOkX, kButtonTop, kButtonWidth, kButtonHeight));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setAccessibleName(QStringLiteral("Cancel"));
  cancel_->setGeometry(units.Rect(kCancelX, kButtonTop, kButtonWidth, kButtonHeight));
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

int CSelectChanDlg::selection() const {
  const int checked = group_->checkedId();
  return checked >= 0 ? checked : 0;
}

QRadioButton* CSelectChanDlg::radio(int index) const {
  return index >= 0 && index < kSlotCount ? radios_[static_cast<size_t>(index)] : nullptr;
}

std::optional<int> SelectChannel(ViewTables& tables, SelectChanMode mode,
                                 const DialogRunner& run_dialog, QWidget* parent) {
  CSelectChanDlg dialog(tables.wave_slots, mode, parent);
  if (RunModal(run_dialog, dialog) != QDialog::Accepted)
    return std::nullopt;
  tables.selected_channel = dialog.selection();
  return dialog.selection() + 1;
}

}  // namespace korvelane
