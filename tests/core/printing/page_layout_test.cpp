// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/printing/page_renderers.h"

namespace korvelane {
namespace {

const PageItem* FindText(const Page& page, const std::string& text) {
  for (const PageItem& item : page.items)
    if (item.kind == PageItem::kText && item.text == text)
      return &item;
  return nullptr;
}

std::vector<std::string> TextsInBand(const Page& page, double top) {
  std::vector<std::string> texts;
  for (const PageItem& item : page.items)
    if (item.kind == PageItem::kText && item.y1 == top)
      texts.push_back(item.text);
  return texts;
}

void ExpectBox(const PageItem* item, double x1, double y1, double x2, double y2) {
  ASSERT_NE(item, nullptr);
  EXPECT_DOUBLE_EQ(item->x1, x1);
  EXPECT_DOUBLE_EQ(item->y1, y1);
  EXPECT_DOUBLE_EQ(item->x2, x2);
  EXPECT_DOUBLE_EQ(item->y2, y2);
}

PrintJob Job(int first, int count, int extra = 0) {
  PrintJob job;
  job.first_item = first;
  job.item_count = count;
  job.extra_pages = extra;
  SetPrintJob(job);
  return job;
}

class WaveDataPagesTest : public ::testing::Test {
 protected:
  WaveDataPagesTest() {
    for (int r = 0; r < 120; ++r)
      list.column(1)[r].Set(std::to_string(r % 256));
  }
  WaveDataList list;
  WaveDataPages renderer{list};
};

TEST_F(WaveDataPagesTest, FirstPageHasTitleHeaderThirtyNineRowsAndTheFooterUnderThem) {
  const Page page = renderer.Layout(Job(1, 100), 1, false, "Print Date:2026-12-06");
  const PageItem* title = FindText(page, "Print the Wave Data");
  ExpectBox(title, 0, 10, 223, 20);
  EXPECT_EQ(title->font, FontRole::kTitle);
  EXPECT_EQ(title->align, TextAlign::kCentre);

  // The header row, then the rows of items 1 to 39.
  EXPECT_EQ(TextsInBand(page, 25).size(), 8u);
  EXPECT_EQ(TextsInBand(page, 32), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(TextsInBand(page, 32 + 38 * 7), (std::vector<std::string>{"39", "38"}));
  EXPECT_EQ(FindText(page, "40"), nullptr);

  // Footer in the row under row 39: 25 + 40 × 7.
  const PageItem* date = FindText(page, "Print Date:2026-12-06");
  ExpectBox(date, 20, 305, 203, 312);
  const PageItem* number = FindText(page, " 1 / 3 ");
  ExpectBox(number, 20, 305, 203, 312);
  EXPECT_EQ(number->align, TextAlign::kRight);

  // Outer edges run from the top edge to the last row.
  bool left_edge = false;
  for (const PageItem& item : page.items)
    if (item.kind == PageItem::kLine && item.x1 == 20 && item.x2 == 20 && item.y1 == 25 &&
        item.y2 == 305)
      left_edge = true;
  EXPECT_TRUE(left_edge);
}

TEST(WaveGraphPagesTest, HiddenSlotPrintsAsEmptyColumnAndExtraPagesFollow) {
  WaveDataList wave_data;
  MeasurementList measurements;
  ParameterList parameters;
  for (int r = 0; r < 10; ++r) {
    wave_data.column(1)[r].Set("11");
    wave_data.column(2)[r].Set("22");
  }
  measurements.SetText(0, 1, "1.25V");
  measurements.SetText(0, 2, "2.50V");
  measurements.SetText(0, 8, "Pass");
  parameters.SetText(0, 1, "1ms");
  ShownSlots shown{};
  shown[1] = 1;  // CH2 has data but its box is cleared
  const WaveGraphPages renderer(wave_data, measurements, parameters, shown);
  const PrintJob job = Job(1, 10, 2);
  ASSERT_EQ(job.page_count, 3);

  const Page samples = renderer.Layout(job, 1, false, "");
  EXPECT_NE(FindText(samples, "Print the Wave Graph Data"), nullptr);
  EXPECT_NE(FindText(samples, "CH2"), nullptr);  // header stays
  EXPECT_EQ(FindText(samples, "22"), nullptr);
  EXPECT_EQ(TextsInBand(samples, 32), (std::vector<std::string>{"1", "11"}));
  EXPECT_NE(FindText(samples, " 1 / 3 "), nullptr);
  EXPECT_NE(FindText(samples, "Item Name"), nullptr);

  const Page measure = renderer.Layout(job, 2, false, "");
  EXPECT_EQ(FindText(measure, "Print the Wave Graph Data"), nullptr);
  EXPECT_EQ(TextsInBand(measure, 25), (std::vector<std::string>{"Vavg", "1.25V"}));
  EXPECT_NE(FindText(measure, "Negative Width"), nullptr);
  EXPECT_EQ(FindText(measure, "Pass"), nullptr);  // the verdict column is not printed

  const Page params = renderer.Layout(job, 3, false, "");
  EXPECT_EQ(TextsInBand(params, 25), (std::vector<std::string>{"Sec/div", "1ms"}));
  EXPECT_NE(FindText(params, "Trig level"), nullptr);
  EXPECT_NE(FindText(params, " 3 / 3 "), nullptr);
}

TEST(MeasurementPagesTest, TwelveRowsWithVerdictColumnUnderItsTitle) {
  MeasurementList list;
  list.SetText(10, 1, "-520.00mV");  // nine characters: all of them printed
  list.SetText(10, 8, "Fail");
  const MeasurementPages renderer(list);
  const Page page = renderer.Layout(Job(1, 11), 1, false, "Print Date:2026-12-06");
  ExpectBox(FindText(page, "Print The Measurement"), 0, 15, 223, 30);
  EXPECT_EQ(TextsInBand(page, 30).back(), "Pass | Fail");
  EXPECT_EQ(TextsInBand(page, 30 + 11 * 7),
            (std::vector<std::string>{"Negative Width", "-520.00mV", "Fail"}));
  ExpectBox(FindText(page, " 1 / 1 "), 20, 30 + 12 * 7, 203, 30 + 13 * 7);
}

TEST(PageTextsTest, DatePageNumberAndCellLimits) {
  EXPECT_EQ(PrintDateText({2008, 5, 12, 0, 0, 0, 0}), "Print Date:2008-05-12");
  EXPECT_EQ(PrintDateText({2026, 12, 31, 23, 59, 59, 0}), "Print Date:2026-12-31");
  EXPECT_EQ(PrintDateText({0, 0, 0, 0, 0, 0, 0}), "");  // no local time
  EXPECT_EQ(PrintDateText({2026, 13, 1, 0, 0, 0, 0}), "");
  EXPECT_EQ(PageNumberText(2, 103), " 2 / 103 ");
  EXPECT_EQ(PageNumberText(2, 103, false), "2 / 103");
  EXPECT_EQ(ReadCell("123456789012", 9), "123456789");
  EXPECT_EQ(ReadCell("4000", 19), "4000");
  EXPECT_EQ(ReadCell("abc", 0), "");
}

}  // namespace
}  // namespace korvelane
