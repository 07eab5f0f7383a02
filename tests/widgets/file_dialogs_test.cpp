// SPDX-License-Identifier: GPL-3.0-or-later
// The shared open and save dialogs.
#include "widgets/file_dialogs.h"

#include <gtest/gtest.h>

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

TEST_F(FileDialogsTest, GraphFileNamesGetTheirExtensionsAndLongSavePathsAreNoChoice) {
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
  EXPECT_EQ(FileDialogs::WithDefaultExtension("/a/", "bmp"), "/a/");

  // A save past the path limit (the core's) is no choice; an open hands the path on to its
  // opener, which refuses it with its own message.
  answer = "/d/" + std::string(261, 'b');
  EXPECT_EQ(dialogs.SaveFileDialog(kWaveMeasurementFile), 0);
  EXPECT_EQ(dialogs.save_path(), "/d/setting");
  EXPECT_EQ(dialogs.OpenFileDialog(kWaveDataFile), 1);
  EXPECT_EQ(dialogs.open_path(), answer);
  for (const FileDialogRequest& request : requests)
    EXPECT_EQ(request.folder, folder);  // every dialog starts in the initial path
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

}  // namespace
}  // namespace korvelane
