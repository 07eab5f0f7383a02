#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <functional>

#include "print_test_support.h"
#include "views/set_prnt_item_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane::testing {
namespace {

class PreviewTest : public PrintTest {
 protected:
  // Answers the item-range dialog with `start` and `end`, runs `on_preview` inside the preview
  // and answers "Goto Page" and the print question through `on_other`.
  void Script(const QString& start, const QString& end, std::function<void(CPreParent&)> on_preview,
              std::function<int(QDialog&)> on_other = {}) {
    dialog_script = [=](QDialog& dialog) {
      if (auto* range = qobject_cast<CSetPrntItemDlg*>(&dialog)) {
        range->start_field()->setText(start);
        range->end_field()->setText(end);
        range->accept();
        return range->result();
      }
      if (auto* preview = qobject_cast<CPreParent*>(&dialog)) {
        ++previews;
        on_preview(*preview);
        return static_cast<int>(QDialog::Rejected);
      }
      return on_other ? on_other(dialog) : static_cast<int>(QDialog::Rejected);
    };
  }

  void PressWaveDataPrint() {
    window->wave_data_view()->button(WaveDataView::Button::kPrint)->click();
  }

  int previews = 0;
};

// The page arithmetic is the core's; here the actions follow it and "Goto Page" reaches it.
TEST_F(PreviewTest, ARangeOpensThePreviewWhoseActionsAndGotoFollowThePage) {
  FillWaveData(500);
  QString typed;
  const auto answer_goto = [&typed](QDialog& dialog) {
    auto* go = qobject_cast<CPreGotoDlg*>(&dialog);
    if (!go)
      return static_cast<int>(QDialog::Rejected);
    EXPECT_EQ(go->windowTitle(), QStringLiteral("Goto Page"));
    go->field()->findChild<QLineEdit*>()->setText(typed);
    go->accept();
    return go->result();
  };
  const auto enabled = [](CPreParent& preview) {
    std::vector<bool> on;
    for (auto command : {CPreParent::kFirst, CPreParent::kPrevious, CPreParent::kNext,
                         CPreParent::kLast, CPreParent::kGoto})
      on.push_back(preview.action(command)->isEnabled());
    return on;
  };
  Script(
      "1", "100",
      [&](CPreParent& preview) {
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Preview"));
        EXPECT_EQ(preview.job().first_item, 1);
        EXPECT_EQ(preview.job().item_count, 100);
        EXPECT_EQ(preview.job().page_count, 3);
        EXPECT_TRUE(preview.windowState() & Qt::WindowMaximized);
        EXPECT_EQ(enabled(preview), (std::vector<bool>{false, false, true, true, true}));
        preview.action(CPreParent::kNext)->trigger();
        EXPECT_EQ(preview.navigation().current_page(), 2);
        EXPECT_EQ(enabled(preview), (std::vector<bool>{true, true, true, true, true}));
        preview.action(CPreParent::kPrevious)->trigger();
        EXPECT_EQ(enabled(preview), (std::vector<bool>{false, false, true, true, true}));
        preview.action(CPreParent::kLast)->trigger();
        EXPECT_EQ(enabled(preview), (std::vector<bool>{true, true, false, false, true}));
        preview.action(CPreParent::kFirst)->trigger();
        typed = QStringLiteral("500");
        preview.RunCommand(CPreParent::kGoto);
        EXPECT_EQ(preview.navigation().current_page(), 3);
        typed = QStringLiteral("2");
        preview.RunCommand(CPreParent::kGoto);
        EXPECT_EQ(preview.navigation().current_page(), 2);
      },
      answer_goto);
  PressWaveDataPrint();
  EXPECT_EQ(previews, 1);

  // The up-down wraps at both ends.
  CPreGotoDlg dialog(1, 5);
  dialog.field()->stepBy(-1);
  EXPECT_EQ(dialog.field()->value(), 5);
  dialog.field()->stepBy(1);
  EXPECT_EQ(dialog.field()->value(), 1);
}

TEST_F(PreviewTest, RefusedOrEmptyRangesOpenNoPreview) {
  FillWaveData(500);
  Script("4000", "4000", [](CPreParent&) {});
  PressWaveDataPrint();
  EXPECT_GE(presenter.boxes.size(), 1u);  // the range message
  // End before Start: no items, so the preview closes before it is shown.
  Script("100", "50", [](CPreParent&) {});
  PressWaveDataPrint();
  EXPECT_EQ(previews, 0);
}

TEST_F(PreviewTest, WheelScrollsThreeLinesPerNotchAndKeysDoNotClose) {
  FillWaveData(100);
  Script("1", "100", [](CPreParent& preview) {
    preview.resize(800, 600);
    preview.show();
    QApplication::processEvents();
    CPreView* area = preview.page_area();
    area->set_wheel_lines(3);
    QScrollBar* bar = area->verticalScrollBar();
    EXPECT_EQ(bar->singleStep(), 15);
    EXPECT_EQ(bar->maximum(),
              std::max(0, area->logicalDpiY() + PreviewPageHeight(area->logicalDpiY()) -
                              area->viewport()->height()));
    bar->setValue(300);
    const QPointF at(10, 10);
    QWheelEvent up(at, area->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area->viewport(), &up);
    EXPECT_EQ(bar->value(), 255);
    QWheelEvent down(at, area->mapToGlobal(at), QPoint(), QPoint(0, -240), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area->viewport(), &down);
    EXPECT_EQ(bar->value(), 345);
    EXPECT_EQ(area->PageOrigin().y(), area->logicalDpiY() / 2 - 345);

    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(&preview, &press);
      EXPECT_TRUE(preview.isVisible());
    }
    preview.action(CPreParent::kClose)->trigger();
    EXPECT_FALSE(preview.isVisible());
  });
  PressWaveDataPrint();
  EXPECT_EQ(previews, 1);
}

TEST_F(PreviewTest, AnsweringNoToThePrintQuestionPrintsNothing) {
  FillWaveData(100);
  int printers_opened = 0;
  window->print_commands().set_printers([&printers_opened] {
    ++printers_opened;
    return std::unique_ptr<QPrinter>();
  });
  int questions = 0;
  Script(
      "1", "100", [](CPreParent& preview) { preview.action(CPreParent::kPrint)->trigger(); },
      [&questions](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (!box)
          return static_cast<int>(QDialog::Rejected);
        ++questions;
        EXPECT_EQ(box->text(), QStringLiteral("Are you sure to printing current date?"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Print Info"));
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        return static_cast<int>(QMessageBox::No);
      });
  PressWaveDataPrint();
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(printers_opened, 0);
}

TEST_F(PreviewTest, EachViewOpensItsOwnJob) {
  FillWaveData(10);
  std::vector<PrintJob> jobs;
  Script("1", "4000", [&jobs](CPreParent& preview) { jobs.push_back(preview.job()); });

  // Wave Graph: the longest shown slot, plus two pages.
  WaveGraphView* graph = window->wave_graph_view();
  tables->wave_slots[1].in_graph = 1;
  graph->show_box(1)->setEnabled(true);
  graph->show_box(1)->setChecked(true);
  graph->controller().ToggleShow(1);
  graph->button(WaveGraphView::Button::kPrint)->setEnabled(true);
  graph->button(WaveGraphView::Button::kPrint)->click();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].item_count, 10);
  EXPECT_EQ(jobs[0].extra_pages, 2);
  EXPECT_EQ(jobs[0].page_count, 3);

  // Measurement: the eleven rows on one page.
  tables->wave_slots[1].in_measurement = 1;
  EnableViewButtons(*tables);
  window->wave_measurement_view()->button(WaveMeasurementView::Button::kPrint)->click();
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[1].item_count, 11);
  EXPECT_EQ(jobs[1].page_count, 1);
}

}  // namespace
}  // namespace korvelane::testing
