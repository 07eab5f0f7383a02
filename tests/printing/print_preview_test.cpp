// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
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
    // Typed over the current page, key by key, as a user does.
    go->field()->selectAll();
    QTest::keyClicks(go->field(), typed);
    go->accept();
    return go->result();
  };
  Script(
      "1", "100",
      [&](CPreParent& preview) {
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Preview"));
        EXPECT_EQ(preview.job().first_item, 1);
        EXPECT_EQ(preview.job().item_count, 100);
        EXPECT_EQ(preview.job().page_count, 3);
        EXPECT_TRUE(preview.windowState() & Qt::WindowMaximized);
        EXPECT_FALSE(preview.action(CPreParent::kPrevious)->isEnabled());
        preview.action(CPreParent::kLast)->trigger();
        EXPECT_FALSE(preview.action(CPreParent::kNext)->isEnabled());
        EXPECT_TRUE(preview.action(CPreParent::kPrevious)->isEnabled());
        const std::pair<const char*, int> gotos[] = {
            {"2", 2}, {"10", 3}, {"1", 1}, {"500", 3}, {"0", 1}};
        for (const auto& [keys, page] : gotos) {
          typed = QString::fromLatin1(keys);
          preview.RunCommand(CPreParent::kGoto);
          EXPECT_EQ(preview.navigation().current_page(), page) << keys;
        }
      },
      answer_goto);
  PressWaveDataPrint();
  EXPECT_EQ(previews, 1);
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

TEST_F(PreviewTest, NoToThePrintQuestionPrintsNothingAndAMissingPrinterIsReported) {
  FillWaveData(100);
  int printers_opened = 0;
  window->print_commands().set_printers([&printers_opened] {
    ++printers_opened;
    return std::unique_ptr<QPrinter>();
  });
  int questions = 0;
  int answer = QMessageBox::No;
  Script(
      "1", "100", [](CPreParent& preview) { preview.action(CPreParent::kPrint)->trigger(); },
      [&questions, &answer](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (!box)
          return static_cast<int>(QDialog::Rejected);
        ++questions;
        EXPECT_EQ(box->text(), QStringLiteral("Are you sure to printing current date?"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Print Info"));
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        return answer;
      });
  PressWaveDataPrint();
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(printers_opened, 0);
  const size_t boxes = presenter.boxes.size();

  // Yes, with no printer to be had.
  answer = QMessageBox::Yes;
  PressWaveDataPrint();
  EXPECT_EQ(printers_opened, 1);
  ASSERT_EQ(presenter.boxes.size(), boxes + 1);
  EXPECT_EQ(presenter.boxes.back().text, "Initialize the printer failed!");
  EXPECT_EQ(presenter.boxes.back().caption, "错误");
}

}  // namespace
}  // namespace korvelane::testing
