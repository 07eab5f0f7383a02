#include "views/bitmap/dso_bitmap_view.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "bitmap_view_world.h"
#include "core/files/bitmap_file.h"
#include "panes/alter_title_dialog.h"
#include "panes/right_pane.h"

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

  DsoBitmapView view{context, dialogs, [this](QDialog& dialog) {
                       return dialog_script ? dialog_script(dialog)
                                            : static_cast<int>(QDialog::Rejected);
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

TEST_F(DsoBitmapViewTest, RefreshShowsTheInstrumentsScreenUnderATimeStamp) {
  Bind();
  Click(Button::kRefresh);
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text;

  const std::vector<uint8_t> sent = instrument.ScreenBitmap();
  DecodedBitmap expected;
  ASSERT_EQ(DecodeBitmap(ByteView(sent.data(), sent.size()), expected), BitmapError::kNone);
  EXPECT_EQ(picture().width(), 320);
  EXPECT_EQ(picture().height(), 240);
  EXPECT_EQ(picture().pixels, expected.pixels);
  // Shown upright in red, green, blue.
  const QImage shown = view.picture_area()->image();
  ASSERT_EQ(shown.size(), QSize(320, 240));
  for (QPoint at : {QPoint(0, 0), QPoint(160, 30), QPoint(319, 239)}) {
    const uint8_t* p = expected.PixelAt(at.x(), at.y());
    EXPECT_EQ(shown.pixelColor(at), QColor(p[2], p[1], p[0])) << at.x() << "," << at.y();
  }

  EXPECT_TRUE(testing::IsTimeStamp(view.title()));
  EXPECT_EQ(view.title(), "20261206-090507");
  EXPECT_EQ(PictureButtons(), std::vector<bool>(4, true));
  EXPECT_TRUE(view.controller().bitmap_present());
  EXPECT_FALSE(testing::FileExists(dir.File("myTempBmp.bmp")));
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

TEST_F(DsoBitmapViewTest, OpenTitlesThePictureWithItsPathAndDisablesAlterTitle) {
  AnswerFileDialogs({""});
  Click(Button::kOpen);
  EXPECT_TRUE(Logged("NORMAL :", "取消打开选定‘位图’文件！"));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].title, "Open Bmp File");
  EXPECT_EQ(requests[0].filter, "bitmap file (*.bmp) |*.bmp| |");
  EXPECT_EQ(requests[0].folder, dir.path());
  EXPECT_FALSE(requests[0].save);

  const DecodedBitmap shot = GradientPicture(7, 3);
  const std::string path = OpenPicture(shot, "shot.bmp");
  EXPECT_EQ(ui.actions, (Strings{"Open DSO Bitmap file", "Open DSO Bitmap file"}));
  EXPECT_EQ(view.title(), path);
  EXPECT_EQ(picture().pixels, shot.pixels);
  EXPECT_EQ(dialogs.open_path(), path);
  EXPECT_EQ(PictureButtons(), (std::vector<bool>{true, false, true, true}));

  // A file that does not decode changes nothing.
  testing::WriteFileBytes(dir.File("broken.bmp"), {'B', 'M', 1, 2, 3});
  AnswerFileDialogs({dir.File("broken.bmp")});
  Click(Button::kOpen);
  EXPECT_EQ(view.title(), path);
  EXPECT_EQ(picture().pixels, shot.pixels);
  EXPECT_TRUE(ui.messages.empty());
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

  AnswerFileDialogs({dir.File("no/such/folder/x.bmp")});
  Click(Button::kSave);
  EXPECT_TRUE(Logged("WARNING:", "创建位图文件失败,请检查文件格式或路径是否正确？"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DsoBitmapViewTest, AlterTitleTrimsTheNewTitleAndKeepsTheOldForABlankOne) {
  OpenPicture(GradientPicture(2, 2));
  view.button(Button::kAlterTitle)->setEnabled(true);
  view.controller().SetTitle("before");
  ui.actions.clear();

  std::string shown_current;
  auto answer = [&](const QString& typed, int result) {
    dialog_script = [&shown_current, typed, result](QDialog& dialog) {
      auto& alter = dynamic_cast<AlterTitleDialog&>(dialog);
      shown_current = alter.current_title_field()->text().toStdString();
      alter.new_title_field()->setText(typed);
      return result;
    };
  };

  answer(QStringLiteral("  CH1 ripple\t"), QDialog::Accepted);
  Click(Button::kAlterTitle);
  EXPECT_EQ(shown_current, "before");
  EXPECT_EQ(view.title(), "CH1 ripple");
  EXPECT_EQ(view.title_label()->text().toStdString(), "CH1 ripple");

  answer(QStringLiteral("   "), QDialog::Accepted);
  Click(Button::kAlterTitle);
  EXPECT_EQ(view.title(), "CH1 ripple");

  answer(QStringLiteral("ignored"), QDialog::Rejected);
  Click(Button::kAlterTitle);
  EXPECT_EQ(view.title(), "CH1 ripple");
  EXPECT_TRUE(Logged("NORMAL :", "取消修改当前‘位图’标签！"));
  EXPECT_EQ(ui.actions, Strings(3, "Alter the default tab"));
}

TEST_F(DsoBitmapViewTest, CopyTakesThePictureAreaAsShownAndPrintAsksForThePreview) {
  OpenPicture(GradientPicture(4, 3));
  QApplication::clipboard()->clear();
  Click(Button::kCopy);
  EXPECT_EQ(ui.actions.back(), "Copy DSO Bitmap");
  const QImage copied = QApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), view.picture_area()->size() * view.picture_area()->devicePixelRatio());
  EXPECT_GT(copied.width(), 4);  // stretched, not the picture's own size

  QSignalSpy spy(&view, &DsoBitmapView::PrintRequested);
  Click(Button::kPrint);
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(ui.actions.back(), "Print the DSO Bitmap");
  EXPECT_TRUE(ui.messages.empty());
}

TEST(DsoBitmapLayoutTest, TitleKeepsToTheBottomAndThePictureFillsTheRest) {
  const DsoBitmapLayout start = InitialDsoBitmapLayout(1.0);
  // At the size it was made for, the rule leaves everything where it is.
  const DsoBitmapLayout same = ResizeDsoBitmapLayout(start, DsoBitmapTemplateSize(1.0), 1.0);
  EXPECT_EQ(same.title, start.title);
  EXPECT_EQ(same.picture, start.picture);
  EXPECT_EQ(same.alter_title, start.alter_title);

  const DsoBitmapLayout big = ResizeDsoBitmapLayout(start, QSize(1000, 700), 1.0);
  EXPECT_EQ(big.title, QRect(start.title.left(), 700 - 10 - start.title.height(),
                             start.title.left() + 1000 - 145, start.title.height()));
  EXPECT_EQ(big.alter_title, start.alter_title.translated(0, big.title.top() - start.title.top()));
  EXPECT_EQ(big.picture,
            QRect(start.picture.topLeft(), QSize(start.picture.left() + 1000 - 145,
                                                 start.picture.top() + big.title.top() - 108)));
  EXPECT_EQ(big.buttons, start.buttons);
  // The picture stays clear of the title and of the right edge.
  EXPECT_LT(big.picture.bottom(), big.title.top());
  EXPECT_LT(big.picture.right(), 1000);

  // A pane too small for the controls gives empty areas, never negative ones.
  const DsoBitmapLayout tiny = ResizeDsoBitmapLayout(start, QSize(20, 20), 1.0);
  EXPECT_EQ(tiny.picture.width(), 0);
  EXPECT_EQ(tiny.picture.height(), 0);
  EXPECT_GE(tiny.title.width(), 0);
}

TEST_F(DsoBitmapViewTest, ResizingFollowsTheRuleAtTheViewsScale) {
  const QRect picture_before = view.picture_area()->geometry();
  view.resize(900, 640);
  const DsoBitmapLayout expected =
      ResizeDsoBitmapLayout(InitialDsoBitmapLayout(view.scale()), QSize(900, 640), view.scale());
  EXPECT_EQ(view.title_label()->geometry(), expected.title);
  EXPECT_EQ(view.button(Button::kAlterTitle)->geometry(), expected.alter_title);
  EXPECT_EQ(view.picture_area()->geometry(), expected.picture);
  // Back to the first size: back to the first places, whatever the rounding.
  view.resize(view.sizeHint());
  EXPECT_EQ(view.picture_area()->geometry(), picture_before);
}

TEST_F(DsoBitmapViewTest, TheRightPaneOpensABitmapIntoTheView) {
  RightPane pane;
  EXPECT_EQ(pane.OpenBitmapFile(dir.File("x.bmp")), 0);  // no view yet
  auto* bitmap_view = new DsoBitmapView(context, dialogs);
  pane.SetPage(kDsoBitmapView, bitmap_view);
  const DecodedBitmap shot = GradientPicture(6, 5);
  const std::string path = WriteBitmap("opened.bmp", shot);
  EXPECT_EQ(pane.OpenBitmapFile(path), 1);
  EXPECT_EQ(bitmap_view->title(), path);
  EXPECT_EQ(bitmap_view->controller().picture().pixels, shot.pixels);
  EXPECT_FALSE(bitmap_view->button(Button::kAlterTitle)->isEnabled());
  EXPECT_TRUE(bitmap_view->button(Button::kSave)->isEnabled());
  EXPECT_EQ(pane.OpenBitmapFile(dir.File("missing.bmp")), 0);
  EXPECT_EQ(bitmap_view->title(), path);
}

}  // namespace
}  // namespace korvelane
