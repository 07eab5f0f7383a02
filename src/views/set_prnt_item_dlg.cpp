// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/set_prnt_item_dlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/views/dialog_fields.h"
#include "core/views/wave_data_controller.h"
#include "views/dialog_units.h"

namespace korvelane {
namespace {

// Dialog units.
constexpr int kWidth = 186, kHeight = 94;
using Place = DialogPlace;
constexpr Place kGroup{7, 5, 172, 60};
constexpr Place kNote{14, 18, 158, 10};
constexpr Place kStartLabel{16, 40, 24, 8};
constexpr Place kStartField{42, 38, 42, 13};
constexpr Place kEndLabel{100, 40, 18, 8};
constexpr Place kEndField{120, 38, 42, 13};
constexpr Place kOk{36, 72, 50, 14};
constexpr Place kCancel{100, 72, 50, 14};

}  // namespace

CSetPrntItemDlg::CSetPrntItemDlg(UserInterface& ui, int start, int end, QWidget* parent)
    : QDialog(parent), ui_(ui), start_(start), end_(end) {
  setWindowTitle(QStringLiteral("Select the list item to print"));
  setAccessibleName(QStringLiteral("Select the list item to print"));
  const DialogUnits units(font());
  setFixedSize(units.X(kWidth), units.Y(kHeight));

  auto* group = new QGroupBox(QStringLiteral("Print items"), this);
  group->setAccessibleName(QStringLiteral("Print items"));
  group->setGeometry(units.Rect(kGroup));
  auto* note = new QLabel(QStringLiteral("Set the Start and End items of the list to print"), this);
  note->setAccessibleName(note->text());
  note->setGeometry(units.Rect(kNote));

  auto add_field = [&](const QString& caption, const Place& label_place, const Place& place,
                       int value) {
    auto* label = new QLabel(caption, this);
    label->setAccessibleName(caption);
    label->setGeometry(units.Rect(label_place));
    auto* field = new QLineEdit(QString::number(value), this);
    field->setAccessibleName(caption.chopped(1));
    field->setGeometry(units.Rect(place));
    label->setBuddy(field);
    return field;
  };
  start_field_ = add_field(QStringLiteral("Start:"), kStartLabel, kStartField, start);
  end_field_ = add_field(QStringLiteral("End:"), kEndLabel, kEndField, end);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setAccessibleName(QStringLiteral("OK"));
  ok_->setGeometry(units.Rect(kOk));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setAccessibleName(QStringLiteral("Cancel"));
  cancel_->setGeometry(units.Rect(kCancel));
  connect(ok_, &QPushButton::clicked, this, &CSetPrntItemDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  start_field_->setFocus();
}

void CSetPrntItemDlg::accept() {
  const PrintRangeCheck check =
      ReadPrintRange(start_field_->text().toStdString(), end_field_->text().toStdString());
  if (!check.ok()) {
    QLineEdit* field = check.bad_field == PrintRangeCheck::kStart ? start_field_ : end_field_;
    ui_.ShowMessage(check.refusal, kFieldRefusalCaption, MessageIcon::kExclamation);
    field->setFocus();
    field->selectAll();
    return;
  }
  start_ = check.first;
  end_ = check.last;
  QDialog::accept();
}

}  // namespace korvelane
