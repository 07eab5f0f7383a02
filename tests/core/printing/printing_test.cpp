// SPDX-License-Identifier: GPL-3.0-or-later
// Pagination, the pages' layouts and texts, the preview's page choice, and the print sequence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/printing/page_renderers.h"
#include "core/printing/preview_state.h"
#include "core/printing/print_document.h"
#include "support/fake_user_interface.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

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

PrintJob Job(int first, int count, int extra = 0) {
  PrintJob job;
  job.first_item = first;
  job.item_count = count;
  job.extra_pages = extra;
  SetPrintJob(job);
  return job;
}

TEST(WaveDataPagesTest, FirstPageHasTheHeaderThirtyNineRowsAndTheFooterUnderThem) {
  WaveDataList list;
  for (int r = 0; r < 120; ++r)
    list.column(1)[r].Set(std::to_string(r % 256));
  const Page page = WaveDataPages(list).Layout(Job(1, 100), 1, false, "Print Date:2026-12-06");
  EXPECT_EQ(TextsInBand(page, 32), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(TextsInBand(page, 32 + 38 * 7), (std::vector<std::string>{"39", "38"}));
  EXPECT_EQ(FindText(page, "40"), nullptr);
  // The footer in the row under row 39: 25 + 40 × 7.
  EXPECT_EQ(TextsInBand(page, 305), (std::vector<std::string>{"Print Date:2026-12-06", " 1 / 3 "}));
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

  const Page samples = renderer.Layout(job, 1, false, "");
  EXPECT_NE(FindText(samples, "CH2"), nullptr);  // header stays
  EXPECT_EQ(FindText(samples, "22"), nullptr);
  EXPECT_EQ(TextsInBand(samples, 32), (std::vector<std::string>{"1", "11"}));

  const Page measure = renderer.Layout(job, 2, false, "");
  EXPECT_EQ(TextsInBand(measure, 25), (std::vector<std::string>{"Vavg", "1.25V"}));
  EXPECT_NE(FindText(measure, "Negative Width"), nullptr);
  EXPECT_EQ(FindText(measure, "Pass"), nullptr);  // the verdict column is not printed

  const Page params = renderer.Layout(job, 3, false, "");
  EXPECT_EQ(TextsInBand(params, 25), (std::vector<std::string>{"Sec/div", "1ms"}));
  EXPECT_NE(FindText(params, "Trig level"), nullptr);
}

TEST(MeasurementPagesTest, TwelveRowsWithVerdictColumnUnderItsTitle) {
  MeasurementList list;
  list.SetText(10, 1, "-520.00mV");  // nine characters: all of them printed
  list.SetText(10, 8, "Fail");
  const Page page = MeasurementPages(list).Layout(Job(1, 11), 1, false, "");
  EXPECT_EQ(TextsInBand(page, 30 + 11 * 7),
            (std::vector<std::string>{"Negative Width", "-520.00mV", "Fail"}));
  EXPECT_EQ(TextsInBand(page, 30 + 12 * 7).back(), " 1 / 1 ");
}

TEST(PageTextsTest, DatePageNumberAndCellLimits) {
  EXPECT_EQ(PrintDateText({2008, 5, 12, 0, 0, 0, 0}), "Print Date:2008-05-12");
  EXPECT_EQ(PrintDateText({2026, 12, 31, 23, 59, 59, 0}), "Print Date:2026-12-31");
  EXPECT_EQ(PrintDateText({0, 0, 0, 0, 0, 0, 0}), "");  // no local time
  EXPECT_EQ(PrintDateText({2026, 13, 1, 0, 0, 0, 0}), "");
  EXPECT_EQ(PageNumberText(2, 103, false), "2 / 103");
  EXPECT_EQ(ReadCell("123456789012", 9), "123456789");
  EXPECT_EQ(ReadCell("abc", 0), "");
}

TEST(PaginationTest, PagesHoldThirtyNineItemsThenFortyAndThePreviewStaysWithinThem) {
  // Wave Graph jobs add the measurement and parameter pages; absurd counts do not overflow.
  const struct {
    int items, extra, pages;
  } jobs[] = {{1, 0, 1},  {39, 0, 1}, {40, 0, 2}, {79, 0, 2},     {80, 0, 3},
              {10, 2, 3}, {39, 2, 3}, {40, 2, 4}, {4000, 2, 103}, {0x7fffffff, 0, 53687092}};
  for (const auto& j : jobs)
    EXPECT_EQ(Job(1, j.items, j.extra).page_count, j.pages) << j.items << " + " << j.extra;

  // The rows of each page stop at the last item; nothing for an empty job or a page outside it.
  const struct {
    int first_item, count, page, first_row, rows;
  } ranges[] = {{1, 100, 1, 0, 39},  {1, 100, 2, 39, 40}, {1, 100, 3, 79, 21}, {1, 100, 4, 0, 0},
                {50, 11, 1, 49, 11}, {1, 40, 2, 39, 1},   {1, 0, 1, 0, 0},     {1, 10, 0, 0, 0}};
  for (const auto& r : ranges) {
    const PageRows rows = ItemPageRows(r.first_item, r.count, r.page);
    EXPECT_EQ(rows.rows, r.rows) << r.first_item << "+" << r.count << " page " << r.page;
    if (r.rows > 0) {
      EXPECT_EQ(rows.first_row, r.first_row)
          << r.first_item << "+" << r.count << " page " << r.page;
    }
  }

  // The preview's up-down wraps round (its test types pages outside the document).
  EXPECT_EQ(StepGotoPage(5, 1, 5), 1);
  EXPECT_EQ(StepGotoPage(1, -1, 5), 5);
}

// A printer that writes down what it is asked to do, the page numbers and outlines it draws, and
// fails where it is told to.
class RecordingSurface : public PrintSurface {
 public:
  bool HasDevice() const override { return true; }
  bool StartDocument(const std::string& name) override {
    calls = name;
    return document_ok;
  }
  bool StartPage() override {
    calls += " page";
    return ++pages_started != failing_page;
  }
  void DrawPage(const Page& page) override {
    for (const PageItem& item : page.items) {
      if (item.kind == PageItem::kRectangle)
        calls += " outline";
      if (item.kind == PageItem::kText && item.text.find(" / ") != std::string::npos)
        calls += " [" + item.text + "]";
    }
  }
  void EndPage() override { calls += " end"; }
  void EndDocument() override { calls += " done"; }
  void AbortDocument() override { calls += " abort"; }

  bool document_ok = true;
  int failing_page = 0;
  int pages_started = 0;
  std::string calls;
};

// Every page from the first, whatever page the preview shows, and none on paper has an outline.
TEST(PrintDocumentTest, PrintsEveryPageFromTheFirstAndAFailureEndsTheDocument) {
  testing::TempDir dir;
  testing::FixedClock clock;
  DebugLog log{dir.path(), clock};
  WaveDataList list;
  PrintJob job = Job(1, 100);
  job.page_to_draw = 3;
  const struct {
    int failing_page;  // -1: the document itself
    int result;
    const char* calls;
    const char* message;
  } cases[] = {
      {0, 1, " page [ 1 / 3 ] end page [ 2 / 3 ] end page [ 3 / 3 ] end done", ""},
      {-1, 1, "", "Initialize printer failed"},
      {2, 0, " page [ 1 / 3 ] end page abort", "Print failed!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    testing::FakeUserInterface ui;
    RecordingSurface surface;
    surface.document_ok = c.failing_page >= 0;
    surface.failing_page = c.failing_page;
    EXPECT_EQ(PrintWholeDocument(WaveDataPages(list), job, surface, {ui, log, clock}), c.result);
    EXPECT_EQ(surface.calls, std::string("Print the Wave Data") + c.calls);
    EXPECT_EQ(ui.messages.empty() ? "" : ui.messages[0].text, c.message);
  }
  EXPECT_NE(testing::ReadFileText(log.debug_log_path()).find("Print page 2 failed"),
            std::string::npos);
}

// The preview's page buttons: back while a page lies before, forward while one lies after.
TEST(PreviewNavigationTest, PageButtonsFollowThePageShown) {
  const PreviewNavigation one(1);
  EXPECT_FALSE(one.first_enabled() || one.next_enabled() || one.goto_enabled());
  PreviewNavigation nav(3);
  EXPECT_TRUE(nav.next_enabled() && nav.goto_enabled());
  const auto shows = [&nav](int page, bool back, bool forward) {
    EXPECT_EQ(nav.current_page(), page);
    EXPECT_EQ(nav.previous_enabled(), back) << page;
    EXPECT_EQ(nav.last_enabled(), forward) << page;
  };
  nav.Last();
  shows(3, true, false);
  nav.Previous();
  shows(2, true, true);
  nav.First();
  shows(1, false, true);
  nav.Next();
  shows(2, true, true);
  nav.Goto(9);
  shows(3, true, false);
}

}  // namespace
}  // namespace korvelane
