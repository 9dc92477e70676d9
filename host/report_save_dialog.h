// ReportSaveDialog: asks the title and the PDF file of a report being saved.
//
// The report engine shows it modally for the save-as output. Its caption and prompt come from
// the report form's catalogue ("NovoCaption", "NovoPrompt"); edtTitle starts with the proposed
// title and edtFile with a file of that name in the report folder, and the file follows the
// title until the operator edits it. OK (sbtOk) accepts only a title and a file name; a name
// without ".pdf" gets it, a relative name is taken inside the report folder, the folder must
// exist, and an existing file is replaced only after the operator confirms. Cancel (sbtCancel)
// or Escape leaves without saving. The caller reads title() and path() after an OK.
#pragma once

#include <string>

#include "host/ui/buttons.h"
#include "host/ui/edit.h"
#include "host/ui/form.h"
#include "host/ui/static_controls.h"

namespace host {

class ReportSaveDialog : public ui::Form {
 public:
  ReportSaveDialog(const std::string& caption, const std::string& prompt, const std::string& title,
                   std::string folder);

  ui::Label* lblTitle;
  ui::Edit* edtTitle;
  ui::Label* lblFile;
  ui::Edit* edtFile;
  ui::SpeedButton* sbtOk;
  ui::SpeedButton* sbtCancel;

  std::string title() const;
  // The file to write, as accepted by OK.
  const std::string& path() const { return path_; }

  // A file name made from a title: characters that cannot be in a file name become "_".
  static std::string fileNameFor(const std::string& title);

 private:
  void confirm();
  std::string suggestedPath() const;

  std::string folder_;
  std::string path_;
  bool fileEdited_ = false;
  bool suggesting_ = false;
};

}  // namespace host
