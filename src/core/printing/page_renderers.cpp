// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/printing/page_renderers.h"

#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

namespace korvelane {
namespace {

constexpr double kRowHeight = 7.0;
constexpr double kCellInset = 1.5;
constexpr double kTitleTop = 10.0;
constexpr double kTitleBottom = 20.0;
constexpr double kFirstTableTop = 25.0;
constexpr double kLaterTableTop = 18.0;

// Column edges of the Wave Data and Wave Graph tables: a 30 mm first column, six of 22 mm and
// the last one up to the right edge.
const std::vector<double>& ItemTableEdges() {
  static const std::vector<double> edges = {20, 50, 72, 94, 116, 138, 160, 182, 203};
  return edges;
}

struct Table {
  std::vector<double> edges;  // left edge of every column, then the right edge of the table
  std::vector<const char*> headers;
  std::vector<std::vector<std::string>> rows;
};

// Header, rows, grid and footer of a table whose top edge is at `top`.
void DrawTable(Page& page, const Table& table, double top, const std::string& date_text,
               const std::string& page_text) {
  const size_t columns = table.edges.size() - 1;
  const double left = table.edges.front();
  const double right = table.edges.back();
  page.Line(left, top, right, top);
  double y = top;
  for (size_t c = 0; c < columns; ++c)
    page.Text(table.edges[c], y, table.edges[c + 1], y + kRowHeight, table.headers[c],
              FontRole::kBody, TextAlign::kCentre);
  for (size_t c = 1; c < columns; ++c)
    page.Line(table.edges[c], y, table.edges[c], y + kRowHeight);
  page.Line(left, y + kRowHeight, right, y + kRowHeight);
  for (const auto& row : table.rows) {
    y += kRowHeight;
    for (size_t c = 0; c < columns && c < row.size(); ++c) {
      if (!row[c].empty())
        page.Text(table.edges[c], y, table.edges[c + 1], y + kRowHeight, row[c], FontRole::kBody,
                  TextAlign::kLeft, kCellInset);
    }
    page.Line(left, y + kRowHeight, right, y + kRowHeight);
    for (size_t c = 1; c < columns; ++c)
      page.Line(table.edges[c], y, table.edges[c], y + kRowHeight);
  }
  const double bottom = y + kRowHeight;
  page.Line(left, top, left, bottom);
  page.Line(right, top, right, bottom);
  page.Text(left, bottom, right, bottom + kRowHeight, date_text, FontRole::kBody, TextAlign::kLeft);
  page.Text(left, bottom, right, bottom + kRowHeight, page_text, FontRole::kBody,
            TextAlign::kRight);
}

void DrawTitle(Page& page, const std::string& title, double top, double bottom) {
  page.Text(0, top, kPageWidthMm, bottom, title, FontRole::kTitle, TextAlign::kCentre);
}

}  // namespace

std::string PrintDateText(const LocalTime& now) {
  if (now.year < 1 || now.year > 9999 || now.month < 1 || now.month > 12 || now.day < 1 ||
      now.day > 31)
    return {};
  char text[32];
  std::snprintf(text, sizeof text, "Print Date:%04d-%02d-%02d", now.year, now.month, now.day);
  return text;
}

std::string PageNumberText(int page, int page_count, bool padded) {
  char text[48];
  std::snprintf(text, sizeof text, padded ? " %i / %i " : "%i / %i", page, page_count);
  return text;
}

std::string ReadCell(const std::string& text, int room) {
  const size_t most = room > 0 ? static_cast<size_t>(room) : 0;
  return text.size() <= most ? text : text.substr(0, most);
}

Page PreviewPage(const PageRenderer& renderer, const PrintJob& job, const std::string& date_text) {
  Page page;
  page.Rectangle(0, 0, kPageWidthMm, kPageHeightMm);
  Page content = renderer.Layout(job, job.page_to_draw, true, date_text);
  page.items.insert(page.items.end(), std::make_move_iterator(content.items.begin()),
                    std::make_move_iterator(content.items.end()));
  return page;
}

std::string WaveDataPages::PageFailureText(int page) const {
  return "Print page " + std::to_string(page) + " failed";
}

Page WaveDataPages::Layout(const PrintJob& job, int page_number, bool preview,
                           const std::string& date_text) const {
  Page page;
  Table table{ItemTableEdges(), {}, {}};
  table.headers.assign(std::begin(WaveDataList::kHeaders), std::end(WaveDataList::kHeaders));
  const PageRows rows = ItemPageRows(job.first_item, job.item_count, page_number);
  for (int r = rows.first_row; r < rows.first_row + rows.rows; ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < WaveDataList::kColumns; ++c)
      cells.push_back(ReadCell(std::string(list_.text(r, c)), c == 0 ? 19 : 9));
    table.rows.push_back(std::move(cells));
  }
  if (page_number == 1)
    DrawTitle(page, DocumentName(), kTitleTop, kTitleBottom);
  DrawTable(page, table, page_number == 1 ? kFirstTableTop : kLaterTableTop, date_text,
            PageNumberText(page_number, job.page_count, !preview));
  return page;
}

std::string WaveGraphPages::PageFailureText(int page) const {
  return "Print page " + std::to_string(page) + " failed";
}

Page WaveGraphPages::Layout(const PrintJob& job, int page_number, bool /*preview*/,
                            const std::string& date_text) const {
  Page page;
  Table table{ItemTableEdges(), {}, {}};
  table.headers = {"Item Name", "CH1", "CH2", "Chan3", "Chan4", "Chan5", "Chan6", "Chan7"};
  const int sample_pages = ItemPageCount(job.item_count);
  // One row of the table from a list's row: column 0 always, slot columns only when shown.
  auto add_row = [&](auto&& cell_of) {
    std::vector<std::string> cells;
    cells.push_back(ReadCell(cell_of(0), 29));
    for (int slot = 1; slot <= kSlotCount; ++slot)
      cells.push_back(shown_[static_cast<size_t>(slot)] != 0 ? ReadCell(cell_of(slot), 9)
                                                             : std::string());
    table.rows.push_back(std::move(cells));
  };
  if (page_number >= 1 && page_number <= sample_pages) {
    const PageRows rows = ItemPageRows(job.first_item, job.item_count, page_number);
    for (int r = rows.first_row; r < rows.first_row + rows.rows; ++r)
      add_row([&](int c) { return std::string(wave_data_.text(r, c)); });
  } else if (page_number == sample_pages + 1) {
    for (int r = 0; r < MeasurementList::kRows; ++r)
      add_row([&](int c) { return measurements_.text(r, c); });
  } else if (page_number == sample_pages + 2) {
    for (int r = 0; r < ParameterList::kRows; ++r)
      add_row([&](int c) { return parameters_.text(r, c); });
  }
  if (page_number == 1)
    DrawTitle(page, DocumentName(), kTitleTop, kTitleBottom);
  DrawTable(page, table, page_number == 1 ? kFirstTableTop : kLaterTableTop, date_text,
            PageNumberText(page_number, job.page_count));
  return page;
}

std::string MeasurementPages::PageFailureText(int /*page*/) const {
  return "打印波形测量值数据列表失败";
}

Page MeasurementPages::Layout(const PrintJob& /*job*/, int /*page*/, bool /*preview*/,
                              const std::string& date_text) const {
  Page page;
  Table table;
  table.edges = {20, 50, 67, 84, 101, 118, 135, 152, 169, 203};
  table.headers.assign(std::begin(MeasurementList::kHeaders), std::end(MeasurementList::kHeaders));
  for (int r = 0; r < MeasurementList::kRows; ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < MeasurementList::kColumns; ++c)
      cells.push_back(ReadCell(list_.text(r, c), c == 0 ? 29 : 9));
    table.rows.push_back(std::move(cells));
  }
  DrawTitle(page, DocumentName(), 15, 30);
  DrawTable(page, table, 30, date_text, PageNumberText(1, 1));
  return page;
}

std::string DsoBitmapPages::PageFailureText(int /*page*/) const {
  return "打印位图图像失败";
}

Page DsoBitmapPages::Layout(const PrintJob& /*job*/, int /*page*/, bool /*preview*/,
                            const std::string& date_text) const {
  Page page;
  const double left = 20.0;
  const double right = 183.0;
  const double k = (right - left) / kSourceWidth;  // millimetres per source pixel
  const double top = 10.0 + 30.0;
  DrawTitle(page, DocumentName(), 15, 30);
  page.Image(left, top, right, top + kSourceHeight * k, kSourceWidth, kSourceHeight);
  const double e = 30.0 + 250.0 * k + 10.0;
  page.Line(left, e + 3, right, e + 3);
  page.Text(left, e + 7, right, e + 14, date_text, FontRole::kBody, TextAlign::kLeft);
  page.Text(left, e + 7, right, e + 14, "1 / 1", FontRole::kBody, TextAlign::kRight);
  return page;
}

}  // namespace korvelane
