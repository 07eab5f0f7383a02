// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/printing/print_document.h"

#include <algorithm>

namespace korvelane {

int PrintWholeDocument(const PageRenderer& renderer, const PrintJob& job, PrintSurface& surface,
                       const PrintServices& services) {
  if (!surface.HasDevice())
    return 0;
  if (!surface.StartDocument(renderer.DocumentName())) {
    services.debug_log.WriteDebugLog("连接到打印机失败", kWarning);
    services.ui.ShowMessage("Initialize printer failed", "Error", MessageIcon::kStop);
    return 1;
  }
  const int pages = std::max(1, job.page_count);
  for (int page = 1; page <= pages; ++page) {
    if (!surface.StartPage()) {
      services.debug_log.WriteDebugLog(renderer.PageFailureText(page), kWarning);
      services.ui.ShowMessage("Print failed!", renderer.PageFailureTitle(), MessageIcon::kStop);
      surface.AbortDocument();
      return 0;
    }
    // The date of the moment each page is drawn.
    surface.DrawPage(renderer.Layout(job, page, false, PrintDateText(services.clock.Now())));
    surface.EndPage();
  }
  surface.EndDocument();
  return 1;
}

}  // namespace korvelane
