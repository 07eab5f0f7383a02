// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/bitmap/dso_bitmap_view.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "bitmap_view_world.h"
#include "core/files/bitmap_file.h"
#include "panes/right_pane.h"
#include "widgets/alter_title_dialog.h"

namespace korvelane {
namespace {

using Button = DsoBitmapView::Button;
using sim::FaultKind;
using testing::GradientPicture;
using Strings = std::vector<std::string>;

class DsoBitmapViewTest : public testing::BitmapViewWorld {
 protected:
  DsoBitmapViewTest() {
    view.resize(view.sizeHint());
    view.show();
  }

  void Click(Button which) { view.button(which)->click(); }
  bool Enabled(Button which) const { return view.button(which)->isEnabled(); }
  // Whether Save, Alter Title, Copy and Print are enabled, in that order.
  std::vector<bool> PictureButtons() const {
    return {Enabled(Button::kSave), Enabled(Button::kAlterTitle), Enabled(Button::kCopy),
            Enabled(Button::kPrint)};
  }
  const DecodedBitmap& picture() { return view.controller().picture(); }

  // Loads a picture from a file through "Open".
  std::string OpenPicture(const DecodedBitmap& picture, const std::string& name = "old.bmp") {
    const std::string path = WriteBitmap(name, picture);
    AnswerFileDialogs({path});
    Click(Button::kOpen);
    return path;
  }

  DsoBitmapView view{
      context, device.connection(), device.bitmap_transfer(), dialogs, [this](QDialog& dialog) {
        return dialog_script ? dialog_script(dialog) : static_cast<int>(QDialog::Rejected);
      }};
};

TEST_F(DsoBitmapViewTest, WithoutAPictureOrABindingCommandsAreRefused) {
  EXPECT_EQ(view.title_label()->text().toStdString(), "There is no picture now");
  EXPECT_EQ(PictureButtons(), std::vector<bool>(4, false));
  EXPECT_TRUE(Enabled(Button::kOpen) && Enabled(Button::kRefresh));

  // The commands behind the disabled buttons refuse on their own as well.
  view.controller().AlterTitle();
  view.controller().Copy();
  view.controller().Save();
  view.controller().Print();
  Click(Button::kRefresh);
  EXPECT_EQ(ui.actions, (Strings{"Alter the default tab", "Copy DSO Bitmap", "Save DSO Bitmap file",
                                 "Print the DSO Bitmap", "Refresh the DSO Bitmap"}));
  EXPECT_TRUE(Logged("NORMAL :", "当前没有位图资源可供修改图片标签"));
  EXPECT_TRUE(Logged("NORMAL :", "当前没有可进行复制操作的位图资源！"));
  EXPECT_TRUE(Logged("NORMAL :", "打印失败：波形位图界面上当前没有位图数据"));
  EXPECT_TRUE(Logged("WARNING:", "更新失败：连接不正常！"));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], (testing::MessageRecord{"there is no DSO Bitmap data for print",
                                                    "Error", MessageIcon::kInformation}));
  EXPECT_EQ(ui.messages[1], (testing::MessageRecord{"The software is not link with device!",
                                                    "Error", MessageIcon::kExclamation}));
  EXPECT_TRUE(requests.empty());  // no dialog was shown

  // Files that cannot be decoded leave the view empty.
  testing::WriteFileBytes(dir.File("broken.bmp"), {'B', 'M'});
  EXPECT_FALSE(view.LoadPicture(dir.File("broken.bmp"), true));
  EXPECT_FALSE(view.LoadPicture(dir.File("missing.bmp"), true));
  EXPECT_EQ(view.title(), "There is no picture now");
  EXPECT_FALSE(view.controller().bitmap_present());
  EXPECT_EQ(PictureButtons(), std::vector<bool>(4, false));

  // Every control can be found by its name.
  for (QWidget* child : view.findChildren<QWidget*>())
    EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();
}

TEST_F(DsoBitmapViewTest, AFailedTransferKeepsTheOldPictureAndTitle) {
  const DecodedBitmap old = GradientPicture(5, 4);
  const std::string path = OpenPicture(old);
  Bind();
  sim::Fault fault;
  fault.kind = FaultKind::kWrongFileNum;
  fault.piece = 0;
  fault.times = 6;
  instrument.InjectFault(fault);
  Click(Button::kRefresh);

  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Try to refresh the DSO Bitmap failed");
  EXPECT_EQ(picture().pixels, old.pixels);
  EXPECT_EQ(view.title(), path);
  EXPECT_EQ(view.picture_area()->image().size(), QSize(5, 4));
}

TEST_F(DsoBitmapViewTest, SaveSuggestsANameFromTheTitleAndWritesATrueColourFile) {
  using C = DsoBitmapController;
  EXPECT_EQ(C::SuggestedSaveName("20261206-090507"), "20261206-090507.bmp");
  EXPECT_EQ(C::SuggestedSaveName("C:\\shots\\SCOPE.BMP"), "SCOPE.BMP");
  EXPECT_EQ(C::SuggestedSaveName("trace.bmp.old"), "trace.bmp.old");
  EXPECT_EQ(C::SuggestedSaveName("Trace.Bmp"), "Trace.Bmp.bmp");  // the case must match

  // Saving when the title already ends in .bmp suggests only the file name.
  const DecodedBitmap shot = GradientPicture(3, 2);  // rows that need padding
  OpenPicture(shot, "from disk.bmp");
  ui.actions.clear();
  AnswerFileDialogs({""});
  Click(Button::kSave);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].initial_name, "from disk.bmp");
  EXPECT_EQ(requests[0].title, "Save Bmp File");
  EXPECT_EQ(requests[0].default_extension, "bmp");
  EXPECT_EQ(requests[0].folder, dir.path());
  EXPECT_TRUE(Logged("NORMAL :", "取消保存当前‘位图’文件"));

  const std::string typed = dir.File("copy");  // the dialog adds the extension
  AnswerFileDialogs({typed});
  Click(Button::kSave);
  EXPECT_EQ(testing::ReadFileBytes(typed + ".bmp"), EncodeBitmapFile(shot));
  EXPECT_EQ(ui.actions.back(), "Save DSO Bitmap successed！");
  EXPECT_TRUE(Logged("NORMAL :", "保存设备界面位图文件成功！"));
  EXPECT_EQ(dialogs.save_path(), "");  // the view's own dialog leaves the shared path alone

  // A failed save is told to the user, not only to the debug log.
  AnswerFileDialogs({dir.File("no/such/folder/x.bmp")});
  Click(Button::kSave);
  EXPECT_TRUE(Logged("WARNING:", "创建位图文件失败,请检查文件格式或路径是否正确？"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], (testing::MessageRecord{"Try to save DSO Bitmap file failed!", "Error",
                                                    MessageIcon::kInformation}));
  EXPECT_NE(ui.actions.back(), "Save DSO Bitmap successed！");
}

}  // namespace
}  // namespace korvelane
