// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Data view without its widgets: its buttons, the copy of the list and the print
// hand-off with its item range.
#pragma once

#include <string_view>

#include "core/views/list_view_form.h"
#include "core/views/view_context.h"

namespace korvelane {

class WaveDataForm : public ListViewForm {
 public:
  // The item-range dialog, opened with `first` and `last`; they hold the range chosen on OK.
  // False on Cancel.
  virtual bool AskPrintRange(int* first, int* last) = 0;
};

// The item range that can be printed: Start 1..3999 and End 2..4000. End is not compared with
// Start; an End before Start prints nothing.
constexpr int kPrintStartLowest = 1;
constexpr int kPrintStartHighest = 3999;
constexpr int kPrintEndLowest = 2;
constexpr int kPrintEndHighest = 4000;

// Start and End of the item-range dialog as typed: the range, or the first bad field with its
// refusal.
struct PrintRangeCheck {
  enum Field { kNone, kStart, kEnd };
  Field bad_field = kNone;
  std::string refusal;
  int first = 0;
  int last = 0;

  bool ok() const { return bad_field == kNone; }
};
PrintRangeCheck ReadPrintRange(std::string_view start, std::string_view end);

class WaveDataController : private ViewTablesListener {
 public:
  WaveDataController(const ViewContext& context, WaveDataForm& form);
  ~WaveDataController() override;
  WaveDataController(const WaveDataController&) = delete;
  WaveDataController& operator=(const WaveDataController&) = delete;

  // The view has been created: its file buttons wait for the first wave data.
  void Initialise();

  // "Copy": records the action, then CopyWaveDataToClipboard.
  void Copy();
  // The list as text on the clipboard; refused while no slot ever had wave data.
  void CopyWaveDataToClipboard();
  // "Print": refused while no slot ever had wave data; otherwise asks for the item range and
  // hands it to the print preview.
  void Print();

 private:
  void ButtonsEnabled(ButtonGroup group) override;

  ViewContext context_;
  WaveDataForm& form_;
};

}  // namespace korvelane
