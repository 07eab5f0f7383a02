// SPDX-License-Identifier: GPL-3.0-or-later
// What the Wave Data and Measurement views offer their commands, apart from their widgets.
#pragma once

#include <string>

namespace korvelane {

class ListViewForm {
 public:
  virtual ~ListViewForm() = default;
  // The buttons that wait for data: "Copy", "Print" and "Save as" / "Save As".
  virtual void EnableFileButtons(bool enable) = 0;
  // Puts plain text on the clipboard; false when the clipboard did not take it.
  virtual bool PutTextOnClipboard(const std::string& text) = 0;
  // Opens the print preview of the list's items `first_item` .. `first_item + item_count - 1`.
  virtual void OpenPrintPreview(int first_item, int item_count) = 0;
};

}  // namespace korvelane
