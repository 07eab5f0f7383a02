// SPDX-License-Identifier: GPL-3.0-or-later
// The DSO Bitmap view's commands, free of any window: the picture and its title, Refresh from
// the instrument, Open and Save of bitmap files, Alter Title, Copy and Print, with their
// operate-log and debug-log texts. The window behind it is a DsoBitmapForm.
#pragma once

#include <functional>
#include <string>

#include "core/files/bitmap_codec.h"
#include "core/protocol/bitmap_transfer.h"
#include "core/protocol/connection.h"
#include "core/views/view_context.h"

namespace korvelane {

// What the commands ask of the window.
class DsoBitmapForm {
 public:
  virtual ~DsoBitmapForm() = default;
  // The picture changed; paint it.
  virtual void ShowPicture(const DecodedBitmap& picture) = 0;
  virtual void ShowTitle(const std::string& title) = 0;
  // Save, Alter Title, Copy and Print.
  virtual void EnablePictureButtons(bool enable) = 0;
  virtual void EnableAlterTitle(bool enable) = 0;
  // The shared open dialog for bitmap files: the chosen path, or an empty text.
  virtual std::string ChooseFileToOpen() = 0;
  // The view's save dialog offering `suggested_name`: the chosen path, or an empty text.
  virtual std::string ChooseFileToSave(const std::string& suggested_name) = 0;
  // The "Alter the title" dialog: true, with the typed text, when it was closed with OK.
  virtual bool AskNewTitle(const std::string& current_title, std::string* new_title) = 0;
  // Puts what the picture area shows, at its size on screen, on the clipboard.
  virtual void CopyShownPicture() = 0;
  virtual void OpenPrintPreview() = 0;
};

class DsoBitmapController {
 public:
  static constexpr const char* kNoPictureTitle = "There is no picture now";

  // "Refresh" runs `transfer` when `connection` is bound; `initial_path` gives the folder of the
  // transfer's temporary file.
  DsoBitmapController(const ViewContext& context, const Connection& connection,
                      BitmapTransfer& transfer, std::function<std::string()> initial_path,
                      DsoBitmapForm& form);

  // The state at creation: the title, and the picture buttons enabled only with a picture.
  void Initialise();

  // Decodes the bitmap file at `path`. On success the picture is replaced, the title becomes
  // the path when `set_title`, the picture buttons are enabled and a picture is present from
  // then on. A file that cannot be decoded changes nothing and is reported to nobody.
  bool LoadPicture(const std::string& path, bool set_title);
  // Loads a file the user chose (Open, the right pane's opener) with its path as the title, then
  // disables Alter Title. A file that cannot be opened at all (missing, no regular file, a path
  // over the limit) is reported; one that does not decode is not. True when it was loaded.
  bool OpenPictureFile(const std::string& path);
  void SetTitle(const std::string& title);

  // The buttons.
  void Refresh();
  void Save();
  void Open();
  void AlterTitle();
  void Copy();
  void Print();

  bool bitmap_present() const { return bitmap_present_; }
  const DecodedBitmap& picture() const { return picture_; }
  const std::string& title() const { return title_; }

  // The name the save dialog offers for a picture titled `title`.
  static std::string SuggestedSaveName(const std::string& title);

 private:
  class TransferTarget;

  BitmapError Load(const std::string& path, bool set_title);

  void Record(const std::string& text) { context_.operate_log.RecordOperation(text); }
  void Log(const std::string& text, int level) { context_.debug_log.WriteDebugLog(text, level); }

  ViewContext context_;
  const Connection& connection_;
  BitmapTransfer& transfer_;
  std::function<std::string()> initial_path_;
  DsoBitmapForm& form_;
  DecodedBitmap picture_;
  std::string title_ = kNoPictureTitle;
  // Set by the first picture loaded and never cleared.
  bool bitmap_present_ = false;
};

}  // namespace korvelane
