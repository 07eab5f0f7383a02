// SPDX-License-Identifier: GPL-3.0-or-later
// The DSO Bitmap view over the simulated instrument, with scripted file dialogs.
#include "views/bitmap/dso_bitmap_view.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "core/files/bitmap_builder.h"
#include "core/files/bitmap_codec.h"
#include "views/list_view_world.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

using Button = DsoBitmapView::Button;
using testing::Gradient;
using testing::Strings;

class DsoBitmapViewTest : public testing::ListViewWorld {
 protected:
  DsoBitmapViewTest() {
    device.connection().StartupLinkTest();
    view.show();
  }

  void Click(Button which) { view.button(which)->click(); }
  // Whether Save, Alter Title, Copy and Print are enabled, in that order.
  std::vector<bool> PictureButtons() const {
    std::vector<bool> enabled;
    for (Button b : {Button::kSave, Button::kAlterTitle, Button::kCopy, Button::kPrint})
      enabled.push_back(view.button(b)->isEnabled());
    return enabled;
  }
  // The next file dialogs answer these paths in turn (an empty one cancels).
  void AnswerFileDialogs(Strings answers) {
    requests.clear();
    dialogs.set_runner([this, answers](const FileDialogRequest& request) {
      requests.push_back(request);
      return requests.size() <= answers.size() ? answers[requests.size() - 1] : std::string();
    });
  }
  // Loads `picture` from a file named `name` through "Open"; its path.
  std::string OpenPicture(const DecodedBitmap& picture, const std::string& name = "old.bmp") {
    const std::string path = dir.File(name);
    testing::WriteFileBytes(path, EncodeBitmapFile(picture));
    AnswerFileDialogs({path});
    Click(Button::kOpen);
    return path;
  }

  FileDialogs dialogs{[this] { return dir.path(); }};
  std::vector<FileDialogRequest> requests;
  DsoBitmapView view{Context(), device.connection(), device.bitmap_transfer(), dialogs, Runner()};
};

TEST_F(DsoBitmapViewTest, WithoutAPictureOrABindingCommandsAreRefused) {
  EXPECT_EQ(PictureButtons(), std::vector<bool>(4, false));
  // The commands behind the disabled buttons refuse on their own as well.
  view.controller().AlterTitle();
  view.controller().Copy();
  view.controller().Save();
  view.controller().Print();
  Click(Button::kRefresh);
  EXPECT_EQ(Operations(),
            (Strings{"Alter the default tab", "Copy DSO Bitmap", "Save DSO Bitmap file",
                     "Print the DSO Bitmap", "Refresh the DSO Bitmap"}));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "there is no DSO Bitmap data for print");
  EXPECT_EQ(ui.messages[1].text, "The software is not link with device!");
  EXPECT_TRUE(requests.empty() && dialogs_run == 0);  // no dialog was shown

  // Files that cannot be decoded leave the view empty.
  testing::WriteFileBytes(dir.File("broken.bmp"), {'B', 'M'});
  EXPECT_FALSE(view.LoadPicture(dir.File("broken.bmp"), true));
  EXPECT_FALSE(view.LoadPicture(dir.File("missing.bmp"), true));
  EXPECT_EQ(view.title_label()->text().toStdString(), "There is no picture now");
  EXPECT_EQ(PictureButtons(), std::vector<bool>(4, false));
  for (QWidget* child : view.findChildren<QWidget*>())
    EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();
}

TEST_F(DsoBitmapViewTest, AFailedTransferKeepsTheOldPictureAndTitle) {
  const DecodedBitmap old = Gradient(5, 4);
  const std::string path = OpenPicture(old);
  device.connection().Connect();
  instrument.InjectFault({sim::FaultKind::kWrongFileNum, 0, 0, 6});  // piece 0, six times
  Click(Button::kRefresh);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Try to refresh the DSO Bitmap failed");
  EXPECT_EQ(view.controller().picture().pixels, old.pixels);
  EXPECT_EQ(view.title(), path);
  EXPECT_EQ(view.picture_area()->image().size(), QSize(5, 4));
}

TEST_F(DsoBitmapViewTest, SaveSuggestsANameFromTheTitleAndWritesATrueColourFile) {
  using C = DsoBitmapController;
  EXPECT_EQ(C::SuggestedSaveName("20261206-090507"), "20261206-090507.bmp");
  EXPECT_EQ(C::SuggestedSaveName("C:\\shots\\SCOPE.BMP"), "SCOPE.BMP");
  EXPECT_EQ(C::SuggestedSaveName("Trace.Bmp"), "Trace.Bmp.bmp");  // the case must match

  const DecodedBitmap shot = Gradient(3, 2);  // rows that need padding
  OpenPicture(shot, "from disk.bmp");
  AnswerFileDialogs({""});
  Click(Button::kSave);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].initial_name, "from disk.bmp");
  EXPECT_TRUE(Logged("NORMAL :取消保存当前‘位图’文件"));

  const std::string typed = dir.File("copy");  // the dialog adds the extension
  AnswerFileDialogs({typed});
  Click(Button::kSave);
  EXPECT_EQ(testing::ReadFileBytes(typed + ".bmp"), EncodeBitmapFile(shot));
  EXPECT_EQ(Operations().back(), "Save DSO Bitmap successed！");
  EXPECT_EQ(dialogs.save_path(), "");  // the view's own dialog leaves the shared path alone

  // A failed save is told to the user, not only to the debug log.
  AnswerFileDialogs({dir.File("no/such/folder/x.bmp")});
  Click(Button::kSave);
  EXPECT_TRUE(Logged("WARNING:创建位图文件失败,请检查文件格式或路径是否正确？"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Try to save DSO Bitmap file failed!");
  EXPECT_NE(Operations().back(), "Save DSO Bitmap successed！");
}

}  // namespace
}  // namespace korvelane
