// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a whole document onto a printer, page after page, with the failure messages of a
// document or page that cannot be started.
#pragma once

#include <string>

#include "core/common/clock.h"
#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/printing/page_renderers.h"

namespace korvelane {

// A printer as the print sequence drives it.
class PrintSurface {
 public:
  virtual ~PrintSurface() = default;
  // False when the surface has nothing to draw on.
  virtual bool HasDevice() const = 0;
  virtual bool StartDocument(const std::string& name) = 0;
  virtual bool StartPage() = 0;
  virtual void DrawPage(const Page& page) = 0;
  virtual void EndPage() = 0;
  virtual void EndDocument() = 0;
  virtual void AbortDocument() = 0;
};

struct PrintServices {
  UserInterface& ui;
  DebugLog& debug_log;
  const Clock& clock;
};

// Prints pages 1..page count of `job` (whatever page the preview shows). Returns 1 when the
// document was printed or could not be started, 0 when the surface has no device or a page
// failed; the failures are logged and shown.
int PrintWholeDocument(const PageRenderer& renderer, const PrintJob& job, PrintSurface& surface,
                       const PrintServices& services);

}  // namespace korvelane
