// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/printing/print_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_user_interface.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

// A printer that records the calls and fails where it is told to.
class RecordingSurface : public PrintSurface {
 public:
  bool HasDevice() const override { return has_device; }
  bool StartDocument(const std::string& name) override {
    calls.push_back("doc:" + name);
    return document_ok;
  }
  bool StartPage() override {
    ++pages_started;
    calls.push_back("page");
    return pages_started != failing_page;
  }
  void DrawPage(const Page& page) override {
    for (const PageItem& item : page.items)
      if (item.kind == PageItem::kText && item.text.find(" / ") != std::string::npos)
        page_texts.push_back(item.text);
    outlines += page.items.empty() || page.items[0].kind != PageItem::kRectangle ? 0 : 1;
  }
  void EndPage() override { calls.push_back("end page"); }
  void EndDocument() override { calls.push_back("end doc"); }
  void AbortDocument() override { calls.push_back("abort"); }

  bool has_device = true;
  bool document_ok = true;
  int failing_page = 0;
  int pages_started = 0;
  int outlines = 0;
  std::vector<std::string> calls;
  std::vector<std::string> page_texts;
};

class PrintDocumentTest : public ::testing::Test {
 protected:
  PrintJob WaveDataJob(int first, int count, int page_to_draw) {
    PrintJob job;
    job.first_item = first;
    job.item_count = count;
    SetPrintJob(job);
    job.page_to_draw = page_to_draw;
    job.to_printer = 1;
    return job;
  }

  testing::TempDir dir;
  testing::FixedClock clock;
  testing::FakeUserInterface ui;
  DebugLog log{dir.path(), clock};
  PrintServices services{ui, log, clock};
  WaveDataList list;
  WaveDataPages renderer{list};
  RecordingSurface surface;
};

TEST_F(PrintDocumentTest, PrintsEveryPageFromTheFirstWhateverPageThePreviewShows) {
  EXPECT_EQ(PrintWholeDocument(renderer, WaveDataJob(1, 100, 3), surface, services), 1);
  EXPECT_EQ(surface.calls,
            (std::vector<std::string>{"doc:Print the Wave Data", "page", "end page", "page",
                                      "end page", "page", "end page", "end doc"}));
  EXPECT_EQ(surface.page_texts, (std::vector<std::string>{" 1 / 3 ", " 2 / 3 ", " 3 / 3 "}));
  EXPECT_EQ(surface.outlines, 0);  // paper has no page outline
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PrintDocumentTest, DocumentThatCannotStartPrintsNothing) {
  surface.document_ok = false;
  EXPECT_EQ(PrintWholeDocument(renderer, WaveDataJob(1, 100, 1), surface, services), 1);
  EXPECT_EQ(surface.calls, (std::vector<std::string>{"doc:Print the Wave Data"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            (testing::MessageRecord{"Initialize printer failed", "Error", MessageIcon::kStop}));
  EXPECT_FALSE(testing::ReadFileText(log.debug_log_path()).empty());
}

TEST_F(PrintDocumentTest, FailedPageAbortsTheDocumentWithTheRenderersTexts) {
  surface.failing_page = 2;
  EXPECT_EQ(PrintWholeDocument(renderer, WaveDataJob(1, 100, 1), surface, services), 0);
  EXPECT_EQ(surface.calls, (std::vector<std::string>{"doc:Print the Wave Data", "page", "end page",
                                                     "page", "abort"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Print failed!");
  EXPECT_EQ(ui.messages[0].caption, "Error");
  EXPECT_EQ(renderer.PageFailureText(2), "Print page 2 failed");

  // The DSO Bitmap page fails under its own title.
  RecordingSurface bitmap_surface;
  bitmap_surface.failing_page = 1;
  PrintJob job;
  job.item_count = 1;
  SetPrintJob(job);
  EXPECT_EQ(PrintWholeDocument(DsoBitmapPages(), job, bitmap_surface, services), 0);
  EXPECT_EQ(ui.messages.back().caption, "错误提示");
  EXPECT_EQ(bitmap_surface.calls,
            (std::vector<std::string>{"doc:Print the DSO Bitmap", "page", "abort"}));
}

}  // namespace
}  // namespace korvelane
