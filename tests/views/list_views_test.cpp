// SPDX-License-Identifier: GPL-3.0-or-later
// The views on their own. Wave Data and Measurement: their lists as models over the shared
// tables; their buttons' way to the clipboard, the print range dialog, the saves and the limits
// dialog; "Select the Chan" and "Pass|Fail setting" over the core's rules; "Record..." and the
// trend window. Wave Graph: Copy and Print's count of shown slots.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>

#include "core/logs/gbk_text.h"
#include "core/protocol/unit_table.h"
#include "core/recording/measurement_recorder.h"
#include "core/views/copy_text.h"
#include "core/views/wave_data_column.h"
#include "list_view_world.h"
#include "views/list_models.h"
#include "views/select_chan_dlg.h"
#include "views/set_pass_fail_dlg.h"
#include "views/set_prnt_item_dlg.h"
#include "views/trend_window.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
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
  EXPECT_EQ(Cell(view.list(), 3999, 1).toStdString(), tables.wave_data_list.text(3999, 1));
  EXPECT_EQ(Cell(view.list(), 499, 2), QStringLiteral("230"));  // 499 * 2 & 0xFF
  EXPECT_EQ(Cell(view.list(), 500, 2), QString());
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
  MeasurementViewTest() {
    view.AttachRecorder(recorder, [this] { return dir.path(); });
  }
  void Click(MeasureButton which) { view.button(which)->click(); }
  // File dialogs choose `chosen`; the append question answers `append`.
  int RecordingDialogs(QDialog& dialog) {
    if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
      folders.push_back(files->directory().absolutePath().toStdString());
      files->selectFile(QString::fromStdString(chosen));
      return static_cast<int>(QDialog::Accepted);
    }
    if (qobject_cast<QMessageBox*>(&dialog))
      return static_cast<int>(append ? QMessageBox::Yes : QMessageBox::No);
    return static_cast<int>(QDialog::Rejected);
  }

  MeasurementRecorder recorder{tables, device.store(), clock, debug_log, ui};
  WaveMeasurementView view{Context(), Runner()};
  std::string chosen;
  bool append = false;
  Strings folders;
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

using DialogTest = ListViewWorld;

TEST_F(DialogTest, TheChannelRadiosShowTheChoiceAndOkOrCancelHandItBack) {
  tables.wave_slots[1] = {1, 1, 0, 4000};
  tables.wave_slots[6] = {0, 0, 1, 900};
  // Runs the dialog in `mode`; `act` plays the user and returns the dialog's result.
  auto select = [this](SelectChanMode mode, const std::function<int(CSelectChanDlg&)>& act) {
    script = [&act](QDialog& dialog) {
      auto* choice = qobject_cast<CSelectChanDlg*>(&dialog);
      return choice ? act(*choice) : static_cast<int>(QDialog::Rejected);
    };
    return SelectChannel(tables, mode, Runner());
  };
  std::optional<int> chosen = select(SelectChanMode::kMeasurement, [](CSelectChanDlg& dialog) {
    for (int i = 0; i < 7; ++i)
      EXPECT_EQ(dialog.radio(i)->isEnabled(), i == 5) << i;
    EXPECT_TRUE(dialog.radio(5)->isChecked());
    dialog.ok_button()->click();
    return dialog.result();
  });
  EXPECT_EQ(chosen, 6);
  EXPECT_EQ(tables.selected_channel, 5);

  chosen = select(SelectChanMode::kWaveGraph, [](CSelectChanDlg& dialog) {
    EXPECT_TRUE(dialog.radio(0)->isChecked());
    dialog.radio(5)->click();  // disabled: no change
    dialog.cancel_button()->click();
    return dialog.result();
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(tables.selected_channel, 5);
}

TEST_F(DialogTest, PassFailEnableTickedThroughTheBusUnlocksAndABadFieldKeepsTheFocus) {
  CSetPassFailDlg dialog(tables, ui);
  dialog.measure_type_box()->setCurrentIndex(kVpp);
  QAccessible::queryAccessibleInterface(dialog.enable_check())
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(dialog.maximum_field()->isEnabled());
  dialog.maximum_field()->setText(QStringLiteral("99999"));
  dialog.ok_button()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.focusWidget(), dialog.maximum_field());
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(tables.limits[kVpp].maximum, 999);  // nothing stored
}

TEST_F(DialogTest, ARefreshWhilePassFailIsOpenKeepsWhatATypeChangeStored) {
  CSetPassFailDlg dialog(tables, ui);
  dialog.enable_check()->click();
  dialog.maximum_field()->setText(QStringLiteral("100"));
  dialog.measure_type_box()->setCurrentIndex(kVpp);  // stores Vavg
  Measured(1, 500.0f, kUnitMv);                      // a timer refresh meanwhile
  EXPECT_EQ(tables.limits[kVavg].maximum, 100);
  EXPECT_EQ(tables.measurement_list.text(kVavg, MeasurementList::kVerdictColumn), "Fail");
  dialog.cancel_button()->click();
  EXPECT_EQ(tables.limits[kVavg].maximum, 100);
}

using RecordingViewTest = MeasurementViewTest;

// The main window's test records through the file dialog; here the append question and Stop.
TEST_F(RecordingViewTest, RecordingIntoAnExistingFileAppendsOnlyAfterYes) {
  script = [this](QDialog& dialog) { return RecordingDialogs(dialog); };
  chosen = dir.File("night.csv");
  testing::WriteFileBytes(chosen, {'x', '\n'});
  Click(MeasureButton::kRecord);
  EXPECT_EQ(folders, Strings{dir.path()});
  EXPECT_FALSE(recorder.recording());  // "No" leaves it alone
  append = true;
  Click(MeasureButton::kRecord);
  EXPECT_EQ(view.button(MeasureButton::kRecord)->text(), QStringLiteral("Stop"));
  Measured(1, 2.0f, kUnitV);
  Click(MeasureButton::kRecord);
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(view.button(MeasureButton::kRecord)->text(), QStringLiteral("Record..."));
  EXPECT_EQ(testing::ReadFileText(chosen).substr(0, 2), "x\n");
  EXPECT_EQ(Operations(), (Strings{"Record the measurements", "Record the measurements",
                                   "Stop recording the measurements"}));
}

// The trend window follows the recording under way, then reads the file back with its figures
// and the limits as lines.
TEST_F(RecordingViewTest, TheTrendWindowFollowsTheRecordingAndReadsItsFileBack) {
  script = [this](QDialog& dialog) { return RecordingDialogs(dialog); };
  ResetPassFailLimits(tables.limits);
  tables.limits_initialised = true;
  chosen = dir.File("live.csv");
  Click(MeasureButton::kRecord);
  Measured(1, 2.0f, kUnitV);
  Click(MeasureButton::kTrend);
  TrendWindow* trend = view.trend_window();
  ASSERT_TRUE(trend && trend->isVisible());
  EXPECT_EQ(trend->data().rows(), 1);
  Measured(1, 3.0f, kUnitV);
  Measured(2, 5.0f, kUnitV);
  EXPECT_EQ(trend->data().rows(), 3);
  EXPECT_EQ(trend->data().series(1, kVpp).summary().last, 3.0);
  Click(MeasureButton::kRecord);  // Stop

  trend->open_button()->click();
  EXPECT_EQ(trend->data().rows(), 3);
  trend->measurement_box()->setCurrentText(QStringLiteral("CH1 Vpp"));
  EXPECT_EQ(trend->figure(TrendWindow::kMaximum)->text(), QStringLiteral("3 V"));
  EXPECT_EQ(trend->figure(TrendWindow::kFailures)->text(), QStringLiteral("2"));
  EXPECT_EQ(trend->plot()->graph(0)->dataCount(), 2);
  // The default limits, -999 mV and 999 mV, as lines.
  std::vector<double> lines;
  for (int i = 0; i < trend->plot()->itemCount(); ++i) {
    auto* line = qobject_cast<QCPItemStraightLine*>(trend->plot()->item(i));
    if (line && line->visible())
      lines.push_back(line->point1->coords().y());
  }
  EXPECT_EQ(lines, (std::vector<double>{-0.999, 0.999}));
}

using View = WaveGraphView;

class WaveGraphViewTest : public ListViewWorld {
 protected:
  WaveGraphViewTest() { view.resize(view.sizeHint()); }
  QPushButton* ButtonOf(View::Button which) const { return view.button(which); }
  View view{Context(), device.acquisition(), device.connection(), RefreshTimerCalls{}};
};

using B = View::Button;

TEST_F(WaveGraphViewTest, CopyPutsAPictureOfTheWholeViewOnTheClipboard) {
  QApplication::clipboard()->clear();
  ButtonOf(B::kCopy)->setEnabled(true);
  ButtonOf(B::kCopy)->click();
  const QImage picture = QApplication::clipboard()->image();
  EXPECT_EQ(picture.size(), view.size() * view.devicePixelRatio());
  EXPECT_EQ(Operations(), Strings{"Copy Wave Graph Interface"});
}

TEST_F(WaveGraphViewTest, PrintCountsAChan7BoxTickedThroughTheAccessibilityBus) {
  // A 500-sample wave in Chan7, hidden as the right pane's loaders leave it.
  tables.wave_slots[7] = {0, 1, 0, 500};
  view.ShowLoadedSlot(7, LoadMode::kHideWaveData);
  ButtonOf(B::kPrint)->setEnabled(true);
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(view.show_box(7));
  ASSERT_TRUE(box && box->actionInterface());
  box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(view.show_box(7)->isChecked());
  EXPECT_EQ(Operations(), Strings{"Show/Hide the seventh graph"});

  QSignalSpy prints(&view, &View::PrintRequested);
  ButtonOf(B::kPrint)->click();
  ASSERT_EQ(prints.size(), 1);
  EXPECT_EQ(prints[0][0].toInt(), 500);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace korvelane
