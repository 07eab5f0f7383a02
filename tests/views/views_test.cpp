// SPDX-License-Identifier: GPL-3.0-or-later
// The views on their own, driven through their buttons, dialogs and the accessibility bus, each
// window reaching the core: the lists, "Pass|Fail setting", "Record..." and the trend window,
// "Select the Chan", the Wave Graph's Copy and Print, the DSO Bitmap view's file dialogs.
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

#include "core/files/bitmap_builder.h"
#include "core/files/bitmap_codec.h"
#include "core/logs/gbk_text.h"
#include "core/protocol/unit_table.h"
#include "core/recording/measurement_recorder.h"
#include "list_view_world.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "views/list_models.h"
#include "views/select_chan_dlg.h"
#include "views/set_pass_fail_dlg.h"
#include "views/trend_window.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

using testing::ListViewWorld;
using testing::Strings;
using DataButton = WaveDataView::Button;
using MeasureButton = WaveMeasurementView::Button;
using BitmapButton = DsoBitmapView::Button;

QString Cell(QTableView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

using WaveDataViewTest = ListViewWorld;

// A column changed in its table is one change of that column in the list, not a reset; another
// list's change is not its own. Its buttons are the end-to-end, file and printing tests'.
TEST_F(WaveDataViewTest, AColumnChangedInTheTableIsOneChangeOfThatColumnInTheList) {
  WaveDataView view(Context(), Runner());
  QAbstractItemModel* model = view.list()->model();
  QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
  QSignalSpy resets(model, &QAbstractItemModel::modelReset);
  tables.wave_data_list.column(2)[499].Set("230");
  tables.NotifyColumnChanged(ListKind::kMeasurements, 2);
  tables.NotifyColumnChanged(ListKind::kWaveData, 2);
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes[0][0].value<QModelIndex>(), model->index(0, 2));
  EXPECT_EQ(resets.count(), 0);
  EXPECT_EQ(Cell(view.list(), 499, 2), QStringLiteral("230"));
}

class MeasurementViewTest : public ListViewWorld {
 protected:
  MeasurementViewTest() {
    view.AttachRecorder(recorder, [this] { return dir.path(); });
  }
  void Click(MeasureButton which) { view.button(which)->click(); }

  MeasurementRecorder recorder{tables, device.store(), clock, debug_log, ui};
  WaveMeasurementView view{Context(), Runner()};
};

// Texts from files and from the instrument are code page 936: shown and copied decoded. The
// "Pass|Fail setting" dialog's Enable reacts to a toggle through the accessibility bus too.
TEST_F(MeasurementViewTest, CodePage936TextsShowDecodedAndCopyAndPassFailReachTheCore) {
  const std::string volts = Utf8ToGbk("1.5伏");
  const QString shown = QString::fromUtf8("1.5伏");
  tables.wave_slots[3] = {0, 1, 1, 1};
  tables.measurement_list.SetText(0, 3, volts);
  tables.parameter_list.SetText(2, 3, volts);
  Measured(1, 1.5f, kUnitV);
  EXPECT_EQ(Cell(view.list(), 0, 3), shown);
  EXPECT_EQ(ParameterListModel(tables).index(2, 3).data().toString(), shown);
  Click(MeasureButton::kCopy);
  EXPECT_TRUE(QApplication::clipboard()->text().contains(shown));

  // Enable ticked through the accessibility bus; a bad field is refused with the focus on it.
  script = [](QDialog& dialog) {
    auto& limits = dynamic_cast<CSetPassFailDlg&>(dialog);
    limits.measure_type_box()->setCurrentIndex(kVmax);
    QAccessible::queryAccessibleInterface(limits.enable_check())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(limits.maximum_field()->isEnabled());
    limits.maximum_unit_box()->setCurrentText(QStringLiteral("V"));
    limits.maximum_field()->setText(QStringLiteral("99999"));
    limits.ok_button()->click();
    EXPECT_EQ(limits.result(), QDialog::Rejected);  // still open
    EXPECT_EQ(limits.focusWidget(), limits.maximum_field());
    limits.maximum_field()->setText(QStringLiteral("2"));
    limits.ok_button()->click();
    return limits.result();
  };
  Click(MeasureButton::kPassFail);
  EXPECT_EQ(ui.messages.size(), 1u);                               // the refusal
  EXPECT_EQ(Cell(view.list(), kVmax, 8), QStringLiteral("Fail"));  // until the next fill
  Measured(1, 1.5f, kUnitV);
  EXPECT_EQ(Cell(view.list(), kVmax, 8), QStringLiteral("Pass"));
  EXPECT_EQ(Operations(), Strings{"Copy Measurement"});
}

// "Record..." asks before it appends to a file that exists; the trend window follows the
// recording under way, then reads the file back with its figures.
TEST_F(MeasurementViewTest, RecordAppendsOnlyAfterYesAndTheTrendFollowsAndReadsTheFileBack) {
  // The file dialog chooses live.csv in the folder it opens in; the question answers `append`.
  bool append = false;
  Strings folders;
  script = [&](QDialog& dialog) {
    if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
      folders.push_back(files->directory().absolutePath().toStdString());
      files->selectFile(QString::fromStdString(dir.File("live.csv")));
      return static_cast<int>(QDialog::Accepted);
    }
    return static_cast<int>(append ? QMessageBox::Yes : QMessageBox::No);
  };
  ResetPassFailLimits(tables.limits);
  tables.limits_initialised = true;
  Click(MeasureButton::kRecord);
  EXPECT_EQ(folders, Strings{dir.path()});
  Measured(1, 2.0f, kUnitV);
  Click(MeasureButton::kTrend);
  TrendWindow* trend = view.trend_window();
  ASSERT_TRUE(trend && trend->isVisible());
  Click(MeasureButton::kRecord);  // Stop
  Click(MeasureButton::kRecord);  // the file exists: "No" leaves it alone
  EXPECT_FALSE(recorder.recording());
  append = true;
  Click(MeasureButton::kRecord);
  Measured(1, 3.0f, kUnitV);
  Measured(2, 5.0f, kUnitV);
  EXPECT_EQ(trend->data().rows(), 3);
  Click(MeasureButton::kRecord);
  EXPECT_EQ(Operations(), (Strings{"Record the measurements", "Show the measurement trend",
                                   "Stop recording the measurements", "Record the measurements",
                                   "Record the measurements", "Stop recording the measurements"}));

  trend->open_button()->click();
  EXPECT_EQ(trend->data().rows(), 3);  // the first recording's row and the two appended
  trend->measurement_box()->setCurrentText(QStringLiteral("CH1 Vpp"));
  EXPECT_EQ(trend->figure(TrendWindow::kMaximum)->text(), QStringLiteral("3 V"));
  EXPECT_EQ(trend->figure(TrendWindow::kFailures)->text(), QStringLiteral("2"));
  EXPECT_EQ(trend->plot()->graph(0)->dataCount(), 2);
  // The default limits, -999 mV and 999 mV, as lines.
  for (int i = 0; i < 2; ++i) {
    auto* line = qobject_cast<QCPItemStraightLine*>(trend->plot()->item(i));
    ASSERT_TRUE(line && line->visible());
    EXPECT_EQ(line->point1->coords().y(), i ? 0.999 : -0.999);
  }
}

using DialogTest = ListViewWorld;

// The radios show the core's offer and choice; OK hands the choice back, Cancel none.
TEST_F(DialogTest, TheChannelRadiosShowTheChoiceAndOkOrCancelHandItBack) {
  tables.wave_slots[1] = {1, 1, 0, 4000};
  tables.wave_slots[6] = {0, 0, 1, 900};
  script = [](QDialog& shown) {
    auto& dialog = dynamic_cast<CSelectChanDlg&>(shown);
    for (int i = 0; i < 7; ++i)
      EXPECT_EQ(dialog.radio(i)->isEnabled(), i == 5) << i;
    EXPECT_TRUE(dialog.radio(5)->isChecked());
    dialog.ok_button()->click();
    return dialog.result();
  };
  EXPECT_EQ(SelectChannel(tables, SelectChanMode::kMeasurement, Runner()), 6);
  EXPECT_EQ(tables.selected_channel, 5);
  script = nullptr;  // Cancel
  EXPECT_FALSE(SelectChannel(tables, SelectChanMode::kWaveGraph, Runner()));
}

using WaveGraphViewTest = ListViewWorld;

// Copy puts a picture of the whole view on the clipboard; Print counts a Chan7 box ticked
// through the accessibility bus.
TEST_F(WaveGraphViewTest, CopyPicturesTheViewAndPrintCountsAChan7BoxTickedThroughTheBus) {
  using B = WaveGraphView::Button;
  WaveGraphView view(Context(), device.acquisition(), device.connection(), RefreshTimerCalls{});
  view.resize(view.sizeHint());
  QApplication::clipboard()->clear();
  view.button(B::kCopy)->setEnabled(true);
  view.button(B::kCopy)->click();
  EXPECT_EQ(QApplication::clipboard()->image().size(), view.size() * view.devicePixelRatio());

  // A 500-sample wave in Chan7, hidden as the right pane's loaders leave it.
  tables.wave_slots[7] = {0, 1, 0, 500};
  view.ShowLoadedSlot(7, LoadMode::kHideWaveData);
  view.button(B::kPrint)->setEnabled(true);
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(view.show_box(7));
  ASSERT_TRUE(box && box->actionInterface());
  box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  QSignalSpy prints(&view, &WaveGraphView::PrintRequested);
  view.button(B::kPrint)->click();
  ASSERT_EQ(prints.size(), 1);
  EXPECT_EQ(prints[0][0].toInt(), 500);
  EXPECT_EQ(Operations(), (Strings{"Copy Wave Graph Interface", "Show/Hide the seventh graph",
                                   "Print Wave Graph data"}));
}

class DsoBitmapViewTest : public ListViewWorld {
 protected:
  DsoBitmapViewTest() {
    device.connection().StartupLinkTest();
    view.show();
  }
  // Whether Save, Alter Title, Copy and Print are enabled, in that order.
  std::vector<bool> PictureButtons() const {
    std::vector<bool> enabled;
    for (BitmapButton b : {BitmapButton::kSave, BitmapButton::kAlterTitle, BitmapButton::kCopy,
                           BitmapButton::kPrint})
      enabled.push_back(view.button(b)->isEnabled());
    return enabled;
  }
  // The file dialogs answer `answer`.
  void Answer(const std::string& answer) {
    dialogs.set_runner([this, answer](const FileDialogRequest& request) {
      requests.push_back(request);
      return answer;
    });
  }

  FileDialogs dialogs{[this] { return dir.path(); }};
  std::vector<FileDialogRequest> requests;
  DsoBitmapView view{Context(), device.connection(), device.bitmap_transfer(), dialogs, Runner()};
};

// Unbound and without a picture nothing is offered, and files that cannot be decoded leave it so.
// A picture opened from a file has its path as title; Save suggests a name from the title and
// writes a true-colour file, or tells the user that it could not.
TEST_F(DsoBitmapViewTest, OpenAndSaveGoThroughTheFileDialogsAndNothingComesWithoutAPicture) {
  EXPECT_EQ(PictureButtons(), std::vector<bool>(4, false));
  view.button(BitmapButton::kRefresh)->click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "The software is not link with device!");
  testing::WriteFileBytes(dir.File("broken.bmp"), {'B', 'M'});
  EXPECT_FALSE(view.LoadPicture(dir.File("broken.bmp"), true));
  EXPECT_EQ(view.title_label()->text().toStdString(), "There is no picture now");
  EXPECT_EQ(PictureButtons(), std::vector<bool>(4, false));
  for (QWidget* child : view.findChildren<QWidget*>())
    EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();

  const DecodedBitmap shot = testing::Gradient(3, 2);  // rows that need padding
  const std::string opened = dir.File("from disk.bmp");
  testing::WriteFileBytes(opened, EncodeBitmapFile(shot));
  Answer(opened);
  view.button(BitmapButton::kOpen)->click();
  EXPECT_EQ(view.title(), opened);
  EXPECT_EQ(view.picture_area()->image().size(), QSize(3, 2));
  EXPECT_EQ(PictureButtons(), (std::vector<bool>{true, false, true, true}));
  Answer("");  // cancelled: nothing written, nothing to tell
  view.button(BitmapButton::kSave)->click();
  const std::string typed = dir.File("copy");  // the dialog adds the extension
  Answer(typed);
  view.button(BitmapButton::kSave)->click();
  EXPECT_EQ(requests.back().initial_name, "from disk.bmp");
  EXPECT_EQ(testing::ReadFileBytes(typed + ".bmp"), EncodeBitmapFile(shot));
  EXPECT_EQ(Operations().back(), "Save DSO Bitmap successed！");
  EXPECT_EQ(dialogs.save_path(), "");  // the view's own dialog leaves the shared path alone
  using C = DsoBitmapController;
  EXPECT_EQ(C::SuggestedSaveName("20261206-090507"), "20261206-090507.bmp");
  EXPECT_EQ(C::SuggestedSaveName("C:\\shots\\SCOPE.BMP"), "SCOPE.BMP");
  EXPECT_EQ(C::SuggestedSaveName("Trace.Bmp"), "Trace.Bmp.bmp");  // the case must match

  // A failed save is told to the user, not only to the debug log.
  Answer(dir.File("no/such/folder/x.bmp"));
  view.button(BitmapButton::kSave)->click();
  EXPECT_TRUE(Logged("WARNING:创建位图文件失败,请检查文件格式或路径是否正确？"));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, "Try to save DSO Bitmap file failed!");
  EXPECT_NE(Operations().back(), "Save DSO Bitmap successed！");
}

}  // namespace
}  // namespace korvelane
