// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Data and Measurement views: their lists as models over the shared tables, and their
// buttons' way to the clipboard, the print range dialog, the saves and the limits dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <memory>

#include "core/logs/gbk_text.h"
#include "core/protocol/unit_table.h"
#include "core/views/copy_text.h"
#include "core/views/wave_data_column.h"
#include "list_view_world.h"
#include "views/list_models.h"
#include "views/set_pass_fail_dlg.h"
#include "views/set_prnt_item_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane {
namespace {

using testing::ListViewWorld;
using testing::Strings;
using DataButton = WaveDataView::Button;
using MeasureButton = WaveMeasurementView::Button;

QString Cell(QTableView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

class WaveDataViewTest : public ListViewWorld {
 protected:
  // Slot 1 or 2 after a refresh of `count` samples.
  void Live(int channel, int count) {
    ChannelData& data = device.store().channel(channel);
    data.enabled = true;
    data.count = count;
    for (int i = 0; i < count; ++i)
      data.samples[static_cast<size_t>(i)] = static_cast<uint8_t>(i * channel);
    tables.wave_slots[channel] = {1, 1, 0, count};
    FillWaveDataColumn(tables, device.store(), channel);
    EnableViewButtons(tables);
  }

  WaveDataView view{Context(), Runner()};
};

TEST_F(WaveDataViewTest, ARefillIsOneChangeOfItsColumnAndTheListShowsTheTable) {
  QAbstractItemModel* model = view.list()->model();
  QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
  QSignalSpy resets(model, &QAbstractItemModel::modelReset);
  const auto children = view.findChildren<QObject*>().size();
  Live(1, 4000);
  Live(2, 500);
  ASSERT_EQ(changes.count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(changes.at(i).at(0).value<QModelIndex>(), model->index(0, i + 1));
    EXPECT_EQ(changes.at(i).at(1).value<QModelIndex>(), model->index(3999, i + 1));
  }
  EXPECT_EQ(resets.count(), 0);
  EXPECT_EQ(view.findChildren<QObject*>().size(), children);  // no widget or item per cell
  for (int row : {0, 255, 499, 500, 3999}) {
    for (int column = 0; column < model->columnCount(); ++column)
      EXPECT_EQ(Cell(view.list(), row, column).toStdString(),
                tables.wave_data_list.text(row, column))
          << row << "," << column;
  }
}

TEST_F(WaveDataViewTest, CopyPrintAndSaveAsReachTheClipboardTheRangeDialogAndTheSave) {
  QSignalSpy prints(&view, &WaveDataView::PrintRequested);
  QSignalSpy saves(&view, &WaveDataView::SaveRequested);
  Live(1, 250);
  view.button(DataButton::kCopy)->click();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), WaveDataCopyText(tables));

  // The range dialog refuses a bad field with the focus on it, then hands its range on.
  script = [&](QDialog& dialog) {
    auto* range = qobject_cast<CSetPrntItemDlg*>(&dialog);
    if (!range)
      return static_cast<int>(QDialog::Rejected);
    range->start_field()->setText(QStringLiteral("50"));
    range->end_field()->setText(QStringLiteral("1"));
    range->ok_button()->click();
    EXPECT_EQ(range->result(), QDialog::Rejected);  // refused, still open
    EXPECT_EQ(range->focusWidget(), range->end_field());
    range->end_field()->setText(QStringLiteral("60"));
    range->ok_button()->click();
    return range->result();
  };
  view.button(DataButton::kPrint)->click();
  ASSERT_EQ(prints.count(), 1);
  EXPECT_EQ(prints.at(0).at(0).toInt(), 50);
  EXPECT_EQ(prints.at(0).at(1).toInt(), 11);
  EXPECT_EQ(ui.messages.size(), 1u);
  script = nullptr;  // Cancel
  view.button(DataButton::kPrint)->click();
  EXPECT_EQ(prints.count(), 1);

  view.button(DataButton::kSaveAs)->click();
  EXPECT_EQ(saves.count(), 1);
  EXPECT_EQ(Operations(), (Strings{"Copy Wave Data", "Print Wave Data", "Print Wave Data"}));
}

class MeasurementViewTest : public ListViewWorld {
 protected:
  void Click(MeasureButton which) { view.button(which)->click(); }
  WaveMeasurementView view{Context(), Runner()};
};

TEST_F(MeasurementViewTest, ButtonsReachClipboardPrintSaveAndTheLimitsTheNextFillUses) {
  QSignalSpy prints(&view, &WaveMeasurementView::PrintRequested);
  QSignalSpy saves(&view, &WaveMeasurementView::SaveRequested);
  Measured(1, 1.5f, kUnitV);
  Click(MeasureButton::kCopy);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), MeasurementCopyText(tables));
  Click(MeasureButton::kPrint);
  ASSERT_EQ(prints.count(), 1);
  EXPECT_EQ(prints.at(0).at(1).toInt(), 11);
  Click(MeasureButton::kSaveAs);
  EXPECT_EQ(saves.count(), 1);

  EXPECT_EQ(Cell(view.list(), kVmax, 8), QStringLiteral("Fail"));
  script = [](QDialog& dialog) {
    auto* limits = qobject_cast<CSetPassFailDlg*>(&dialog);
    if (!limits)
      return static_cast<int>(QDialog::Rejected);
    limits->measure_type_box()->setCurrentIndex(kVmax);
    limits->enable_check()->click();
    limits->maximum_field()->setText(QStringLiteral("2"));
    limits->maximum_unit_box()->setCurrentText(QStringLiteral("V"));
    limits->ok_button()->click();
    return limits->result();
  };
  Click(MeasureButton::kPassFail);
  EXPECT_EQ(Cell(view.list(), kVmax, 8), QStringLiteral("Fail"));  // until the next fill
  Measured(1, 1.5f, kUnitV);
  EXPECT_EQ(Cell(view.list(), kVmax, 8), QStringLiteral("Pass"));
  EXPECT_EQ(Operations(), (Strings{"Copy Measurement", "Print measurement"}));
}

// Texts from files and from the instrument are code page 936: shown and copied decoded, held as
// the bytes that came.
TEST_F(MeasurementViewTest, CodePage936TextsAreShownAndCopiedDecoded) {
  const std::string volts = Utf8ToGbk("1.5伏");
  const QString shown = QString::fromUtf8("1.5伏");
  tables.wave_slots[3] = {0, 1, 1, 1};
  tables.measurement_list.SetText(0, 3, volts);
  tables.parameter_list.SetText(2, 3, volts);
  tables.wave_data_list.column(3)[0].Set(volts);
  EnableViewButtons(tables);
  EXPECT_EQ(Cell(view.list(), 0, 3), shown);
  ParameterListModel parameters(tables);
  EXPECT_EQ(parameters.index(2, 3).data().toString(), shown);
  WaveDataListModel samples(tables);
  EXPECT_EQ(samples.index(0, 3).data().toString(), shown);
  Click(MeasureButton::kCopy);
  EXPECT_TRUE(QApplication::clipboard()->text().contains(shown));
  EXPECT_EQ(tables.measurement_list.text(0, 3), volts);
}

}  // namespace
}  // namespace korvelane
