// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from the main window's views: the range dialog, the preview's actions and the printer.
// The pages' layout and arithmetic are the core's; here the buttons and actions reach them.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <functional>

#include "app/app_test_support.h"
#include "core/logs/gbk_text.h"
#include "printing/print_commands.h"
#include "printing/print_preview.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "views/set_prnt_item_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane::testing {
namespace {

// The text of a PDF file as pdftotext extracts it, pages ended by form feeds; empty without it.
std::string PdfText(const std::string& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-")});
  if (!process.waitForFinished(30000))
    return {};
  return process.readAllStandardOutput().toStdString();
}

class PrintTest : public AppTest {
 protected:
  void SetUp() override {
    Open();
    tables = &window->view_tables();
  }

  // CH1 holds `count` samples: sample i is i % 256.
  void FillWaveData(int count) {
    for (int r = 0; r < count; ++r)
      tables->wave_data_list.column(1)[r].Set(std::to_string(r % 256));
    tables->wave_slots[1].in_wave_data = 1;
    tables->wave_slots[1].count = count;
    EnableViewButtons(*tables);
    tables->NotifyColumnChanged(ListKind::kWaveData, 1);
  }

  // Printing goes to a PDF file in the scratch folder.
  std::string PrintToPdf(const std::string& name) {
    const std::string path = dir.File(name);
    window->print_commands().set_printers([path] {
      auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(QString::fromStdString(path));
      return printer;
    });
    return path;
  }

  // Answers the item-range dialog with `start` and `end`, runs `on_preview` inside the preview
  // and answers the other dialogs ("Goto Page", the print question) through `on_other`.
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
  // Keeps the preview's page and prints, saying Yes to the question.
  void KeepPageAndPrint(const QString& start = {}, const QString& end = {}) {
    Script(
        start, end,
        [this](CPreParent& preview) {
          preview.action(CPreParent::kNext)->trigger();  // printing starts at page 1 anyway
          page = preview.page_area()->RenderPage();
          preview.action(CPreParent::kPrint)->trigger();
        },
        [](QDialog&) { return static_cast<int>(QMessageBox::Yes); });
  }
  void PressWaveDataPrint() {
    window->wave_data_view()->button(WaveDataView::Button::kPrint)->click();
  }

  ViewTables* tables = nullptr;
  int previews = 0;
  QImage page;
};

TEST_F(PrintTest, PrintButtonsPaintTheirPagesOnThePreviewAndThePrinter) {
  FillWaveData(4000);
  std::string pdf = PrintToPdf("wave_data.pdf");
  KeepPageAndPrint("1", "100");
  PressWaveDataPrint();
  ASSERT_FALSE(page.isNull());
  const bool pdftotext = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
  if (pdftotext) {
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Print the Wave Data"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3);
  }

  tables->measurement_list.SetText(0, 1, "1.25V");
  // The lists hold code page 936, as files and the instrument give it.
  tables->measurement_list.SetText(1, 3, Utf8ToGbk("测量"));
  tables->wave_slots[1].in_measurement = 1;
  EnableViewButtons(*tables);
  pdf = PrintToPdf("measurement.pdf");
  KeepPageAndPrint();
  window->wave_measurement_view()->button(WaveMeasurementView::Button::kPrint)->click();
  if (pdftotext) {
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Print The Measurement"), std::string::npos) << text;
    EXPECT_NE(text.find("1.25V"), std::string::npos);
    EXPECT_NE(text.find("测量"), std::string::npos);
  }

  // A picture of the instrument's screen: red on its left half, blue on its right.
  QImage screen(320, 240, QImage::Format_RGB888);
  screen.fill(Qt::blue);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 160; ++x)
      screen.setPixel(x, y, qRgb(255, 0, 0));
  const std::string bmp = dir.File("screen.bmp");
  ASSERT_TRUE(screen.save(QString::fromStdString(bmp), "BMP"));
  ASSERT_TRUE(window->dso_bitmap_view()->LoadPicture(bmp, true));
  page = QImage();
  Script({}, {}, [this](CPreParent& preview) { page = preview.page_area()->RenderPage(); });
  window->dso_bitmap_view()->button(DsoBitmapView::Button::kPrint)->click();
  ASSERT_FALSE(page.isNull());
  const double dx = page.dotsPerMeterX() / 1000.0;
  const double dy = page.dotsPerMeterY() / 1000.0;
  EXPECT_GT(qRed(page.pixel(static_cast<int>(40 * dx), static_cast<int>(80 * dy))), 200);
  EXPECT_GT(qBlue(page.pixel(static_cast<int>(160 * dx), static_cast<int>(80 * dy))), 200);
}

TEST_F(PrintTest, ThePreviewsActionsAndTypedGotoFollowThePage) {
  FillWaveData(500);
  QString typed;
  const auto answer_goto = [&typed](QDialog& dialog) {
    auto* go = qobject_cast<CPreGotoDlg*>(&dialog);
    if (!go)
      return static_cast<int>(QDialog::Rejected);
    // Typed over the current page, key by key, as a user does.
    go->field()->selectAll();
    QTest::keyClicks(go->field(), typed);
    go->accept();
    return go->result();
  };
  Script(
      "1", "100",
      [&](CPreParent& preview) {
        EXPECT_EQ(preview.job().page_count, 3);
        EXPECT_FALSE(preview.action(CPreParent::kPrevious)->isEnabled());
        preview.action(CPreParent::kLast)->trigger();
        EXPECT_FALSE(preview.action(CPreParent::kNext)->isEnabled());
        EXPECT_TRUE(preview.action(CPreParent::kPrevious)->isEnabled());
        const std::pair<const char*, int> gotos[] = {{"2", 2}, {"10", 3}, {"0", 1}};
        for (const auto& [keys, page_number] : gotos) {
          typed = QString::fromLatin1(keys);
          preview.action(CPreParent::kGoto)->trigger();
          EXPECT_EQ(preview.navigation().current_page(), page_number) << keys;
        }
      },
      answer_goto);
  PressWaveDataPrint();
  EXPECT_EQ(previews, 1);

  // A refused range, and an end before the start (no items): no preview.
  Script("4000", "4000", [](CPreParent&) {});
  PressWaveDataPrint();
  Script("100", "50", [](CPreParent&) {});
  PressWaveDataPrint();
  EXPECT_EQ(previews, 1);
}

TEST_F(PrintTest, NoToThePrintQuestionPrintsNothingAndAMissingPrinterIsReported) {
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
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        return answer;
      });
  PressWaveDataPrint();
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(printers_opened, 0);

  answer = QMessageBox::Yes;  // with no printer to be had
  PressWaveDataPrint();
  EXPECT_EQ(printers_opened, 1);
  ASSERT_FALSE(presenter.boxes.empty());
  EXPECT_EQ(presenter.boxes.back().text, "Initialize the printer failed!");
  EXPECT_EQ(presenter.boxes.back().caption, "错误");
}

}  // namespace
}  // namespace korvelane::testing
