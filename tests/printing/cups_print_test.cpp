// Printing to the default printer of a private CUPS instance that writes what it receives to a
// PDF file. The instance has its own folder and socket (reached through CUPS_SERVER), so the
// machine's own printers are never touched.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>

#include "print_test_support.h"
#include "views/set_prnt_item_dlg.h"
#include "views/wave_data_view.h"

// libcups keeps the PPD cache of a queue for the life of the process; not a leak of ours.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:_ppdCacheCreateWithPPD\n";
}

namespace korvelane::testing {
namespace {

// libcups keeps the server it first read, so every test of this program uses one socket path.
QString CupsFolder() {
  static const QString folder =
      QDir::tempPath() +
      QStringLiteral("/korvelane-cups-%1").arg(QCoreApplication::applicationPid());
  return folder;
}

QString CupsSocket() {
  return CupsFolder() + QStringLiteral("/cups.sock");
}

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(text.toUtf8()) == text.toUtf8().size();
}

bool Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

// cupsd in the foreground with a queue "korvelane" whose device is `output`.
class PrivateCups {
 public:
  bool Start(const QString& output) {
    const QString root = CupsFolder();
    for (const char* sub : {"spool", "cache", "state", "tmp", "log", "out"})
      QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    // Filters run as the unprivileged CUPS user.
    QFile::setPermissions(root + QStringLiteral("/out"), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(root + QStringLiteral("/tmp"), QFileDevice::Permissions(0x7777));
    const QString conf = QStringLiteral(
                             "Listen %1\nLogLevel warn\n<Location />\n  Order allow,deny\n  "
                             "Allow all\n</Location>\n<Location /admin>\n  Order allow,deny\n  "
                             "Allow all\n</Location>\n")
                             .arg(CupsSocket());
    const QString files =
        QStringLiteral(
            "FileDevice Yes\nServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
            "StateDir %1/state\nTempDir %1/tmp\nErrorLog %1/log/error_log\n"
            "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n")
            .arg(root);
    if (!WriteText(root + QStringLiteral("/cupsd.conf"), conf) ||
        !WriteText(root + QStringLiteral("/cups-files.conf"), files))
      return false;
    daemon_.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                   QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    if (!daemon_.waitForStarted(10000))
      return false;
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(CupsSocket()) && waited.elapsed() < 20000)
      QThread::msleep(50);
    return Run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), QStringLiteral("korvelane"), QStringLiteral("-E"),
                QStringLiteral("-v"), QStringLiteral("file://") + output, QStringLiteral("-P"),
                QStringLiteral("/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd")}) &&
           Run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("korvelane")});
  }

  // Stops the daemon this test started, by its process id.
  ~PrivateCups() {
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.terminate();
      if (!daemon_.waitForFinished(10000))
        daemon_.kill();
      daemon_.waitForFinished(5000);
    }
  }

 private:
  QProcess daemon_;
};

bool HaveCups() {
  return QFile::exists(QStringLiteral("/usr/sbin/cupsd")) &&
         !QStandardPaths::findExecutable(QStringLiteral("lpadmin")).isEmpty() &&
         QFile::exists(QStringLiteral("/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd"));
}

class CupsPrintTest : public PrintTest {
 protected:
  static void SetUpTestSuite() {
    QDir().mkpath(CupsFolder());
    qputenv("CUPS_SERVER", CupsSocket().toLocal8Bit());
  }
  static void TearDownTestSuite() { QDir(CupsFolder()).removeRecursively(); }

  // Prints items 1..100 of the Wave Data view from page 2 of the preview.
  void PrintFromPreview() {
    dialog_script = [this](QDialog& dialog) {
      if (auto* range = qobject_cast<CSetPrntItemDlg*>(&dialog)) {
        range->start_field()->setText(QStringLiteral("1"));
        range->end_field()->setText(QStringLiteral("100"));
        range->accept();
        return range->result();
      }
      if (qobject_cast<QMessageBox*>(&dialog))
        return static_cast<int>(QMessageBox::Yes);
      if (auto* preview = qobject_cast<CPreParent*>(&dialog)) {
        preview->action(CPreParent::kNext)->trigger();
        preview->action(CPreParent::kPrint)->trigger();
        preview_still_open = preview->action(CPreParent::kClose)->isEnabled();
      }
      return static_cast<int>(QDialog::Rejected);
    };
    window->wave_data_view()->button(WaveDataView::Button::kPrint)->click();
  }

  bool preview_still_open = false;
};

TEST_F(CupsPrintTest, WithoutCupsThereIsNoDefaultPrinterAndNothingIsPrinted) {
  FillWaveData(200);
  PrintFromPreview();
  ASSERT_FALSE(presenter.boxes.empty());
  EXPECT_EQ(presenter.boxes.back().text, "Initialize the printer failed!");
  EXPECT_EQ(presenter.boxes.back().caption, "错误");
}

TEST_F(CupsPrintTest, DefaultPrinterReceivesTheWholeDocument) {
  if (!HaveCups() || !HavePdfToText())
    GTEST_SKIP() << "cupsd, lpadmin, the generic PDF driver or pdftotext is missing";
  const QString output = CupsFolder() + QStringLiteral("/out/job.pdf");
  PrivateCups cups;
  ASSERT_TRUE(cups.Start(output));
  FillWaveData(200);
  const size_t boxes_before = presenter.boxes.size();
  PrintFromPreview();
  EXPECT_EQ(presenter.boxes.size(), boxes_before);  // no failure shown

  // The job goes through the CUPS filters; wait for the file to be complete.
  QElapsedTimer waited;
  waited.start();
  std::string text;
  while (waited.elapsed() < 60000) {
    if (QFile::exists(output)) {
      text = PdfText(output.toStdString());
      if (std::count(text.begin(), text.end(), '\f') >= 3)
        break;
    }
    QThread::msleep(200);
  }
  ASSERT_FALSE(text.empty()) << "no PDF arrived at " << output.toStdString();
  EXPECT_NE(text.find("Print the Wave Data"), std::string::npos) << text;
  EXPECT_NE(text.find("Print Date:2026-12-06"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3);  // all pages, from page 1
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  EXPECT_NE(text.find("\n10\n"), std::string::npos);  // item 1, sample code 0
  EXPECT_NE(text.find("\n10099\n"), std::string::npos);
  EXPECT_NE(text.find("3/3"), std::string::npos);
}

}  // namespace
}  // namespace korvelane::testing
