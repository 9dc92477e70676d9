// ReportPreviewForm: the modal preview of a listing report, one page at a time.
//
// The report engine shows it for the preview output. The list lsbPage holds the lines of the
// page shown (so a script reads them as list items and the desktop shows the same list);
// lblPage says "Página n de m". sbtFirst, sbtPrior, sbtNext and sbtLast (and Home, PageUp,
// PageDown, End) move between pages and are enabled only where they lead somewhere; sbtPrint and
// sbtSave hand the same pages to the engine's print and save-as; sbtClose and Escape close it.
// The form frees itself when closed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/report_layout.h"
#include "host/ui/buttons.h"
#include "host/ui/containers.h"
#include "host/ui/form.h"
#include "host/ui/list_box.h"
#include "host/ui/static_controls.h"

namespace host {

class ReportPreviewForm : public ui::Form {
 public:
  struct Actions {
    std::function<void()> print;
    std::function<void()> save;
  };

  ReportPreviewForm(std::vector<ReportPage> pages, const std::string& title, Actions actions);

  ui::Panel* panTools;
  ui::SpeedButton* sbtFirst;
  ui::SpeedButton* sbtPrior;
  ui::SpeedButton* sbtNext;
  ui::SpeedButton* sbtLast;
  ui::Label* lblPage;
  ui::SpeedButton* sbtPrint;
  ui::SpeedButton* sbtSave;
  ui::SpeedButton* sbtClose;
  ui::ListBox* lsbPage;

  int pageIndex() const { return page_; }
  int pageCount() const { return static_cast<int>(pages_.size()); }
  // Shows page `index` (from 0), kept inside the report.
  void showPage(int index);

 private:
  std::vector<ReportPage> pages_;
  Actions actions_;
  int page_ = 0;
};

}  // namespace host
