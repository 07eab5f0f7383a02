// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands in the main window over the simulated instrument: the setting buttons of the
// base operation bar, the views' save buttons and the bar's "Open Files" rows.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QXmlStreamReader>
#include <algorithm>

#include "app/app_file_commands.h"
#include "app/app_test_support.h"
#include "core/logs/gbk_text.h"
#include "core/protocol/model_table.h"
#include "core/protocol/panel_codes.h"
#include "core/shell/command_ids.h"
#include "panes/base_operation_bar.h"
#include "panes/right_pane.h"
#include "views/picture_size_dialog.h"
#include "views/scope_graph.h"
#include "views/select_chan_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

using testing::AppTest;
using Bytes = std::vector<unsigned char>;

class AppFilesTest : public AppTest {
 protected:
  AppFilesTest() {
    // "Select the Chan" is answered with OK on the slot it offers first.
    dialog_script = [this](QDialog& dialog) {
      if (auto* choice = dynamic_cast<CSelectChanDlg*>(&dialog))
        chosen_modes.push_back(choice->mode());
      return static_cast<int>(QDialog::Accepted);
    };
  }

  MainWindow& OpenWithFiles() {
    MainWindow& w = Open();
    w.file_dialogs().set_runner([this](const FileDialogRequest& request) {
      titles.push_back(request.title);
      auto it = answers.find(request.title);
      return it == answers.end() ? std::string() : dir.File(it->second);
    });
    return w;
  }

  std::vector<bool> SettingButtons(MainWindow& w) const {
    std::vector<bool> states;
    for (int i = 0; i < 4; ++i)
      states.push_back(w.base_bar()->setting_button(static_cast<SettingButton>(i))->isEnabled());
    return states;
  }
  QPushButton* Setting(MainWindow& w, SettingButton button) const {
    return w.base_bar()->setting_button(button);
  }
  Bytes InstrumentBlock() const {
    return Bytes(instrument.settings_block().begin(), instrument.settings_block().end());
  }
  std::string LastBox() const { return presenter.boxes.empty() ? "" : presenter.boxes.back().text; }

  std::map<std::string, std::string> answers;  // dialog title -> file name in `dir`
  std::vector<std::string> titles;
  std::vector<SelectChanMode> chosen_modes;
};

using B = std::vector<bool>;  // Upload, Download, Save, Save As

TEST_F(AppFilesTest, SettingFilesMoveBetweenTheInstrumentTheBarAndFiles) {
  MainWindow& w = OpenWithFiles();
  QLineEdit* current = w.base_bar()->current_file_field();
  EXPECT_EQ(SettingButtons(w), (B{false, false, false, false}));
  w.RunCommand(kCmdConnect);
  EXPECT_EQ(SettingButtons(w), (B{true, false, false, false}));

  Setting(w, SettingButton::kUpload)->click();
  EXPECT_EQ(current->text(), QStringLiteral("20261206-090507"));
  EXPECT_EQ(SettingButtons(w), (B{true, true, true, true}));
  Setting(w, SettingButton::kSave)->click();
  const Bytes saved = testing::ReadFileBytes(dir.File("20261206-090507.ssf"));
  EXPECT_EQ(saved, InstrumentBlock());

  // The instrument's settings change; the saved file opened and downloaded brings them back.
  w.device().connection().SendPanelKey(KnobIncreaseCode(kKnobSdiv), 3);
  ASSERT_NE(InstrumentBlock(), saved);
  answers["Open Setting File"] = "20261206-090507.ssf";
  w.base_bar()->open_setting_button()->click();
  EXPECT_EQ(current->text().toStdString(), dir.File("20261206-090507.ssf"));
  EXPECT_EQ(SettingButtons(w), (B{true, true, false, true}));
  Setting(w, SettingButton::kDownload)->click();
  EXPECT_TRUE(presenter.boxes.empty()) << LastBox();
  EXPECT_EQ(InstrumentBlock(), saved);
  EXPECT_EQ(titles, (std::vector<std::string>{"Open Setting File"}));
  w.RunCommand(kCmdDisconnect);
  EXPECT_EQ(SettingButtons(w), (B{false, false, false, true}));
}

TEST_F(AppFilesTest, WavesSavedFromTheViewsComeBackThroughTheBarsRows) {
  MainWindow& w = OpenWithFiles();
  w.RunCommand(kCmdConnect);
  WaveGraphView* graph = w.wave_graph_view();
  graph->measure_box(1)->setChecked(true);
  graph->button(WaveGraphView::Button::kRefresh)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();
  w.RunCommand(kCmdDisconnect);  // nothing below needs the instrument
  const ViewTables& tables = w.view_tables();
  const int count = tables.wave_slots[1].count;
  ASSERT_GT(count, 200);

  answers = {{"Save Wave Graph File", "graph.csv"},
             {"Save Wave Data File", "data"},
             {"Save Wave Measurement File", "meas"}};
  graph->button(WaveGraphView::Button::kSave)->click();
  w.wave_data_view()->button(WaveDataView::Button::kSaveAs)->click();
  w.wave_measurement_view()->button(WaveMeasurementView::Button::kSaveAs)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();
  EXPECT_EQ(chosen_modes,
            (std::vector<SelectChanMode>{SelectChanMode::kWaveGraph, SelectChanMode::kWaveData,
                                         SelectChanMode::kMeasurement}));
  EXPECT_EQ(testing::ReadFileBytes(dir.File("data.wdf")).size(), 172u + count);
  EXPECT_EQ(testing::ReadFileBytes(dir.File("meas.wmf")).size(), 172u + count);
  EXPECT_EQ(w.file_dialogs().save_path(), dir.File("meas"));

  answers = {{"Open Wave Data File", "data.wdf"},
             {"Open Wave Measurement File", "meas.wmf"},
             {"Open Wave Graph File", "graph.csv"}};
  BaseOperationBar* bar = w.base_bar();
  for (int row : {BaseOperationBar::kDataFileRow, BaseOperationBar::kMeasureFileRow,
                  BaseOperationBar::kGraphFileRow})
    bar->open_button(row)->click();
  graph->button(WaveGraphView::Button::kOpen)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();

  // Chan3..Chan6 hold CH1 as it was shown.
  for (int slot = 3; slot <= 6; ++slot)
    EXPECT_EQ(tables.wave_slots[slot].count, count) << slot;
  EXPECT_TRUE(tables.wave_slots[7].free());
}

// The buttons that open files reach the guarded reads: a named pipe is refused by each opener with
// its own message and log line, at once (the pipe has no writer: opening it as a file would wait
// for ever). The limits of the guard itself are the core's.
TEST_F(AppFilesTest, EachOpenerRefusesWhatIsNoRegularFileAtOnce) {
  MainWindow& w = OpenWithFiles();
  constexpr const char* kOpenFailed = "打开选定文件失败，请确定文件是否被破坏、文件格式是否正确？";
  BaseOperationBar* bar = w.base_bar();
  const struct {
    QPushButton* button;
    const char* title;
    const char* name;
    const char* box;
    const char* log;  // null: the opener writes none
  } openers[] = {
      {bar->open_button(BaseOperationBar::kDataFileRow), "Open Wave Data File", "x.wdf",
       kOpenFailed, "打开选定文件‘*.wdf’失败"},
      {bar->open_button(BaseOperationBar::kMeasureFileRow), "Open Wave Measurement File", "x.wmf",
       kOpenFailed, "打开选定文件‘*.wmf’失败"},
      {bar->open_button(BaseOperationBar::kGraphFileRow), "Open Wave Graph File", "x.wdf",
       "Try to openning the selected file failed!", nullptr},
      {bar->open_button(BaseOperationBar::kBitmapFileRow), "Open Bmp File", "x.bmp", kOpenFailed,
       "打开选定文件‘*.bmp’失败"},
      {bar->open_setting_button(), "Open Setting File", "x.ssf",
       "Try to open a Setting file failed!", "打开‘设备配置数据’文件失败"},
  };
  for (const auto& opener : openers) {
    SCOPED_TRACE(opener.title);
    mkfifo(dir.File(opener.name).c_str(), 0600);
    answers = {{opener.title, opener.name}};
    presenter.boxes.clear();
    const size_t log_before = testing::ReadFileText(debug_log.debug_log_path()).size();
    opener.button->click();
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, opener.box);
    if (opener.log) {
      EXPECT_NE(testing::ReadFileText(debug_log.debug_log_path())
                    .substr(log_before)
                    .find(Utf8ToGbk(opener.log)),
                std::string::npos);
    }
  }
  for (int slot = 3; slot <= 7; ++slot)
    EXPECT_TRUE(w.view_tables().wave_slots[slot].free());
}

}  // namespace
}  // namespace korvelane

namespace korvelane {
namespace {

TEST_F(AppFilesTest, RecordingShowsInTheStatusBarPausesWithoutTheInstrumentAndStopsAtDisconnect) {
  MainWindow& w = Open();
  w.menu_action(kCmdConnect)->trigger();
  WaveGraphView* graph = w.wave_graph_view();
  graph->measure_box(1)->setChecked(true);
  dialog_script = [this](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    if (!files)
      return static_cast<int>(QDialog::Rejected);
    files->selectFile(QString::fromStdString(dir.File("night")));
    return static_cast<int>(QDialog::Accepted);
  };
  QPushButton* record = w.wave_measurement_view()->button(WaveMeasurementView::Button::kRecord);
  record->click();
  QLabel* status = nullptr;
  for (QLabel* label : w.statusBar()->findChildren<QLabel*>()) {
    if (label->accessibleName() == QStringLiteral("Recording"))
      status = label;
  }
  ASSERT_NE(status, nullptr);
  auto refresh = [graph] { graph->button(WaveGraphView::Button::kRefresh)->click(); };
  refresh();
  refresh();
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();
  EXPECT_TRUE(status->isVisibleTo(w.statusBar()));
  EXPECT_EQ(status->text(), QStringLiteral("Recording: 2 rows"));

  instrument.Unplug();
  QCoreApplication::processEvents();
  EXPECT_EQ(status->text(), QStringLiteral("Recording paused: 2 rows"));
  instrument.Plug();
  QCoreApplication::processEvents();
  w.menu_action(kCmdConnect)->trigger();
  refresh();
  EXPECT_EQ(status->text(), QStringLiteral("Recording: 3 rows"));

  w.menu_action(kCmdDisconnect)->trigger();
  EXPECT_EQ(record->text(), QStringLiteral("Record..."));
  EXPECT_FALSE(status->isVisibleTo(w.statusBar()));
  const std::string text = testing::ReadFileText(dir.File("night.csv"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
}

size_t LineCount(const std::string& path) {
  const std::string text = testing::ReadFileText(path);
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(AppFilesTest, ExportsGoThroughTheirMenusIntoFilesOtherProgramsRead) {
  MainWindow& w = OpenWithFiles();
  w.RunCommand(kCmdConnect);
  WaveGraphView* graph = w.wave_graph_view();
  graph->measure_box(1)->setChecked(true);
  graph->measure_box(2)->setChecked(true);
  graph->button(WaveGraphView::Button::kRefresh)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();
  const int count = w.view_tables().wave_slots[1].count;

  answers = {{"Export Wave Data CSV File", "waves.csv"},
             {"Export Wave Measurement CSV File", "measurements.csv"},
             {"Export Wave Graph", "graph.png"}};
  w.wave_data_view()->export_csv_action()->trigger();
  w.wave_measurement_view()->export_csv_action()->trigger();
  w.export_graph_action()->trigger();
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();
  // Scales of CH1 and CH2, the column header, one row per sample.
  EXPECT_EQ(LineCount(dir.File("waves.csv")), 1u + 2 + 1 + count);
  EXPECT_EQ(LineCount(dir.File("measurements.csv")), 1u + 2 * 11);

  const QSize shown = graph->graph()->size();
  QImageReader png(QString::fromStdString(dir.File("graph.png")));
  const QSize png_size = png.size();
  EXPECT_EQ(png_size.width(), shown.width());
  EXPECT_GT(png_size.height(), shown.height()) << "the caption lies under the graph";

  // After a PNG name the size dialog offers the size shown; OK writes the size typed in, Cancel
  // writes nothing and keeps the file.
  QSize offered;
  auto size_dialog_answers = [&](const QString& button, QSize typed) {
    dialog_script = [&offered, button, typed](QDialog& dialog) {
      auto* size = qobject_cast<PictureSizeDialog*>(&dialog);
      EXPECT_NE(size, nullptr);
      if (!size)
        return static_cast<int>(QDialog::Rejected);
      offered = size->chosen_size();
      size->width_box()->setValue(typed.width());
      size->height_box()->setValue(typed.height());
      for (QPushButton* push : size->findChildren<QPushButton*>()) {
        if (push->accessibleName() == button)
          push->click();
      }
      return size->result();
    };
  };
  const QString png_path = QString::fromStdString(dir.File("graph.png"));
  size_dialog_answers(QStringLiteral("OK"), QSize(640, 333));
  w.export_graph_action()->trigger();
  EXPECT_EQ(offered, png_size);
  EXPECT_EQ(QImageReader(png_path).size(), QSize(640, 333));
  size_dialog_answers(QStringLiteral("Cancel"), QSize(800, 600));
  graph->export_graph_action()->trigger();
  EXPECT_EQ(QImageReader(png_path).size(), QSize(640, 333));
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();

  answers = {{"Export Wave Graph", "graph.svg"}};
  graph->export_graph_action()->trigger();
  QFile svg_file(QString::fromStdString(dir.File("graph.svg")));
  ASSERT_TRUE(svg_file.open(QIODevice::ReadOnly));
  QXmlStreamReader svg(&svg_file);
  ASSERT_TRUE(svg.readNextStartElement());
  EXPECT_EQ(svg.name(), QStringLiteral("svg"));
  EXPECT_EQ(svg.attributes().value(QStringLiteral("viewBox")).toString(),
            QStringLiteral("0 0 %1 %2").arg(png_size.width()).arg(png_size.height()));
  while (!svg.atEnd())
    svg.readNext();
  EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();

  answers = {{"Export Wave Graph", "graph.pdf"}};
  graph->export_graph_action()->trigger();
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QString::fromStdString(dir.File("graph.pdf")), QStringLiteral("-")});
  if (!pdftotext.waitForFinished(20000))
    GTEST_SKIP() << "pdftotext is not at hand";
  const std::string text = pdftotext.readAllStandardOutput().toStdString();
  EXPECT_NE(text.find("Korvelane Wave Graph"), std::string::npos) << text;
  EXPECT_NE(text.find(ModelText(instrument.product_type())), std::string::npos) << text;
}

}  // namespace
}  // namespace korvelane
