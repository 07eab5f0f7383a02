// SPDX-License-Identifier: GPL-3.0-or-later
// The print preview: the frame "Preview" with its toolbar, the page area that shows one page at
// its printed size, and the "Goto Page" dialog. Every page is laid out by the job's renderer at
// the moment it is painted; printing hands the whole document to the default printer.
#pragma once

#include <QAbstractScrollArea>
#include <QDialog>
#include <QImage>
#include <functional>
#include <map>

#include "core/printing/preview_state.h"
#include "core/printing/print_document.h"
#include "printing/printer_surface.h"

class QAction;
class QLineEdit;
class QSpinBox;
class QToolBar;

namespace korvelane {

// Runs a modal dialog and returns its result.
using PrintDialogRunner = std::function<int(QDialog&)>;

// What a preview shows and prints: the renderer of the owning view and, for the DSO Bitmap view,
// its picture.
struct PreviewSource {
  const PageRenderer* renderer = nullptr;
  QImage picture;
};

class CPreGotoDlg : public QDialog {
  Q_OBJECT

 public:
  CPreGotoDlg(int current_page, int page_count, QWidget* parent = nullptr);

  // The page chosen by the last OK, clamped to 1..page count.
  int page() const { return page_; }
  QSpinBox* field() const { return field_; }

  void accept() override;

 private:
  int page_count_;
  int page_;
  QSpinBox* field_ = nullptr;
};

class CPreView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  CPreView(const PreviewSource& source, PrintJob& job, const Clock& clock,
           QWidget* parent = nullptr);

  void set_current_page(int page);
  // The system's wheel-scroll lines; 0 turns the wheel off.
  void set_wheel_lines(int lines) { wheel_ = WheelScroller(lines); }
  // The page as the preview shows it, at the screen's pixels per inch.
  QImage RenderPage();
  // Where the page's top-left corner lies in the viewport.
  QPoint PageOrigin() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateRanges();

  const PreviewSource& source_;
  PrintJob& job_;
  const Clock& clock_;
  int current_page_ = 1;
  WheelScroller wheel_;
  QBrush background_;
};

class CPreParent : public QDialog {
  Q_OBJECT

 public:
  enum Command {
    kFirst = 32838,
    kPrevious = 32845,
    kGoto = 32840,
    kNext = 32841,
    kLast = 32842,
    kClose = 32843,
    kPrint = 32844
  };

  // `job` is copied; its page count is computed here.
  CPreParent(PreviewSource source, const PrintJob& job, const PrintServices& services,
             PrintDialogRunner run_dialog, PrinterFactory printers, QWidget* parent = nullptr);

  // Runs the preview through the dialog runner; a job without items closes at once.
  int Open();

  void RunCommand(int command);
  QAction* action(int command) const;
  CPreView* page_area() const { return view_; }
  const PrintJob& job() const { return job_; }
  const PreviewNavigation& navigation() const { return navigation_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AddAction(QToolBar* bar, int command, const QString& text, const QIcon& icon);
  void ShowNavigation();
  void Print();

  PreviewSource source_;
  PrintJob job_;
  PrintServices services_;
  PrintDialogRunner run_dialog_;
  PrinterFactory printers_;
  PreviewNavigation navigation_;
  CPreView* view_ = nullptr;
  std::map<int, QAction*> actions_;
};

}  // namespace korvelane
