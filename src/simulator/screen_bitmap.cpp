// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/screen_bitmap.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/protocol/model_table.h"
#include "core/protocol/unit_table.h"

namespace korvelane::sim {
namespace {

enum Colour : uint8_t {
  kBlack,
  kGridDim,
  kGridBright,
  kCh1Colour,
  kCh2Colour,
  kMathColour,
  kRefColour,
  kTriggerColour,
  kRunColour,
  kStopColour,
  kBarColour,
  kWhite,
  kCursorColour,
  kReadyColour,
  kFirstGrey,
};

struct Rgb {
  uint8_t r, g, b;
};
constexpr Rgb kPalette[kFirstGrey] = {
    {0, 0, 0},     {72, 72, 72},    {150, 150, 150}, {255, 255, 0}, {0, 255, 255},
    {255, 0, 255}, {230, 230, 230}, {255, 128, 0},   {0, 200, 0},   {220, 0, 0},
    {0, 0, 96},    {255, 255, 255}, {128, 128, 255}, {200, 160, 0},
};

// The waveform area: 10 divisions of 30 pixels across, 8 of 25 (one pixel a screen unit) down.
constexpr int kLeft = 10;
constexpr int kTop = 20;
constexpr int kDivWidth = 30;
constexpr int kDivHeight = 25;
constexpr int kWidth = 10 * kDivWidth;          // 300
constexpr int kBottom = kTop + 8 * kDivHeight;  // 220, screen unit 0

class Canvas {
 public:
  Canvas() { pixels_.fill(kBlack); }

  void Set(int x, int y, uint8_t colour) {
    if (x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight)
      pixels_[static_cast<size_t>(y) * kScreenWidth + static_cast<size_t>(x)] = colour;
  }
  void Fill(int x0, int y0, int x1, int y1, uint8_t colour) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        Set(x, y, colour);
  }
  void VerticalLine(int x, int y0, int y1, uint8_t colour) {
    if (y0 > y1)
      std::swap(y0, y1);
    for (int y = y0; y <= y1; ++y)
      Set(x, y, colour);
  }
  void Text(int x, int y, const std::string& text, uint8_t colour);

  const std::array<uint8_t, kScreenWidth * kScreenHeight>& pixels() const { return pixels_; }

 private:
  std::array<uint8_t, kScreenWidth * kScreenHeight> pixels_;
};

// A 3 x 5 font: five rows of three bits, the high bit at the left.
struct Glyph {
  char c;
  uint8_t rows[5];
};
constexpr Glyph kFont[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}},  {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}},  {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}},  {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}},  {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}},  {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}},  {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}},  {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}},
    {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}},  {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}},  {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'.', {0, 0, 0, 0, 2}}, {',', {0, 0, 0, 2, 4}},  {'-', {0, 0, 7, 0, 0}}, {':', {0, 2, 0, 2, 0}},
    {'/', {1, 1, 2, 4, 4}}, {'\'', {2, 2, 0, 0, 0}},
};

void Canvas::Text(int x, int y, const std::string& text, uint8_t colour) {
  for (char raw : text) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    for (const Glyph& g : kFont) {
      if (g.c != c)
        continue;
      for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col)
          if (g.rows[row] & (4 >> col))
            Set(x + col, y + row, colour);
    }
    x += 4;
  }
}

// Row of a screen unit (0 = bottom of the screen), or -1 off the screen.
int RowOf(double unit) {
  const long u = std::lround(unit);
  return u < 0 || u > 8 * kDivHeight ? -1 : kBottom - static_cast<int>(u);
}

void DrawGraticule(Canvas& canvas) {
  for (int k = 0; k <= 10; ++k) {
    const int x = kLeft + k * kDivWidth;
    const bool solid = k == 0 || k == 5 || k == 10;
    for (int y = kTop; y <= kBottom; ++y) {
      if (solid || y % 5 == 0)
        canvas.Set(x, y, solid ? kGridBright : kGridDim);
    }
  }
  for (int k = 0; k <= 8; ++k) {
    const int y = kTop + k * kDivHeight;
    const bool solid = k == 0 || k == 4 || k == 8;
    for (int x = kLeft; x <= kLeft + kWidth; ++x) {
      if (solid || x % 6 == 4)
        canvas.Set(x, y, solid ? kGridBright : kGridDim);
    }
  }
}

// A trace of screen units, one value for each of `values.size()` points across the screen.
void DrawTrace(Canvas& canvas, const std::vector<double>& units, uint8_t colour) {
  if (units.empty())
    return;
  int previous = -1;
  for (int column = 0; column <= kWidth; ++column) {
    const size_t i = static_cast<size_t>(column) * units.size() / (kWidth + 1);
    const double unit = std::clamp(units[i], 0.0, 8.0 * kDivHeight);
    const int row = kBottom - static_cast<int>(std::lround(unit));
    canvas.VerticalLine(kLeft + column, previous < 0 ? row : previous, row, colour);
    previous = row;
  }
}

std::vector<double> UnitsOf(const std::vector<uint8_t>& codes) {
  std::vector<double> units(codes.size());
  for (size_t i = 0; i < codes.size(); ++i)
    units[i] = codes[i] - 18.0;
  return units;
}

// A marker pointing right (into the screen) at the left margin, or left at the right margin.
void DrawMarker(Canvas& canvas, int x_tip, int row, bool points_right, uint8_t colour) {
  row = std::clamp(row, kTop, kBottom);
  for (int d = 0; d < 4; ++d) {
    const int x = points_right ? x_tip - d : x_tip + d;
    canvas.VerticalLine(x, row - d, row + d, colour);
  }
}

std::string ScaleText(const ScaleStep& step) {
  char text[32];
  std::snprintf(text, sizeof text, "%g%s", static_cast<double>(step.value), UnitSuffix(step.unit));
  return text;
}

void DrawBars(Canvas& canvas, const Scope& scope, int8_t product_type) {
  const ScopeState& s = scope.state();
  canvas.Fill(0, 0, kScreenWidth - 1, kTop - 3, kBarColour);
  canvas.Fill(0, kBottom + 3, kScreenWidth - 1, kScreenHeight - 1, kBarColour);

  static const char* const kStatusText[] = {"STOP", "AUTO", "READY", "TRIG'D", "SCAN"};
  const AcqStatus status = scope.Status();
  const uint8_t status_colour = status == kStatusStop    ? kStopColour
                                : status == kStatusReady ? kReadyColour
                                                         : kRunColour;
  canvas.Fill(kLeft, 3, kLeft + 30, 13, status_colour);
  canvas.Text(kLeft + 3, 6, kStatusText[status], kWhite);
  if (const char* model = ModelText(product_type))
    canvas.Text(kLeft + 40, 6, model, kWhite);

  const int y = kBottom + 9;
  canvas.Text(kLeft, y, "CH1 " + ScaleText(VoltsDivStep(s.ch1.volts_div)),
              s.ch1.on ? kCh1Colour : kGridDim);
  canvas.Text(kLeft + 60, y, "CH2 " + ScaleText(VoltsDivStep(s.ch2.volts_div)),
              s.ch2.on ? kCh2Colour : kGridDim);
  canvas.Text(kLeft + 120, y, "M " + ScaleText(TimeDivStep(s.time_div)), kWhite);
  char level[32];
  std::snprintf(level, sizeof level, "T %.2fV", scope.TriggerVolts());
  canvas.Text(kLeft + 180, y, level, kTriggerColour);
  if (s.single)
    canvas.Text(kLeft + 250, y, "SINGLE", kWhite);
}

void DrawMenu(Canvas& canvas, const ScopeState& s) {
  if (s.menu == 0)
    return;
  for (int item = 1; item <= 5; ++item) {
    const int top = kTop + 2 + (item - 1) * 40;
    canvas.Fill(kLeft + kWidth - 48, top, kLeft + kWidth - 2, top + 36,
                item == s.menu_item ? kGridBright : kBarColour);
  }
}

void DrawScreen(Canvas& canvas, const Scope& scope, int8_t product_type) {
  const ScopeState& s = scope.state();
  DrawGraticule(canvas);
  DrawBars(canvas, scope, product_type);
  DrawMenu(canvas, s);

  if (s.ref)
    DrawTrace(canvas, UnitsOf(scope.reference()), kRefColour);
  std::vector<uint8_t> samples[2] = {scope.Samples(1, false), scope.Samples(2, false)};
  if (s.math) {
    // CH1 - CH2 on the scale of CH1, 0 V at the middle of the screen.
    const VerticalScale a = scope.Scale(1), b = scope.Scale(2);
    std::vector<double> units(std::min(samples[0].size(), samples[1].size()));
    for (size_t i = 0; i < units.size(); ++i) {
      const double volts = (samples[0][i] - a.ground_code()) * a.volts_per_code() -
                           (samples[1][i] - b.ground_code()) * b.volts_per_code();
      units[i] = 4.0 * kDivHeight + volts / a.volts_per_code();
    }
    DrawTrace(canvas, units, kMathColour);
  }
  for (int n = 2; n >= 1; --n) {
    const ChannelSettings& c = s.channel(n);
    if (!c.on)
      continue;
    const uint8_t colour = n == 1 ? kCh1Colour : kCh2Colour;
    DrawTrace(canvas, UnitsOf(samples[n - 1]), colour);
    DrawMarker(canvas, kLeft - 2, kBottom - c.position, true, colour);
  }
  // Trigger level on the right, trigger point at the top.
  const double level_unit = s.ch1.position + scope.TriggerVolts() / scope.Scale(1).volts_per_code();
  const int level_row = RowOf(level_unit);
  if (level_row >= 0)
    DrawMarker(canvas, kLeft + kWidth + 2, level_row, false, kTriggerColour);
  const int trigger_x =
      std::clamp(kLeft + kWidth / 2 + s.hor_steps * kDivWidth / 25, kLeft, kLeft + kWidth);
  for (int d = 0; d < 4; ++d)
    canvas.Fill(trigger_x - d, kTop - 2 - d, trigger_x + d, kTop - 2 - d, kTriggerColour);
  if (s.cursor) {
    for (int y = kTop; y <= kBottom; y += 2)
      canvas.Set(kLeft + s.cursor_x, y, kCursorColour);
  }
}

void PutU16LE(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}
void PutU32LE(uint8_t* out, uint32_t value) {
  PutU16LE(out, value);
  PutU16LE(out + 2, value >> 16);
}

}  // namespace

std::vector<uint8_t> RenderScreenBitmap(const Scope& scope, int8_t product_type) {
  Canvas canvas;
  DrawScreen(canvas, scope, product_type);

  std::vector<uint8_t> file(kBitmapFileSize, 0);
  uint8_t* p = file.data();
  // File header.
  p[0] = 'B';
  p[1] = 'M';
  PutU32LE(p + 2, static_cast<uint32_t>(kBitmapFileSize));
  PutU32LE(p + 10, static_cast<uint32_t>(kBitmapHeaderSize));
  // Info header: 8 bits a pixel, uncompressed, rows bottom first.
  PutU32LE(p + 14, 40);
  PutU32LE(p + 18, kScreenWidth);
  PutU32LE(p + 22, kScreenHeight);
  PutU16LE(p + 26, 1);
  PutU16LE(p + 28, 8);
  PutU32LE(p + 30, 0);
  PutU32LE(p + 34, kScreenWidth * kScreenHeight);
  PutU32LE(p + 38, 2835);  // 72 dots an inch
  PutU32LE(p + 42, 2835);
  PutU32LE(p + 46, 256);
  PutU32LE(p + 50, 0);
  // Palette: blue, green, red, 0; the colours of the screen, then a grey ramp.
  uint8_t* palette = p + 54;
  for (int i = 0; i < 256; ++i) {
    Rgb c;
    if (i < kFirstGrey) {
      c = kPalette[i];
    } else {
      const auto grey = static_cast<uint8_t>((i - kFirstGrey) * 255 / (255 - kFirstGrey));
      c = {grey, grey, grey};
    }
    palette[i * 4 + 0] = c.b;
    palette[i * 4 + 1] = c.g;
    palette[i * 4 + 2] = c.r;
  }
  uint8_t* rows = p + kBitmapHeaderSize;
  for (int y = 0; y < kScreenHeight; ++y) {
    std::memcpy(rows + static_cast<size_t>(kScreenHeight - 1 - y) * kScreenWidth,
                canvas.pixels().data() + static_cast<size_t>(y) * kScreenWidth, kScreenWidth);
  }
  return file;
}

}  // namespace korvelane::sim
