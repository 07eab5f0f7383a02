// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from the main window's views: the range dialog, the preview's actions and the printer.
// The pages' layout and arithmetic are the core's; here the buttons and actions reach them.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
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

// The text of a PDF file as pdftotext extracts it; empty without pdftotext.
std::string PdfText(const std::string& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QString::fromStdString(path), QStringLiteral("-")});
  process.waitForFinished(30000);
  return process.readAllStandardOutput().toStdString();
}

class PrintTest : public AppTest {
 protected:
  // Runs `on_preview` inside the preview and answers the other dialogs through `on_other`.
  void Script(std::function<void(CPreParent&)> on_preview,
              std::function<int(QDialog&)> on_other = {}) {
    dialog_script = [=](QDialog& dialog) {
      if (auto* preview = qobject_cast<CPreParent*>(&dialog)) {
        ++previews;
        on_preview(*preview);
        return static_cast<int>(QDialog::Rejected);
      }
      return on_other ? on_other(dialog) : static_cast<int>(QDialog::Rejected);
    };
  }

  int previews = 0;
};

// Wave Data: the range typed into its dialog, the preview's actions and a typed "Goto Page"
// following its pages, and the print question: No prints nothing, Yes prints the list's code page
// 936 texts decoded.
TEST_F(PrintTest, WaveDataRangeThePreviewsActionsAndTheQuestionBeforePrinting) {
  ViewTables& tables = Open().view_tables();
  tables.wave_data_list.column(1)[1].Set(Utf8ToGbk("测量"));  // item 2, the first printed
  tables.wave_slots[1] = {0, 1, 0, 500};
  EnableViewButtons(tables);
  const std::string pdf = dir.File("wave_data.pdf");
  window->print_commands().set_printers([pdf] {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(pdf));
    return printer;
  });
  QString start = QStringLiteral("2"), end = QStringLiteral("100"), typed;
  int answer = QMessageBox::No;
  Script(
      [&](CPreParent& preview) {
        EXPECT_EQ(preview.job().first_item, 2);
        EXPECT_EQ(preview.job().item_count, 99);
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
        preview.action(CPreParent::kPrint)->trigger();  // No
        EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
        answer = QMessageBox::Yes;
        preview.action(CPreParent::kPrint)->trigger();
      },
      [&](QDialog& dialog) {
        if (auto* range = qobject_cast<CSetPrntItemDlg*>(&dialog)) {
          range->start_field()->setText(start);
          range->end_field()->setText(end);
          range->ok_button()->click();
          return range->result();
        }
        if (auto* go = qobject_cast<CPreGotoDlg*>(&dialog)) {
          go->field()->selectAll();  // typed over the current page, key by key
          QTest::keyClicks(go->field(), typed);
          go->accept();
          return go->result();
        }
        auto& box = dynamic_cast<QMessageBox&>(dialog);  // the question before printing
        EXPECT_EQ(box.text(), QStringLiteral("Are you sure to printing current date?"));
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
        return answer;
      });
  QPushButton* print = window->wave_data_view()->button(WaveDataView::Button::kPrint);
  print->click();
  ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
  const std::string text = PdfText(pdf);
  if (!text.empty()) {
    EXPECT_NE(text.find("Print the Wave Data"), std::string::npos) << text;
    EXPECT_NE(text.find("测量"), std::string::npos) << text;
  }

  // A refused start, and an end before the start (no items): no preview.
  const std::pair<const char*, const char*> refused[] = {{"4000", "4000"}, {"100", "50"}};
  for (const auto& [first, last] : refused) {
    start = QString::fromLatin1(first);
    end = QString::fromLatin1(last);
    print->click();
  }
  EXPECT_EQ(previews, 1);
  EXPECT_EQ(presenter.boxes.size(), 1u);  // the refused start's
}

// Measurement and DSO Bitmap reach their previews, the picture painted on its page; a printer
// that cannot be had is reported.
TEST_F(PrintTest, MeasurementAndBitmapReachTheirPreviewsAndAMissingPrinterIsReported) {
  ViewTables& tables = Open().view_tables();
  tables.wave_slots[1].in_measurement = 1;
  EnableViewButtons(tables);
  Script([](CPreParent& preview) { EXPECT_EQ(preview.job().item_count, 11); });
  window->wave_measurement_view()->button(WaveMeasurementView::Button::kPrint)->click();
  EXPECT_EQ(previews, 1);

  // A picture of the instrument's screen: red on its left half, blue on its right.
  QImage screen(320, 240, QImage::Format_RGB888);
  screen.fill(Qt::blue);
  QPainter(&screen).fillRect(0, 0, 160, 240, Qt::red);
  const std::string bmp = dir.File("screen.bmp");
  ASSERT_TRUE(screen.save(QString::fromStdString(bmp), "BMP"));
  ASSERT_TRUE(window->dso_bitmap_view()->LoadPicture(bmp, true));
  window->print_commands().set_printers([] { return std::unique_ptr<QPrinter>(); });
  QImage page;
  Script(
      [&page](CPreParent& preview) {
        page = preview.page_area()->RenderPage();
        preview.action(CPreParent::kPrint)->trigger();
      },
      [](QDialog&) { return static_cast<int>(QMessageBox::Yes); });
  window->dso_bitmap_view()->button(DsoBitmapView::Button::kPrint)->click();
  ASSERT_FALSE(page.isNull());
  const double dx = page.dotsPerMeterX() / 1000.0;
  const double dy = page.dotsPerMeterY() / 1000.0;
  EXPECT_GT(qRed(page.pixel(static_cast<int>(40 * dx), static_cast<int>(80 * dy))), 200);
  EXPECT_GT(qBlue(page.pixel(static_cast<int>(160 * dx), static_cast<int>(80 * dy))), 200);
  ASSERT_FALSE(presenter.boxes.empty());
  EXPECT_EQ(presenter.boxes.back().text, "Initialize the printer failed!");
  EXPECT_EQ(presenter.boxes.back().caption, "错误");
}

}  // namespace
}  // namespace korvelane::testing
