// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "core/common/program_folder.h"

namespace korvelane {
namespace {

struct KindTexts {
  const char* open_title;  // null: the kind has no shared open dialog
  const char* save_title;  // null: the kind has no shared save dialog
  const char* filter;
  const char* initial_name;
  const char* default_extension;
};

constexpr KindTexts kKinds[] = {
    {"Open Bmp File", nullptr, "bitmap file (*.bmp) |*.bmp| |", "", ""},
    {"Open Wave Data File", "Save Wave Data File", "wavedata file (*.wdf) |*.wdf| |", "", ""},
    {"Open Wave Measurement File", "Save Wave Measurement File",
     "wave measurement file (*.wmf) |*.wmf| |", "", ""},
    {"Open Setting File", "Save Setting File", "Scope setting file (*.ssf) |*.ssf| |", "", ""},
    {"Open Wave Graph File", "Save Wave Graph File",
     "graph file( *.csv)|*.csv|wavedata file(*.wdf)|*.wdf| |", "*.csv", "csv"},
    {nullptr, "Export Wave Data CSV File", "CSV file (*.csv) |*.csv| |", "", "csv"},
    {nullptr, "Export Wave Measurement CSV File", "CSV file (*.csv) |*.csv| |", "", "csv"},
    // The extension follows the filter chosen in the dialog.
    {nullptr, "Export Wave Graph",
     "PNG picture (*.png) |*.png|SVG drawing (*.svg) |*.svg|PDF document (*.pdf) |*.pdf| |", "",
     ""},
};

const KindTexts* Texts(int kind) {
  return kind >= kBitmapFile && kind <= kGraphExport ? &kKinds[kind - 1] : nullptr;
}

bool FileExists(const std::string& path) {
  return QFileInfo::exists(QString::fromStdString(path));
}

}  // namespace

FileDialogs::FileDialogs(std::function<std::string()> initial_path, QWidget* parent)
    : initial_path_(std::move(initial_path)), parent_(parent) {}

void FileDialogs::set_runner(FileDialogRunner runner) {
  runner_ = std::move(runner);
}

std::string FileDialogs::Filter(int kind) {
  const KindTexts* t = Texts(kind);
  return t ? t->filter : "";
}

FileDialogRequest FileDialogs::Request(int kind, bool save, const std::string& folder) {
  FileDialogRequest request;
  const KindTexts* t = Texts(kind);
  if (!t)
    return request;
  const char* title = save ? t->save_title : t->open_title;
  if (!title)
    return request;
  request.save = save;
  request.title = title;
  request.filter = t->filter;
  request.folder = folder;
  request.initial_name = t->initial_name;
  request.default_extension = t->default_extension;
  return request;
}

std::string FileDialogs::Run(const FileDialogRequest& request) {
  const std::string chosen = runner_ ? runner_(request) : RunQtFileDialog(parent_, request);
  if (chosen.empty() || request.default_extension.empty())
    return chosen;
  // An existing file is opened under its own name.
  if (!request.save && FileExists(chosen))
    return chosen;
  return WithDefaultExtension(chosen, request.default_extension);
}

int FileDialogs::OpenFileDialog(int kind) {
  const FileDialogRequest request = Request(kind, false, initial_path());
  if (request.title.empty())
    return 0;
  const std::string chosen = Run(request);
  if (chosen.empty())
    return 0;
  open_path_ = chosen;
  return 1;
}

int FileDialogs::SaveFileDialog(int kind) {
  const FileDialogRequest request = Request(kind, true, initial_path());
  if (request.title.empty())
    return 0;
  std::string chosen = Run(request);
  // The save path holds at most kMaxPathCharacters characters; a longer choice is no choice.
  if (chosen.empty() || !FitsPathLimit(chosen))
    return 0;
  if (kind == kWaveGraphFile && chosen.find(".csv") == std::string::npos &&
      chosen.find(".wdf") == std::string::npos)
    chosen += ".wdf";
  save_path_ = chosen;
  return 1;
}

QStringList FileDialogs::NameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString display = parts[i].trimmed();
    const QString pattern = parts[i + 1].trimmed();
    if (display.isEmpty() || pattern.isEmpty())
      break;
    // Qt takes the patterns from the last parentheses of the text; add them where the text
    // does not end with exactly this pattern.
    const int open = display.lastIndexOf(QLatin1Char('('));
    const bool shows_pattern =
        display.endsWith(QLatin1Char(')')) && open >= 0 &&
        display.mid(open + 1, display.size() - open - 2).trimmed() == pattern;
    filters << (shows_pattern ? display : display + QStringLiteral(" (") + pattern + ')');
  }
  return filters;
}

std::string FileDialogs::WithDefaultExtension(const std::string& path,
                                              const std::string& extension) {
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || extension.empty() || name.find('.') != std::string::npos)
    return path;
  return path + "." + extension;
}

void FollowFilterSuffix(QFileDialog& dialog) {
  const auto follow = [&dialog](const QString& filter) {
    const int star = filter.indexOf(QStringLiteral("*."));
    const int end = filter.indexOf(QLatin1Char(')'), star);
    if (star >= 0 && end > star)
      dialog.setDefaultSuffix(filter.mid(star + 2, end - star - 2).trimmed());
  };
  follow(dialog.nameFilters().first());
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
}

std::string RunQtFileDialog(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent, QString::fromStdString(request.title),
                     QString::fromStdString(request.folder));
  dialog.setAccessibleName(dialog.windowTitle());
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(FileDialogs::NameFilters(request.filter));
  if (!request.default_extension.empty())
    dialog.setDefaultSuffix(QString::fromStdString(request.default_extension));
  else if (dialog.nameFilters().size() > 1)
    FollowFilterSuffix(dialog);
  if (!request.initial_name.empty())
    dialog.selectFile(QString::fromStdString(request.initial_name));
  if (dialog.exec() != QDialog::Accepted)
    return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::string() : files.first().toStdString();
}

}  // namespace korvelane
