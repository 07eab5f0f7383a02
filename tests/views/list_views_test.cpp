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
using Strings = std::vector<std::string>;
using DataButton = WaveDataView::Button;
using MeasureButton = WaveMeasurementView::Button;

QString Cell(QTableView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

QColor Colour(QWidget* widget, QPalette::ColorRole role) {
  return widget->palette().color(QPalette::Active, role);
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

// What both views look like: label, list, colours and the names of their controls.
struct ViewLook {
  QWidget* view;
  QLabel* label;
  const char* label_text;
  QTableView* list;
  int rows;
  std::vector<int> widths;
  std::vector<const char*> headers;  // first and last
  QColor list_background;
  int controls;
};

void ExpectLook(const ViewLook& look) {
  EXPECT_EQ(look.label->text(), QString::fromLatin1(look.label_text));
  EXPECT_EQ(look.label->font().pixelSize(), 16);
  EXPECT_EQ(look.label->font().families().front(), QString::fromUtf8("黑体"));
  EXPECT_EQ(Colour(look.label, QPalette::Window), QColor(98, 176, 255));
  EXPECT_EQ(Colour(look.label, QPalette::WindowText), QColor(232, 116, 0));
  QAbstractItemModel* model = look.list->model();
  ASSERT_EQ(model->rowCount(), look.rows);
  ASSERT_EQ(model->columnCount(), static_cast<int>(look.widths.size()));
  const int last = model->columnCount() - 1;
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), look.headers[0]);
  EXPECT_EQ(model->headerData(last, Qt::Horizontal).toString(), look.headers[1]);
  for (int column = 0; column <= last; ++column) {
    EXPECT_EQ(look.list->columnWidth(column), look.widths[static_cast<size_t>(column)]) << column;
    EXPECT_EQ(model->index(7, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter);
  }
  EXPECT_FALSE(model->headerData(0, Qt::Vertical).isValid());
  EXPECT_EQ(model->flags(model->index(0, 0)), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  EXPECT_EQ(Colour(look.list, QPalette::Base), look.list_background);
  EXPECT_TRUE(look.list->showGrid());
  EXPECT_EQ(look.list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_FALSE(look.list->verticalHeader()->isVisible());
  int named = 0;
  for (QWidget* child : look.view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();
    ++named;
  }
  EXPECT_EQ(named, look.controls);
}

// The list keeps its top-left corner and grows with the view less the allowance (in pixels of
// the reference font); a collapsed view leaves it alone; it never reaches past the view's edges.
void ExpectListFollowsTheView(QWidget* view, QTableView* list, QWidget* fixed, int width_allowance,
                              int height_allowance) {
  const DialogUnits units(view->font());
  const int dx = static_cast<int>(std::lround(width_allowance * units.base_width() / 6.0));
  const int dy = static_cast<int>(std::lround(height_allowance * units.base_height() / 13.0));
  view->show();  // hidden views get their resize when they are shown
  const QRect start = list->geometry();
  const QRect kept = fixed->geometry();
  EXPECT_EQ(start.width(), start.left() + view->width() - dx);
  EXPECT_EQ(start.height(), start.top() + view->height() - dy);
  view->resize(1000, 700);
  EXPECT_EQ(list->geometry(),
            QRect(start.topLeft(), QSize(start.left() + 1000 - dx, start.top() + 700 - dy)));
  EXPECT_EQ(fixed->geometry(), kept);
  view->resize(0, 700);
  EXPECT_EQ(list->width(), start.left() + 1000 - dx);
  view->resize(800, 600);
  EXPECT_EQ(list->geometry().size(), QSize(start.left() + 800 - dx, start.top() + 600 - dy));
  view->resize(30, start.top() + 10);
  EXPECT_LT(list->geometry().right(), 30);
  EXPECT_LT(list->geometry().bottom(), start.top() + 10);
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
  bool FileButtonsEnabled(const WaveDataView& v) const {
    return v.button(DataButton::kCopy)->isEnabled() && v.button(DataButton::kPrint)->isEnabled() &&
           v.button(DataButton::kSaveAs)->isEnabled();
  }

  std::unique_ptr<WaveDataView> view;
};

TEST_F(WaveDataViewTest, TheLabelAndTheNumberedListLookAsSet) {
  ExpectLook({view.get(),
              view->view_label(),
              "Wave Data",
              view->list(),
              4000,
              {50, 80, 80, 80, 80, 80, 80, 80},
              {"#", "Chan7"},
              QColor(199, 237, 237),
              5});
  EXPECT_EQ(Cell(view->list(), 0, 0), QStringLiteral("1"));
  EXPECT_EQ(Cell(view->list(), 3999, 0), QStringLiteral("4000"));
  EXPECT_EQ(Cell(view->list(), 0, 1), QString());
}

TEST_F(WaveDataViewTest, ButtonsWaitForTheFirstWaveDataAndAreNeverDisabledAgain) {
  EXPECT_FALSE(view->button(DataButton::kCopy)->isEnabled() ||
               view->button(DataButton::kPrint)->isEnabled() ||
               view->button(DataButton::kSaveAs)->isEnabled());
  Live(1, 300);
  tables.wave_slots[1] = WaveSlot();
  EnableViewButtons(tables);
  EXPECT_TRUE(FileButtonsEnabled(*view));
  // A view made once data exist starts enabled.
  EXPECT_TRUE(FileButtonsEnabled(WaveDataView(Context(), Runner())));
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

TEST_F(WaveDataViewTest, TheListFollowsThePaneWhileTheButtonsStay) {
  ExpectListFollowsTheView(view.get(), view->list(), view->button(DataButton::kCopy), 35, 110);
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

TEST_F(MeasurementViewTest, TheLabelCaptionAndListLookAsSet) {
  ExpectLook({view.get(),
              view->view_label(),
              "Measurement",
              view->list(),
              11,
              {100, 80, 80, 80, 80, 80, 80, 80, 120},
              {"Item Name", "Pass | Fail"},
              QColor(139, 168, 222),
              7});
  QLabel* caption = view->caption_label();
  EXPECT_EQ(caption->text(), QStringLiteral("The current Wave to 'Pass|Fail':  "));
  EXPECT_EQ(Colour(caption, QPalette::Window), QColor(139, 168, 222));
  EXPECT_EQ(Colour(caption, QPalette::WindowText), QColor(255, 255, 255));
  EXPECT_EQ(Cell(view->list(), 0, 0), QStringLiteral("Vavg"));
  EXPECT_EQ(Cell(view->list(), 10, 0), QStringLiteral("Negative Width"));
  for (MeasureButton which : {MeasureButton::kCopy, MeasureButton::kPrint, MeasureButton::kSaveAs})
    EXPECT_FALSE(ButtonOf(which)->isEnabled());
  EXPECT_TRUE(ButtonOf(MeasureButton::kPassFail)->isEnabled());
}

TEST_F(MeasurementViewTest, AFillShowsTheValuesVerdictsAndTheChannelInTheCaption) {
  QSignalSpy changes(view->list()->model(), &QAbstractItemModel::dataChanged);
  Measured(1, 500.0f, kUnitMv);
  Measured(2, 1.5f, kUnitV);
  EXPECT_EQ(view->caption_label()->text(), QStringLiteral("The current Wave to 'Pass|Fail':  CH2"));
  EXPECT_EQ(Cell(view->list(), kVpp, 1), QStringLiteral("500.00mV"));
  EXPECT_EQ(Cell(view->list(), kVpp, 8), QStringLiteral("Fail"));  // 1500 mV > 999 mV
  ExpectListShows(view->list(), tables.measurement_list, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
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
  EXPECT_EQ(Operations(), (Strings{"Copy Measurement", "Print measurement"}));
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
  EXPECT_GT(view->list()->geometry().top(), view->caption_label()->geometry().bottom());
  ExpectListFollowsTheView(view.get(), view->list(), view->caption_label(), 35, 200);
}

}  // namespace
}  // namespace korvelane
