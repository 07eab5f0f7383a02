// The shared open and save dialogs, and the "Alter the title" dialog.
#include "panes/file_dialogs.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "panes/alter_title_dialog.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

class FileDialogsTest : public ::testing::Test {
 protected:
  FileDialogsTest() {
    dialogs.set_runner([this](const FileDialogRequest& request) {
      requests.push_back(request);
      return answer;
    });
  }

  testing::TempDir dir;
  std::string folder = "/lab/shots";
  FileDialogs dialogs{[this] { return folder; }};
  std::vector<FileDialogRequest> requests;
  std::string answer;
};

TEST_F(FileDialogsTest, EachKindShowsItsOwnDialogAndOthersNone) {
  dialogs.OpenFileDialog(kWaveGraphFile);
  dialogs.SaveFileDialog(kWaveDataFile);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].title, "Open Wave Graph File");
  EXPECT_FALSE(requests[0].save);
  EXPECT_EQ(requests[0].filter, "graph file( *.csv)|*.csv|wavedata file(*.wdf)|*.wdf| |");
  EXPECT_EQ(requests[0].initial_name, "*.csv");
  EXPECT_EQ(requests[0].default_extension, "csv");
  EXPECT_EQ(requests[0].folder, folder);
  EXPECT_EQ(requests[1].title, "Save Wave Data File");
  EXPECT_TRUE(requests[1].save);
  EXPECT_EQ(requests[1].default_extension, "");
  // Bitmaps have no shared save dialog; numbers outside 1..5 are no kind.
  EXPECT_EQ(dialogs.SaveFileDialog(kBitmapFile), 0);
  EXPECT_EQ(dialogs.OpenFileDialog(0), 0);
  EXPECT_EQ(dialogs.OpenFileDialog(6), 0);
  EXPECT_EQ(requests.size(), 2u);
}

TEST_F(FileDialogsTest, ChosenPathsAreKeptAndCancelKeepsTheLastOnes) {
  answer = "/lab/shots/a.wdf";
  EXPECT_EQ(dialogs.OpenFileDialog(kWaveDataFile), 1);
  answer = "/lab/shots/b.wmf";
  EXPECT_EQ(dialogs.SaveFileDialog(kWaveMeasurementFile), 1);
  answer = "";
  EXPECT_EQ(dialogs.OpenFileDialog(kBitmapFile), 0);
  EXPECT_EQ(dialogs.SaveFileDialog(kWaveDataFile), 0);
  EXPECT_EQ(dialogs.open_path(), "/lab/shots/a.wdf");
  EXPECT_EQ(dialogs.save_path(), "/lab/shots/b.wmf");

  // The starting folder follows the initial path as it is now.
  folder = "/elsewhere";
  dialogs.OpenFileDialog(kScopeSettingFile);
  EXPECT_EQ(requests.back().folder, "/elsewhere");
}

TEST_F(FileDialogsTest, GraphFileNamesGetTheirExtensions) {
  const std::pair<const char*, const char*> saves[] = {
      {"/d/trace", "/d/trace.csv"},  // the dialog's default extension
      {"/d/trace.csv", "/d/trace.csv"},
      {"/d/trace.wdf", "/d/trace.wdf"},
      {"/d/trace.txt", "/d/trace.txt.wdf"},  // neither extension anywhere
      {"/d.csv/trace.txt", "/d.csv/trace.txt"},
  };
  for (const auto& [typed, stored] : saves) {
    answer = typed;
    EXPECT_EQ(dialogs.SaveFileDialog(kWaveGraphFile), 1);
    EXPECT_EQ(dialogs.save_path(), stored) << typed;
  }
  // Other kinds leave the extension to their callers.
  answer = "/d/setting";
  dialogs.SaveFileDialog(kScopeSettingFile);
  EXPECT_EQ(dialogs.save_path(), "/d/setting");

  // Opening: an existing file keeps its name, a missing one without extension gets "csv".
  const std::string existing = dir.File("plain");
  testing::WriteFileBytes(existing, {1});
  answer = existing;
  dialogs.OpenFileDialog(kWaveGraphFile);
  EXPECT_EQ(dialogs.open_path(), existing);
  answer = dir.File("other");
  dialogs.OpenFileDialog(kWaveGraphFile);
  EXPECT_EQ(dialogs.open_path(), dir.File("other.csv"));

  EXPECT_EQ(FileDialogs::WithDefaultExtension("/a.b/c", "bmp"), "/a.b/c.bmp");
  EXPECT_EQ(FileDialogs::WithDefaultExtension("/a/c.png", "bmp"), "/a/c.png");
  EXPECT_EQ(FileDialogs::WithDefaultExtension("/a/", "bmp"), "/a/");
}

TEST(FileDialogFilterTest, FiltersBecomeQtNameFilters) {
  EXPECT_EQ(FileDialogs::NameFilters(FileDialogs::Filter(kBitmapFile)),
            QStringList{"bitmap file (*.bmp)"});
  EXPECT_EQ(FileDialogs::NameFilters(FileDialogs::Filter(kWaveGraphFile)),
            (QStringList{"graph file( *.csv)", "wavedata file(*.wdf)"}));
  // A text that does not show its pattern gets it added.
  EXPECT_EQ(FileDialogs::NameFilters("pictures|*.bmp|other (*.x)|*.y||"),
            (QStringList{"pictures (*.bmp)", "other (*.x) (*.y)"}));
  EXPECT_TRUE(FileDialogs::NameFilters("").isEmpty());
}

TEST(AlterTitleDialogTest, ShowsTheCurrentTitleReadOnlyAndHandsBackTheNewOne) {
  AlterTitleDialog dialog(QStringLiteral("20261206-090507"));
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Alter the title");
  EXPECT_EQ(dialog.current_title_field()->text().toStdString(), "20261206-090507");
  EXPECT_TRUE(dialog.current_title_field()->isReadOnly());
  EXPECT_FALSE(dialog.new_title_field()->isReadOnly());
  dialog.new_title_field()->setText(QStringLiteral(" new "));
  EXPECT_EQ(dialog.new_title().toStdString(), " new ");  // the caller trims
}

}  // namespace
}  // namespace korvelane
