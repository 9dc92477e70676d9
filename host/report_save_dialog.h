// ReportSaveDialog: asks the title, the format and the file of a report being saved.
//
// The report engine shows it modally for the save-as output. Its caption and prompt come from
// the report form's catalogue ("NovoCaption", "NovoPrompt"); edtTitle starts with the proposed
// title and edtFile with a file of that name in the report folder, and the file follows the
// title until the operator edits it. The formats offered are PDF (rbtPdf, the first) and a
// spreadsheet (rbtCsv, "Planilha (CSV)"); choosing one gives the proposed file its extension.
// OK (sbtOk) accepts only a title and a file name; a name without the chosen format's
// extension gets it, a relative name is taken inside the report folder, the folder must exist,
// and an existing file is replaced only after the operator confirms. Cancel (sbtCancel) or
// Escape leaves without saving. The caller reads title(), format() and path() after an OK.
#pragma once

#include <string>
#include <vector>

#include "host/ui/buttons.h"
#include "host/ui/edit.h"
#include "host/ui/form.h"
#include "host/ui/static_controls.h"

namespace host {

enum class SaveFormat { Pdf, Csv };

class ReportSaveDialog : public ui::Form {
 public:
  // `formats` lists what may be chosen, the first chosen at the start; with one there is no
  // choice to show.
  ReportSaveDialog(const std::string& caption, const std::string& prompt, const std::string& title,
                   std::string folder,
                   std::vector<SaveFormat> formats = {SaveFormat::Pdf, SaveFormat::Csv});

  ui::Label* lblTitle;
  ui::Edit* edtTitle;
  ui::Label* lblFile;
  ui::Edit* edtFile;
  ui::RadioButton* rbtPdf;
  ui::RadioButton* rbtCsv;
  ui::SpeedButton* sbtOk;
  ui::SpeedButton* sbtCancel;

  std::string title() const;
  SaveFormat format() const;
  // The file to write, as accepted by OK.
  const std::string& path() const { return path_; }

  // A file name made from a title: characters that cannot be in a file name become "_".
  static std::string fileNameFor(const std::string& title, SaveFormat format = SaveFormat::Pdf);

 private:
  void confirm();
  std::string suggestedPath() const;
  void suggest();

  std::string folder_;
  std::string path_;
  bool fileEdited_ = false;
  bool suggesting_ = false;
};

}  // namespace host
