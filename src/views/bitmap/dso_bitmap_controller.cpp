// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/bitmap/dso_bitmap_controller.h"

#include "core/files/bitmap_file.h"

namespace korvelane {
namespace {
// What a new title is trimmed of at both ends.
constexpr const char* kBlank = " \t\r\n\f\v";
}  // namespace

// Where the screen transfer puts the instrument's picture. Its time-stamp title is taken only
// when the picture could be loaded, so that an old picture never gets a new time.
class DsoBitmapController::TransferTarget : public BitmapTarget {
 public:
  explicit TransferTarget(DsoBitmapController& view) : view_(view) {}
  void LoadBitmapFile(const std::string& path) override {
    loaded_ = view_.LoadPicture(path, false);
  }
  void SetTitle(const std::string& title) override {
    if (loaded_)
      view_.SetTitle(title);
  }

 private:
  DsoBitmapController& view_;
  bool loaded_ = false;
};

DsoBitmapController::DsoBitmapController(const ViewContext& context, const Connection& connection,
                                         BitmapTransfer& transfer,
                                         std::function<std::string()> initial_path,
                                         DsoBitmapForm& form)
    : context_(context),
      connection_(connection),
      transfer_(transfer),
      initial_path_(std::move(initial_path)),
      form_(form) {}

void DsoBitmapController::Initialise() {
  form_.ShowTitle(title_);
  form_.EnablePictureButtons(bitmap_present_);
}

bool DsoBitmapController::LoadPicture(const std::string& path, bool set_title) {
  return Load(path, set_title) == BitmapError::kNone;
}

BitmapError DsoBitmapController::Load(const std::string& path, bool set_title) {
  DecodedBitmap decoded;
  const BitmapError error = ReadBitmapFile(path, decoded);
  if (error != BitmapError::kNone)
    return error;
  picture_ = std::move(decoded);
  if (set_title)
    SetTitle(path);
  form_.ShowPicture(picture_);
  form_.EnablePictureButtons(true);
  bitmap_present_ = true;
  return BitmapError::kNone;
}

bool DsoBitmapController::OpenPictureFile(const std::string& path) {
  const BitmapError error = Load(path, true);
  if (error == BitmapError::kCannotOpen) {
    Log("打开选定文件‘*.bmp’失败", kWarning);
    context_.ui.ShowMessage("打开选定文件失败，请确定文件是否被破坏、文件格式是否正确？",
                            "提示信息", MessageIcon::kInformation);
  }
  if (error != BitmapError::kNone)
    return false;
  form_.EnableAlterTitle(false);
  return true;
}

void DsoBitmapController::SetTitle(const std::string& title) {
  title_ = title;
  form_.ShowTitle(title_);
}

void DsoBitmapController::Refresh() {
  Record("Refresh the DSO Bitmap");
  if (!connection_.bound()) {
    context_.ui.ShowMessage("The software is not link with device!", "Error",
                            MessageIcon::kExclamation);
    Log("更新失败：连接不正常！", kWarning);
    return;
  }
  TransferTarget target(*this);
  transfer_.FetchScreenBitmap(initial_path_ ? initial_path_() : "", target);
}

std::string DsoBitmapController::SuggestedSaveName(const std::string& title) {
  if (title.find(".bmp") == std::string::npos && title.find(".BMP") == std::string::npos)
    return title + ".bmp";
  const size_t separator = title.find_last_of("\\/");
  return separator == std::string::npos ? title : title.substr(separator + 1);
}

void DsoBitmapController::Save() {
  Record("Save DSO Bitmap file");
  if (!bitmap_present_)
    return;
  const std::string path = form_.ChooseFileToSave(SuggestedSaveName(title_));
  if (path.empty()) {
    Log("取消保存当前‘位图’文件", kNormal);
    return;
  }
  switch (WriteBitmapFile(path, picture_)) {
    case BitmapWriteResult::kOk:
      Record("Save DSO Bitmap successed！");
      Log("保存设备界面位图文件成功！", kNormal);
      return;
    case BitmapWriteResult::kCreateFailed:
      Log("创建位图文件失败,请检查文件格式或路径是否正确？", kWarning);
      break;
    case BitmapWriteResult::kFileHeaderFailed:
      Log("保存位图文件失败: 写 BitmapFileHeader失败？", kWarning);
      break;
    case BitmapWriteResult::kInfoHeaderFailed:
      Log("保存位图文件失败: 写 BitmapInfoHeader失败？", kWarning);
      break;
    case BitmapWriteResult::kPixelsFailed:
      Log("保存位图文件失败: 写位图颜色数据失败？", kWarning);
      break;
  }
  // The picture was not saved (a file that was there stays as it was): the user must know.
  context_.ui.ShowMessage("Try to save DSO Bitmap file failed!", "Error",
                          MessageIcon::kInformation);
}

void DsoBitmapController::Open() {
  Record("Open DSO Bitmap file");
  const std::string path = form_.ChooseFileToOpen();
  if (path.empty()) {
    Log("取消打开选定‘位图’文件！", kNormal);
    return;
  }
  OpenPictureFile(path);
}

void DsoBitmapController::AlterTitle() {
  Record("Alter the default tab");
  if (!bitmap_present_) {
    Log("当前没有位图资源可供修改图片标签", kNormal);
    return;
  }
  std::string typed;
  if (!form_.AskNewTitle(title_, &typed)) {
    Log("取消修改当前‘位图’标签！", kNormal);
    return;
  }
  const size_t first = typed.find_first_not_of(kBlank);
  if (first == std::string::npos)
    return;
  const size_t last = typed.find_last_not_of(kBlank);
  SetTitle(typed.substr(first, last - first + 1));
}

void DsoBitmapController::Copy() {
  Record("Copy DSO Bitmap");
  if (!bitmap_present_) {
    Log("当前没有可进行复制操作的位图资源！", kNormal);
    return;
  }
  form_.CopyShownPicture();
}

void DsoBitmapController::Print() {
  Record("Print the DSO Bitmap");
  if (!bitmap_present_) {
    Log("打印失败：波形位图界面上当前没有位图数据", kNormal);
    context_.ui.ShowMessage("there is no DSO Bitmap data for print", "Error",
                            MessageIcon::kInformation);
    return;
  }
  form_.OpenPrintPreview();
}

}  // namespace korvelane
