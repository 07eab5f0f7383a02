// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Data and Measurement views: their lists as models over the shared tables, copy,
// print, save and the limits dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
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
using Strings = std::vector<std::string>;
using DataButton = WaveDataView::Button;
using MeasureButton = WaveMeasurementView::Button;

QString Cell(QTableView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

// Every cell of `list` shows what its table holds.
template <typename Table>
void ExpectListShows(QTableView* list, const Table& table, std::initializer_list<int> rows) {
  for (int row : rows) {
    for (int column = 0; column < list->model()->columnCount(); ++column)
      EXPECT_EQ(Cell(list, row, column).toStdString(), table.text(row, column))
          << row << "," << column;
  }
}

class WaveDataViewTest : public ListViewWorld {
 protected:
  WaveDataViewTest() {
    view = std::make_unique<WaveDataView>(Context(), Runner());
    view->resize(view->sizeHint());
  }
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

  std::unique_ptr<WaveDataView> view;
};

TEST_F(WaveDataViewTest, ARefillIsOneChangeOfItsColumnAndTheListShowsTheTable) {
  QSignalSpy changes(view->list()->model(), &QAbstractItemModel::dataChanged);
  QSignalSpy resets(view->list()->model(), &QAbstractItemModel::modelReset);
  const int children = static_cast<int>(view->findChildren<QObject*>().size());
  Live(1, 4000);
  Live(2, 500);
  ASSERT_EQ(changes.count(), 2);
  for (int i = 0; i < 2; ++i) {
    const QModelIndex top = changes.at(i).at(0).value<QModelIndex>();
    const QModelIndex bottom = changes.at(i).at(1).value<QModelIndex>();
    EXPECT_EQ(std::make_pair(top.row(), top.column()), std::make_pair(0, i + 1));
    EXPECT_EQ(std::make_pair(bottom.row(), bottom.column()), std::make_pair(3999, i + 1));
  }
  EXPECT_EQ(resets.count(), 0);
  // No widget or item per cell.
  EXPECT_EQ(static_cast<int>(view->findChildren<QObject*>().size()), children);
  ExpectListShows(view->list(), tables.wave_data_list, {0, 1, 255, 499, 500, 3999});
  EXPECT_EQ(Cell(view->list(), 499, 2), QStringLiteral("230"));  // 499 * 2 & 0xFF
  EXPECT_EQ(Cell(view->list(), 500, 2), QString());
}

TEST_F(WaveDataViewTest, CopyPrintAndSaveAsReachTheClipboardTheRangeDialogAndTheSave) {
  QSignalSpy prints(view.get(), &WaveDataView::PrintRequested);
  QSignalSpy saves(view.get(), &WaveDataView::SaveRequested);
  Live(1, 250);
  view->button(DataButton::kCopy)->click();
  const QString copied = QApplication::clipboard()->text();
  EXPECT_EQ(copied.toStdString(), WaveDataCopyText(tables));
  EXPECT_EQ(copied.count(QLatin1Char('\n')), 1 + 250 + 1);

  // The range dialog refuses a bad field with the focus on it, then hands its range on.
  script = [&](QDialog& dialog) {
    auto* range = qobject_cast<CSetPrntItemDlg*>(&dialog);
    EXPECT_NE(range, nullptr);
    if (!range)
      return static_cast<int>(QDialog::Rejected);
    EXPECT_EQ(range->windowTitle(), QStringLiteral("Select the list item to print"));
    EXPECT_EQ(range->start_field()->text(), QStringLiteral("1"));
    EXPECT_EQ(range->end_field()->text(), QStringLiteral("4000"));
    range->start_field()->setText(QStringLiteral("50"));
    range->end_field()->setText(QStringLiteral("1"));
    range->ok_button()->click();
    EXPECT_EQ(range->result(), QDialog::Rejected);  // refused, still open
    EXPECT_EQ(range->focusWidget(), range->end_field());
    range->end_field()->setText(QStringLiteral("60"));
    range->ok_button()->click();
    return range->result();
  };
  view->button(DataButton::kPrint)->click();
  ASSERT_EQ(prints.count(), 1);
  EXPECT_EQ(prints.at(0).at(0).toInt(), 50);
  EXPECT_EQ(prints.at(0).at(1).toInt(), 11);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Please enter an integer between 2 and 4000.");
  script = nullptr;  // Cancel
  view->button(DataButton::kPrint)->click();
  EXPECT_EQ(prints.count(), 1);

  view->button(DataButton::kSaveAs)->click();
  EXPECT_EQ(saves.count(), 1);
  EXPECT_EQ(dialogs_run, 2);
  EXPECT_EQ(Operations(), (Strings{"Copy Wave Data", "Print Wave Data", "Print Wave Data"}));
}

class MeasurementViewTest : public ListViewWorld {
 protected:
  MeasurementViewTest() {
    view = std::make_unique<WaveMeasurementView>(Context(), Runner());
    view->resize(view->sizeHint());
  }
  QPushButton* ButtonOf(MeasureButton which) const { return view->button(which); }

  std::unique_ptr<WaveMeasurementView> view;
};

TEST_F(MeasurementViewTest, CopyPrintAndSaveAsHandOverTheList) {
  QSignalSpy prints(view.get(), &WaveMeasurementView::PrintRequested);
  QSignalSpy saves(view.get(), &WaveMeasurementView::SaveRequested);
  Measured(1, 2.0f, kUnitV);
  ButtonOf(MeasureButton::kCopy)->click();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), MeasurementCopyText(tables));
  ButtonOf(MeasureButton::kPrint)->click();
  ASSERT_EQ(prints.count(), 1);
  EXPECT_EQ(prints.at(0).at(0).toInt(), 1);
  EXPECT_EQ(prints.at(0).at(1).toInt(), 11);
  ButtonOf(MeasureButton::kSaveAs)->click();
  EXPECT_EQ(saves.count(), 1);
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
  EXPECT_EQ(Cell(view->list(), 0, 3), shown);
  ParameterListModel parameters(tables);
  EXPECT_EQ(parameters.index(2, 3).data().toString(), shown);
  WaveDataListModel samples(tables);
  EXPECT_EQ(samples.index(0, 3).data().toString(), shown);
  ButtonOf(MeasureButton::kCopy)->click();
  EXPECT_TRUE(QApplication::clipboard()->text().contains(shown));
  EXPECT_EQ(tables.measurement_list.text(0, 3), volts);
}

TEST_F(MeasurementViewTest, PassFailOpensTheLimitsDialogAndTheNextFillUsesItsLimits) {
  Measured(1, 1.5f, kUnitV);
  EXPECT_EQ(Cell(view->list(), kVmax, 8), QStringLiteral("Fail"));
  script = [](QDialog& dialog) {
    auto* limits = qobject_cast<CSetPassFailDlg*>(&dialog);
    EXPECT_NE(limits, nullptr);
    if (!limits)
      return static_cast<int>(QDialog::Rejected);
    limits->measure_type_box()->setCurrentIndex(kVmax);
    limits->enable_check()->click();
    limits->maximum_field()->setText(QStringLiteral("2"));
    limits->maximum_unit_box()->setCurrentText(QStringLiteral("V"));
    limits->ok_button()->click();
    return limits->result();
  };
  ButtonOf(MeasureButton::kPassFail)->click();
  EXPECT_EQ(dialogs_run, 1);
  // Nothing changes until the next fill.
  EXPECT_EQ(Cell(view->list(), kVmax, 8), QStringLiteral("Fail"));
  Measured(1, 1.5f, kUnitV);
  EXPECT_EQ(Cell(view->list(), kVmax, 8), QStringLiteral("Pass"));
  EXPECT_EQ(Cell(view->list(), kVmin, 8), QStringLiteral("Fail"));
  EXPECT_TRUE(Operations().empty());
}

}  // namespace
}  // namespace korvelane
