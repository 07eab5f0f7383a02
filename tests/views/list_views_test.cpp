// The Wave Data and Measurement views: their lists as models over the shared tables, their
// labels and colours, the buttons that wait for data, copy, print, save, and the resize rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <memory>

#include "core/protocol/unit_table.h"
#include "core/views/copy_text.h"
#include "core/views/measurement_column.h"
#include "core/views/wave_data_column.h"
#include "list_view_world.h"
#include "views/dialog_units.h"
#include "views/set_pass_fail_dlg.h"
#include "views/set_prnt_item_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane {
namespace {

using testing::ListViewWorld;
using DataButton = WaveDataView::Button;
using MeasureButton = WaveMeasurementView::Button;

QString Cell(QTableView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

QColor Background(QWidget* widget, QPalette::ColorRole role) {
  return widget->palette().color(QPalette::Active, role);
}

// Every direct child that a user or a screen reader meets has a name.
void ExpectNamedControls(QWidget* view, int expected) {
  int named = 0;
  for (QWidget* child : view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();
    ++named;
  }
  EXPECT_EQ(named, expected);
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
  QPushButton* ButtonOf(DataButton which) const { return view->button(which); }

  std::unique_ptr<WaveDataView> view;
};

TEST_F(WaveDataViewTest, TheLabelAndTheNumberedListLookAsSet) {
  QLabel* label = view->view_label();
  EXPECT_EQ(label->text(), QStringLiteral("Wave Data"));
  EXPECT_EQ(label->font().pixelSize(), 16);
  EXPECT_EQ(label->font().families().front(), QString::fromUtf8("黑体"));
  EXPECT_EQ(Background(label, QPalette::Window), QColor(98, 176, 255));
  EXPECT_EQ(Background(label, QPalette::WindowText), QColor(232, 116, 0));

  QTableView* list = view->list();
  QAbstractItemModel* model = list->model();
  ASSERT_EQ(model->rowCount(), 4000);
  ASSERT_EQ(model->columnCount(), 8);
  const char* headers[] = {"#", "CH1", "CH2", "Chan3", "Chan4", "Chan5", "Chan6", "Chan7"};
  for (int column = 0; column < 8; ++column) {
    EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(),
              QString::fromLatin1(headers[column]));
    EXPECT_EQ(list->columnWidth(column), column == 0 ? 50 : 80);
    EXPECT_EQ(model->index(7, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter);
  }
  EXPECT_EQ(Cell(list, 0, 0), QStringLiteral("1"));
  EXPECT_EQ(Cell(list, 3999, 0), QStringLiteral("4000"));
  EXPECT_EQ(Cell(list, 0, 1), QString());
  EXPECT_EQ(Background(list, QPalette::Base), QColor(199, 237, 237));
  EXPECT_TRUE(list->showGrid());
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_FALSE(list->verticalHeader()->isVisible());
  ExpectNamedControls(view.get(), 5);
}

TEST_F(WaveDataViewTest, ButtonsWaitForTheFirstWaveDataAndAreNeverDisabledAgain) {
  for (DataButton which : {DataButton::kCopy, DataButton::kPrint, DataButton::kSaveAs})
    EXPECT_FALSE(ButtonOf(which)->isEnabled());
  Live(1, 300);
  tables.wave_slots[1] = WaveSlot();
  EnableViewButtons(tables);
  for (DataButton which : {DataButton::kCopy, DataButton::kPrint, DataButton::kSaveAs})
    EXPECT_TRUE(ButtonOf(which)->isEnabled());
  // A view made once data exist starts enabled.
  WaveDataView later(Context(), Runner());
  EXPECT_TRUE(later.button(DataButton::kCopy)->isEnabled());
}

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
    EXPECT_EQ(top.row(), 0);
    EXPECT_EQ(bottom.row(), 3999);
    EXPECT_EQ(top.column(), i + 1);
    EXPECT_EQ(bottom.column(), i + 1);
  }
  EXPECT_EQ(resets.count(), 0);
  // No widget or item per cell.
  EXPECT_EQ(static_cast<int>(view->findChildren<QObject*>().size()), children);
  QTableView* list = view->list();
  for (int row : {0, 1, 255, 499, 500, 3999}) {
    for (int column : {1, 2}) {
      EXPECT_EQ(Cell(list, row, column).toStdString(), tables.wave_data_list.text(row, column))
          << row << "," << column;
    }
  }
  EXPECT_EQ(Cell(list, 499, 2), QStringLiteral("230"));  // 499 * 2 & 0xFF
  EXPECT_EQ(Cell(list, 500, 2), QString());
}

TEST_F(WaveDataViewTest, CopyPutsTheFixedWidthTextOnTheClipboard) {
  Live(1, 250);
  ButtonOf(DataButton::kCopy)->click();
  const QString copied = QApplication::clipboard()->text();
  EXPECT_EQ(copied.toStdString(), WaveDataCopyText(tables));
  EXPECT_EQ(copied.count(QLatin1Char('\n')), 1 + 250 + 1);
  EXPECT_EQ(Operations(), std::vector<std::string>{"Copy Wave Data"});
}

TEST_F(WaveDataViewTest, PrintAsksForTheItemRangeAndRefusesABadOne) {
  QSignalSpy prints(view.get(), &WaveDataView::PrintRequested);
  Live(1, 4000);
  std::vector<std::string> refusals;
  script = [&](QDialog& dialog) {
    auto* range = qobject_cast<CSetPrntItemDlg*>(&dialog);
    EXPECT_NE(range, nullptr);
    if (!range)
      return static_cast<int>(QDialog::Rejected);
    EXPECT_EQ(range->windowTitle(), QStringLiteral("Select the list item to print"));
    EXPECT_EQ(range->start_field()->text(), QStringLiteral("1"));
    EXPECT_EQ(range->end_field()->text(), QStringLiteral("4000"));
    range->start_field()->setText(QStringLiteral("4000"));
    range->ok_button()->click();
    EXPECT_EQ(range->result(), QDialog::Rejected);  // refused, still open
    EXPECT_EQ(range->focusWidget(), range->start_field());
    range->start_field()->setText(QStringLiteral("50"));
    range->end_field()->setText(QStringLiteral("1"));
    range->ok_button()->click();
    EXPECT_EQ(range->focusWidget(), range->end_field());
    range->end_field()->setText(QStringLiteral("60"));
    range->ok_button()->click();
    return range->result();
  };
  ButtonOf(DataButton::kPrint)->click();
  ASSERT_EQ(prints.count(), 1);
  EXPECT_EQ(prints.at(0).at(0).toInt(), 50);
  EXPECT_EQ(prints.at(0).at(1).toInt(), 11);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Please enter an integer between 1 and 3999.");
  EXPECT_EQ(ui.messages[1].text, "Please enter an integer between 2 and 4000.");

  script = nullptr;  // Cancel
  ButtonOf(DataButton::kPrint)->click();
  EXPECT_EQ(prints.count(), 1);
  EXPECT_EQ(dialogs_run, 2);
  EXPECT_EQ(Operations(), (std::vector<std::string>{"Print Wave Data", "Print Wave Data"}));
}

TEST_F(WaveDataViewTest, SaveAsIsHandedToTheWaveFileSave) {
  QSignalSpy saves(view.get(), &WaveDataView::SaveRequested);
  ButtonOf(DataButton::kSaveAs)->setEnabled(true);
  ButtonOf(DataButton::kSaveAs)->click();
  EXPECT_EQ(saves.count(), 1);
  EXPECT_EQ(dialogs_run, 0);
}

TEST_F(WaveDataViewTest, TheListFollowsThePaneWhileTheButtonsStay) {
  const DialogUnits units(view->font());
  const int dx = static_cast<int>(std::lround(35 * units.base_width() / 6.0));
  const int dy = static_cast<int>(std::lround(110 * units.base_height() / 13.0));
  view->show();  // hidden views get their resize when they are shown
  QTableView* list = view->list();
  const QRect start = list->geometry();
  const QRect copy = ButtonOf(DataButton::kCopy)->geometry();
  // At the view's own size the list already has the size the rule gives.
  EXPECT_EQ(start.width(), start.left() + view->width() - dx);
  EXPECT_EQ(start.height(), start.top() + view->height() - dy);

  view->resize(1000, 700);
  EXPECT_EQ(list->geometry(),
            QRect(start.topLeft(), QSize(start.left() + 1000 - dx, start.top() + 700 - dy)));
  EXPECT_EQ(ButtonOf(DataButton::kCopy)->geometry(), copy);
  EXPECT_LE(list->geometry().right(), 1000);
  EXPECT_LE(list->geometry().bottom(), 700);

  // A collapsed pane leaves the list alone, and it comes back with the pane.
  view->resize(0, 700);
  EXPECT_EQ(list->width(), start.left() + 1000 - dx);
  view->resize(800, 600);
  EXPECT_EQ(list->geometry().size(), QSize(start.left() + 800 - dx, start.top() + 600 - dy));
  // Never past the view's edges.
  view->resize(30, start.top() + 10);
  EXPECT_LT(list->geometry().right(), 30);
  EXPECT_LT(list->geometry().bottom(), start.top() + 10);
}

class MeasurementViewTest : public ListViewWorld {
 protected:
  MeasurementViewTest() {
    view = std::make_unique<WaveMeasurementView>(Context(), Runner());
    view->resize(view->sizeHint());
  }
  // CH1 or CH2 measured: eleven records of `value` in `unit`.
  void Measured(int channel, float value, int unit) {
    ChannelData& data = device.store().channel(channel);
    data.enabled = true;
    for (int item = 0; item < kMeasurementItemCount; ++item) {
      EncodeMeasurementRecord({true, value, static_cast<int8_t>(unit), 2},
                              data.measure.data() + item * kMeasurementRecordSize);
    }
    RequestSelectors selectors;
    selectors.ch1_measure_wanted = 1;
    selectors.ch2_measure_wanted = 1;
    ShowChannelMeasurements(tables, device.store(), selectors, channel);
    EnableViewButtons(tables);
  }
  QPushButton* ButtonOf(MeasureButton which) const { return view->button(which); }

  std::unique_ptr<WaveMeasurementView> view;
};

TEST_F(MeasurementViewTest, TheLabelCaptionAndListLookAsSet) {
  EXPECT_EQ(view->view_label()->text(), QStringLiteral("Measurement"));
  EXPECT_EQ(view->view_label()->font().pixelSize(), 16);
  EXPECT_EQ(Background(view->view_label(), QPalette::Window), QColor(98, 176, 255));
  QLabel* caption = view->caption_label();
  EXPECT_EQ(caption->text(), QStringLiteral("The current Wave to 'Pass|Fail':  "));
  EXPECT_EQ(Background(caption, QPalette::Window), QColor(139, 168, 222));
  EXPECT_EQ(Background(caption, QPalette::WindowText), QColor(255, 255, 255));

  QTableView* list = view->list();
  ASSERT_EQ(list->model()->rowCount(), 11);
  ASSERT_EQ(list->model()->columnCount(), 9);
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Item Name"));
  EXPECT_EQ(list->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Pass | Fail"));
  const int widths[] = {100, 80, 80, 80, 80, 80, 80, 80, 120};
  for (int column = 0; column < 9; ++column)
    EXPECT_EQ(list->columnWidth(column), widths[column]) << column;
  EXPECT_EQ(Cell(list, 0, 0), QStringLiteral("Vavg"));
  EXPECT_EQ(Cell(list, 10, 0), QStringLiteral("Negative Width"));
  EXPECT_EQ(Background(list, QPalette::Base), QColor(139, 168, 222));
  for (MeasureButton which : {MeasureButton::kCopy, MeasureButton::kPrint, MeasureButton::kSaveAs})
    EXPECT_FALSE(ButtonOf(which)->isEnabled());
  EXPECT_TRUE(ButtonOf(MeasureButton::kPassFail)->isEnabled());
  EXPECT_EQ(ButtonOf(MeasureButton::kPassFail)->text(), QStringLiteral("Pass|Fail"));
  ExpectNamedControls(view.get(), 7);
}

TEST_F(MeasurementViewTest, AFillShowsTheValuesVerdictsAndTheChannelInTheCaption) {
  QSignalSpy changes(view->list()->model(), &QAbstractItemModel::dataChanged);
  Measured(1, 500.0f, kUnitMv);
  Measured(2, 1.5f, kUnitV);
  EXPECT_EQ(view->caption_label()->text(), QStringLiteral("The current Wave to 'Pass|Fail':  CH2"));
  QTableView* list = view->list();
  EXPECT_EQ(Cell(list, kVpp, 1), QStringLiteral("500.00mV"));
  EXPECT_EQ(Cell(list, kVpp, 2), QStringLiteral("1.50V"));
  EXPECT_EQ(Cell(list, kVpp, 8), QStringLiteral("Fail"));  // 1500 mV > 999 mV
  for (int row = 0; row < 11; ++row) {
    for (int column = 0; column < 9; ++column)
      EXPECT_EQ(Cell(list, row, column).toStdString(), tables.measurement_list.text(row, column));
  }
  EXPECT_GE(changes.count(), 4);
  for (MeasureButton which : {MeasureButton::kCopy, MeasureButton::kPrint, MeasureButton::kSaveAs})
    EXPECT_TRUE(ButtonOf(which)->isEnabled());
}

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
  EXPECT_EQ(Operations(), (std::vector<std::string>{"Copy Measurement", "Print measurement"}));
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

TEST_F(MeasurementViewTest, TheListFollowsThePaneWhileTheCaptionStays) {
  const DialogUnits units(view->font());
  const int dx = static_cast<int>(std::lround(35 * units.base_width() / 6.0));
  const int dy = static_cast<int>(std::lround(200 * units.base_height() / 13.0));
  view->show();
  QTableView* list = view->list();
  const QRect start = list->geometry();
  const QRect caption = view->caption_label()->geometry();
  EXPECT_GT(start.top(), caption.bottom());
  view->resize(1200, 900);
  EXPECT_EQ(list->geometry(),
            QRect(start.topLeft(), QSize(start.left() + 1200 - dx, start.top() + 900 - dy)));
  EXPECT_EQ(view->caption_label()->geometry(), caption);
}

}  // namespace
}  // namespace korvelane
