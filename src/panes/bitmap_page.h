// What the right pane asks of the DSO Bitmap view when a bitmap file is opened into it.
#pragma once

#include <string>

namespace korvelane {

class BitmapPage {
 public:
  virtual ~BitmapPage() = default;
  // Loads the bitmap file at `path`, with the path as the title when `set_title`; false when
  // it could not be decoded (the view is then unchanged).
  virtual bool LoadPicture(const std::string& path, bool set_title) = 0;
  virtual void EnableAlterTitle(bool enable) = 0;
};

}  // namespace korvelane
