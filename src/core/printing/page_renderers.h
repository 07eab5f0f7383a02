// SPDX-License-Identifier: GPL-3.0-or-later
// The page renderers of the four views: the layout of each page of a print job, the name of the
// printed document and the texts of a failed page.
#pragma once

#include <array>
#include <string>

#include "core/common/clock.h"
#include "core/printing/page.h"
#include "core/printing/print_job.h"
#include "core/views/list_tables.h"
#include "core/views/wave_slots.h"

namespace korvelane {

// "Print Date:%Y-%m-%d" of `now`; empty when the time is not a valid date.
std::string PrintDateText(const LocalTime& now);

// " %i / %i " on paper; the Wave Data preview drops the outer spaces.
std::string PageNumberText(int page, int page_count, bool padded = true);

// At most `room` characters of a cell: the whole of a text that fits its column.
std::string ReadCell(const std::string& text, int room);

class PageRenderer {
 public:
  virtual ~PageRenderer() = default;
  // The title of page 1 and the name of the printed document.
  virtual std::string DocumentName() const = 0;
  // Debug-log text and box title when page `page` cannot be started.
  virtual std::string PageFailureText(int page) const = 0;
  virtual std::string PageFailureTitle() const { return "Error"; }
  // Page `page` of `job` without the page outline; `preview` selects the preview's page text.
  virtual Page Layout(const PrintJob& job, int page, bool preview,
                      const std::string& date_text) const = 0;
};

// The preview's page: the page outline, then the job's page to draw.
Page PreviewPage(const PageRenderer& renderer, const PrintJob& job, const std::string& date_text);

class WaveDataPages : public PageRenderer {
 public:
  explicit WaveDataPages(const WaveDataList& list) : list_(list) {}
  std::string DocumentName() const override { return "Print the Wave Data"; }
  std::string PageFailureText(int page) const override;
  Page Layout(const PrintJob& job, int page, bool preview,
              const std::string& date_text) const override;

 private:
  const WaveDataList& list_;
};

// Slot 1..7 shown on the graph; entry 0 unused.
using ShownSlots = std::array<int, kSlotCount + 1>;

class WaveGraphPages : public PageRenderer {
 public:
  WaveGraphPages(const WaveDataList& wave_data, const MeasurementList& measurements,
                 const ParameterList& parameters, const ShownSlots& shown)
      : wave_data_(wave_data),
        measurements_(measurements),
        parameters_(parameters),
        shown_(shown) {}
  std::string DocumentName() const override { return "Print the Wave Graph Data"; }
  std::string PageFailureText(int page) const override;
  Page Layout(const PrintJob& job, int page, bool preview,
              const std::string& date_text) const override;

 private:
  const WaveDataList& wave_data_;
  const MeasurementList& measurements_;
  const ParameterList& parameters_;
  ShownSlots shown_;
};

class MeasurementPages : public PageRenderer {
 public:
  explicit MeasurementPages(const MeasurementList& list) : list_(list) {}
  std::string DocumentName() const override { return "Print The Measurement"; }
  std::string PageFailureText(int page) const override;
  Page Layout(const PrintJob& job, int page, bool preview,
              const std::string& date_text) const override;

 private:
  const MeasurementList& list_;
};

class DsoBitmapPages : public PageRenderer {
 public:
  static constexpr int kSourceWidth = 320;
  static constexpr int kSourceHeight = 240;
  std::string DocumentName() const override { return "Print the DSO Bitmap"; }
  std::string PageFailureText(int page) const override;
  std::string PageFailureTitle() const override { return "错误提示"; }
  Page Layout(const PrintJob& job, int page, bool preview,
              const std::string& date_text) const override;
};

}  // namespace korvelane
