// SPDX-License-Identifier: GPL-3.0-or-later
// What the right pane asks of the DSO Bitmap view when a bitmap file is opened into it.
#pragma once

#include <string>

namespace korvelane {

class BitmapPage {
 public:
  virtual ~BitmapPage() = default;
  // Loads the chosen bitmap file at `path` with the path as the title and disables Alter Title;
  // false when it could not be loaded (the view is then unchanged, and a file that cannot be
  // opened has been reported).
  virtual bool OpenPictureFile(const std::string& path) = 0;
};

}  // namespace korvelane
