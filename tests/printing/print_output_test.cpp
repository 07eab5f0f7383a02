// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "core/logs/gbk_text.h"
#include "print_test_support.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "views/set_prnt_item_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane::testing {

namespace {

// pdftotext's spacing depends on the font: compare without spaces.
bool Contains(const std::string& text, const std::string& part) {
  auto squeeze = [](std::string t) {
    t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
    return t;
  };
  return squeeze(text).find(squeeze(part)) != std::string::npos;
}

class PrintOutputTest : public PrintTest {
 protected:
  // Opens the preview of the next job, keeps its first page and prints it when `print` is set.
  void Drive(const QString& start, const QString& end, bool print) {
    dialog_script = [=](QDialog& dialog) {
      if (auto* range = qobject_cast<CSetPrntItemDlg*>(&dialog)) {
        range->start_field()->setText(start);
        range->end_field()->setText(end);
        range->accept();
        return range->result();
      }
      if (qobject_cast<QMessageBox*>(&dialog))
        return static_cast<int>(QMessageBox::Yes);
      if (auto* preview = qobject_cast<CPreParent*>(&dialog)) {
        if (print)
          preview->action(CPreParent::kNext)->trigger();  // printing starts at page 1 anyway
        page = preview->page_area()->RenderPage();
        if (print)
          preview->action(CPreParent::kPrint)->trigger();
      }
      return static_cast<int>(QDialog::Rejected);
    };
  }

  // Dark pixels inside the rectangle of the page image given in millimetres.
  int DarkPixels(double x1, double y1, double x2, double y2) const {
    const double dx = page.dotsPerMeterX() / 1000.0;
    const double dy = page.dotsPerMeterY() / 1000.0;
    int dark = 0;
    for (int y = static_cast<int>(y1 * dy); y < static_cast<int>(y2 * dy) && y < page.height(); ++y)
      for (int x = static_cast<int>(x1 * dx); x < static_cast<int>(x2 * dx) && x < page.width();
           ++x)
        dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
  }

  QImage page;
};

TEST_F(PrintOutputTest, WaveDataDocumentReadsBackFromThePdf) {
  FillWaveData(4000);
  const std::string pdf = PrintToPdf("wave_data.pdf");
  Drive("1", "100", true);
  window->wave_data_view()->button(WaveDataView::Button::kPrint)->click();

  ASSERT_FALSE(page.isNull());
  EXPECT_GT(DarkPixels(60, 10, 160, 20), 50);  // the title

  ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
  if (!HavePdfToText())
    GTEST_SKIP() << "pdftotext is not installed";
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Print the Wave Data"), std::string::npos) << text;
  EXPECT_NE(text.find("Print Date:2026-12-06"), std::string::npos);
  EXPECT_TRUE(Contains(text, "1 / 3")) << text;
  EXPECT_TRUE(Contains(text, "3 / 3"));
  EXPECT_TRUE(Contains(text, "\n39 38\n"));  // the last row of page 1 reaches the paper
  EXPECT_FALSE(Contains(text, "4 / 3"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3);
  // Item 100 holds sample code 99 and is the last row printed.
  EXPECT_NE(text.find("100"), std::string::npos);
  EXPECT_EQ(text.find("101 "), std::string::npos);
}

TEST_F(PrintOutputTest, MeasurementPageCarriesCjkAndLatinTexts) {
  tables->measurement_list.SetText(0, 1, "1.25V");
  // The lists hold code page 936, as files and the instrument give it.
  tables->measurement_list.SetText(1, 3, Utf8ToGbk("测量"));
  tables->measurement_list.SetText(0, 8, "Pass");
  tables->wave_slots[1].in_measurement = 1;
  EnableViewButtons(*tables);
  const std::string pdf = PrintToPdf("measurement.pdf");
  Drive("", "", true);
  window->wave_measurement_view()->button(WaveMeasurementView::Button::kPrint)->click();
  if (!HavePdfToText())
    GTEST_SKIP() << "pdftotext is not installed";
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Print The Measurement"), std::string::npos) << text;
  EXPECT_NE(text.find("Negative Width"), std::string::npos);
  EXPECT_NE(text.find("1.25V"), std::string::npos);
  EXPECT_NE(text.find("Pass | Fail"), std::string::npos);
  EXPECT_NE(text.find("测量"), std::string::npos);
  EXPECT_TRUE(Contains(text, "1 / 1"));
}

TEST_F(PrintOutputTest, WaveGraphAndBitmapPreviewsDrawTheirPages) {
  FillWaveData(60);
  tables->measurement_list.SetText(0, 1, "1.25V");
  tables->parameter_list.SetText(0, 1, "500us");
  WaveGraphView* graph = window->wave_graph_view();
  tables->wave_slots[1].in_graph = 1;
  graph->show_box(1)->setEnabled(true);
  graph->show_box(1)->setChecked(true);
  const std::string pdf = PrintToPdf("graph.pdf");
  Drive("", "", true);
  window->print_commands().PrintWaveGraph(60);
  if (HavePdfToText()) {
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Print the Wave Graph Data"), std::string::npos) << text;
    EXPECT_NE(text.find("Vavg"), std::string::npos);
    EXPECT_NE(text.find("500us"), std::string::npos);
    EXPECT_TRUE(Contains(text, "4 / 4"));
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
  Drive("", "", false);
  window->print_commands().PrintBitmap();
  ASSERT_FALSE(page.isNull());
  const double dx = page.dotsPerMeterX() / 1000.0;
  const double dy = page.dotsPerMeterY() / 1000.0;
  const QRgb left = page.pixel(static_cast<int>(40 * dx), static_cast<int>(80 * dy));
  const QRgb right = page.pixel(static_cast<int>(160 * dx), static_cast<int>(80 * dy));
  EXPECT_GT(qRed(left), 200);
  EXPECT_GT(qBlue(right), 200);
}

}  // namespace
}  // namespace korvelane::testing
