// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/set_pass_fail_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/protocol/measurement_record.h"
#include "views/dialog_units.h"

namespace korvelane {
namespace {

// Dialog units.
constexpr int kWidth = 195, kHeight = 210;
using Place = DialogPlace;
constexpr Place kSettingsGroup{7, 5, 181, 176};
constexpr Place kTypeGroup{14, 16, 167, 32};
constexpr Place kMeasureType{22, 29, 96, 14};
constexpr Place kEnable{128, 31, 46, 10};
constexpr Place kRangeGroup{14, 52, 167, 98};
constexpr Place kUnderGroup{21, 63, 153, 36};
constexpr Place kMinimumLabel{28, 80, 38, 8};
constexpr Place kMinimum{68, 78, 44, 13};
constexpr Place kMinimumUnit{120, 78, 46, 14};
constexpr Place kOverGroup{21, 106, 153, 36};
constexpr Place kMaximumLabel{28, 123, 38, 8};
constexpr Place kMaximum{68, 121, 44, 13};
constexpr Place kMaximumUnit{120, 121, 46, 14};
constexpr Place kNote{16, 155, 163, 20};
constexpr Place kOk{40, 188, 50, 14};
constexpr Place kCancel{105, 188, 50, 14};

const QColor kFieldBackground(185, 185, 245);

// Selects the unit a limit names in its box: the first entry beginning with it, ignoring case;
// otherwise the text as stored.
void ShowUnit(QComboBox* box, const std::vector<std::string>& family, std::string_view stored) {
  const int entry = FindUnitEntry(family, stored);
  box->setCurrentIndex(entry);
  if (entry < 0)
    box->setEditText(QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size())));
}

}  // namespace

CSetPassFailDlg::CSetPassFailDlg(ViewTables& tables, UserInterface& ui, QWidget* parent)
    : QDialog(parent), setting_(tables, ui, static_cast<PassFailSettingForm&>(*this)) {
  setWindowTitle(QStringLiteral("Pass|Fail setting"));
  setAccessibleName(QStringLiteral("Pass|Fail setting"));
  BuildControls();
  setting_.Open();
  // Also a toggle through the accessibility bus, which comes without a click; the dialog's own
  // changes of the check are silent.
  connect(enable_, &QCheckBox::toggled, this,
          [this](bool checked) { setting_.EnableClicked(checked); });
  connect(measure_type_, &QComboBox::currentIndexChanged, this,
          [this](int item) { setting_.MeasureTypeChanged(item); });
  connect(ok_, &QPushButton::clicked, this, &CSetPassFailDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &CSetPassFailDlg::reject);
}

void CSetPassFailDlg::BuildControls() {
  const DialogUnits units(font());
  setFixedSize(units.X(kWidth), units.Y(kHeight));
  auto add_group = [&](const QString& title, const Place& place) {
    auto* group = new QGroupBox(title, this);
    group->setAccessibleName(title);
    group->setGeometry(units.Rect(place));
    return group;
  };
  auto add_label = [&](const QString& text, const Place& place) {
    auto* label = new QLabel(text, this);
    label->setAccessibleName(text);
    label->setGeometry(units.Rect(place));
    return label;
  };
  auto add_field = [&](const QString& name, const Place& place) {
    auto* field = new QLineEdit(this);
    field->setAccessibleName(name);
    field->setGeometry(units.Rect(place));
    QPalette palette = field->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      palette.setColor(group, QPalette::Base, kFieldBackground);
    field->setPalette(palette);
    return field;
  };
  auto add_unit_box = [&](const QString& name, const Place& place) {
    auto* box = new QComboBox(this);
    box->setAccessibleName(name);
    box->setGeometry(units.Rect(place));
    box->setEditable(true);
    // What is typed stays as typed: no completion, nothing added to the list.
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
  };

  // Groups first, so that the controls inside them are drawn over them.
  add_group(QStringLiteral("PASS | FAIL SETTINGS"), kSettingsGroup);
  add_group(QStringLiteral("Select Measure Type"), kTypeGroup);
  add_group(QStringLiteral("Pass Range Settings"), kRangeGroup);
  add_group(QStringLiteral("Under Limit setting"), kUnderGroup);
  add_group(QStringLiteral("Over Limit Setting"), kOverGroup);

  measure_type_ = new QComboBox(this);
  measure_type_->setAccessibleName(QStringLiteral("Measure type"));
  measure_type_->setGeometry(units.Rect(kMeasureType));
  for (int item = 0; item < kMeasurementItemCount; ++item)
    measure_type_->addItem(QString::fromLatin1(MeasurementItems[item]));
  measure_type_->setCurrentIndex(0);
  enable_ = new QCheckBox(QStringLiteral("Enable"), this);
  enable_->setAccessibleName(QStringLiteral("Enable"));
  enable_->setGeometry(units.Rect(kEnable));

  minimum_ = add_field(QStringLiteral("Minimum"), kMinimum);
  add_label(QStringLiteral("Minimum:"), kMinimumLabel)->setBuddy(minimum_);
  minimum_unit_ = add_unit_box(QStringLiteral("Minimum unit"), kMinimumUnit);
  maximum_ = add_field(QStringLiteral("Maximum"), kMaximum);
  add_label(QStringLiteral("Maximum:"), kMaximumLabel)->setBuddy(maximum_);
  maximum_unit_ = add_unit_box(QStringLiteral("Maximum unit"), kMaximumUnit);
  QLabel* note = add_label(
      QStringLiteral("Note: The valid number that can input into the edit box is -999~999"), kNote);
  note->setWordWrap(true);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setAccessibleName(QStringLiteral("OK"));
  ok_->setGeometry(units.Rect(kOk));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setAccessibleName(QStringLiteral("Cancel"));
  cancel_->setGeometry(units.Rect(kCancel));
}

LimitFieldTexts CSetPassFailDlg::ReadFieldTexts() {
  return {minimum_->text().toStdString(), minimum_unit_->currentText().toStdString(),
          maximum_->text().toStdString(), maximum_unit_->currentText().toStdString()};
}

void CSetPassFailDlg::ShowLimits(const std::vector<std::string>& family,
                                 const PassFailLimit& limit) {
  for (QComboBox* box : {minimum_unit_, maximum_unit_}) {
    box->clear();
    for (const std::string& unit : family)
      box->addItem(QString::fromLatin1(unit.c_str()));
  }
  minimum_->setText(QString::number(limit.minimum));
  maximum_->setText(QString::number(limit.maximum));
  ShowUnit(minimum_unit_, family, LimitUnitText(limit.minimum_unit));
  ShowUnit(maximum_unit_, family, LimitUnitText(limit.maximum_unit));
}

void CSetPassFailDlg::SetEnableChecked(bool checked) {
  const QSignalBlocker silent(enable_);
  enable_->setChecked(checked);
}

void CSetPassFailDlg::EnableFields(bool enable) {
  for (QWidget* field :
       std::initializer_list<QWidget*>{minimum_, maximum_, minimum_unit_, maximum_unit_})
    field->setEnabled(enable);
}

void CSetPassFailDlg::FocusField(LimitField field) {
  QWidget* widget = minimum_;
  switch (field) {
    case LimitField::kMinimumUnit:
      widget = minimum_unit_;
      break;
    case LimitField::kMaximum:
      widget = maximum_;
      break;
    case LimitField::kMaximumUnit:
      widget = maximum_unit_;
      break;
    default:
      break;
  }
  widget->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(widget))
    edit->selectAll();
}

void CSetPassFailDlg::accept() {
  if (setting_.Ok())
    QDialog::accept();
}

void CSetPassFailDlg::reject() {
  setting_.Cancel();
  QDialog::reject();
}

}  // namespace korvelane
