#include "host/report_save_dialog.h"

#include <algorithm>
#include <filesystem>

#include "host/consiste.h"
#include "host/dialog_buttons.h"
#include "host/ui/application.h"
#include "host/ui/utf8.h"

namespace host {

namespace fs = std::filesystem;

namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const char* extensionOf(SaveFormat format) {
  return format == SaveFormat::Csv ? ".csv" : ".pdf";
}

bool endsWith(const std::string& name, const std::string& extension) {
  return name.size() >= extension.size() &&
         ui::utf8::toLower(name.substr(name.size() - extension.size())) == extension;
}

}  // namespace

std::string ReportSaveDialog::fileNameFor(const std::string& title, SaveFormat format) {
  std::string name;
  for (char c : trimmed(title)) {
    const bool refused = static_cast<unsigned char>(c) < 32 ||
                         std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
    name.push_back(refused ? '_' : c);
  }
  if (name.empty() || name == "." || name == "..")
    name = "relatorio";
  return name + extensionOf(format);
}

ReportSaveDialog::ReportSaveDialog(const std::string& caption, const std::string& prompt,
                                   const std::string& title, std::string folder,
                                   std::vector<SaveFormat> formats)
    : Form("frmReportSave"), folder_(std::move(folder)) {
  setCaption(caption);
  setBorderStyle(ui::BorderStyle::Dialog);
  setClientSize(440, 130);

  lblTitle = add<ui::Label>("lblTitle");
  lblTitle->setCaption(prompt);
  lblTitle->setBounds(8, 8, 300, 13);
  edtTitle = add<ui::Edit>("edtTitle");
  edtTitle->setBounds(8, 24, 424, 21);
  edtTitle->setTabStop(true);
  edtTitle->setTabOrder(0);
  lblTitle->setFocusControl(edtTitle);
  lblFile = add<ui::Label>("lblFile");
  lblFile->setCaption("Arquivo:");
  lblFile->setBounds(8, 52, 300, 13);
  edtFile = add<ui::Edit>("edtFile");
  edtFile->setBounds(8, 68, 424, 21);
  edtFile->setTabStop(true);
  edtFile->setTabOrder(1);
  lblFile->setFocusControl(edtFile);
  rbtPdf = add<ui::RadioButton>("rbtPdf");
  rbtPdf->setCaption("&PDF");
  rbtPdf->setBounds(8, 104, 60, 17);
  rbtCsv = add<ui::RadioButton>("rbtCsv");
  rbtCsv->setCaption("Planilha (C&SV)");
  rbtCsv->setBounds(76, 104, 110, 17);
  const auto offered = [&](SaveFormat format) {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
  };
  const bool choice = formats.size() > 1;
  rbtPdf->setVisible(choice && offered(SaveFormat::Pdf));
  rbtCsv->setVisible(choice && offered(SaveFormat::Csv));
  (formats.empty() || formats.front() == SaveFormat::Pdf ? rbtPdf : rbtCsv)->setChecked(true);
  const DialogButtons buttons = addDialogButtons(
      *this, {"sbtOk", "&OK"}, {"sbtCancel", "&Cancelar"}, 276, 100, [this] { confirm(); });
  sbtOk = buttons.confirm;
  sbtCancel = buttons.cancel;

  edtTitle->onChange = [this](ui::Control&) { suggest(); };
  // The click event runs before the button is checked by the click itself.
  rbtPdf->onClick = [this](ui::Control&) {
    rbtPdf->setChecked(true);
    suggest();
  };
  rbtCsv->onClick = [this](ui::Control&) {
    rbtCsv->setChecked(true);
    suggest();
  };
  edtFile->onChange = [this](ui::Control&) {
    if (!suggesting_)
      fileEdited_ = true;
  };
  edtTitle->setText(title);
  if (title.empty())
    edtFile->setText(suggestedPath());
}

std::string ReportSaveDialog::title() const {
  return trimmed(edtTitle->text());
}

SaveFormat ReportSaveDialog::format() const {
  return rbtCsv->checked() ? SaveFormat::Csv : SaveFormat::Pdf;
}

std::string ReportSaveDialog::suggestedPath() const {
  return (fs::path(folder_) / fileNameFor(edtTitle->text(), format())).string();
}

void ReportSaveDialog::suggest() {
  if (fileEdited_)
    return;
  suggesting_ = true;
  edtFile->setText(suggestedPath());
  suggesting_ = false;
}

void ReportSaveDialog::confirm() {
  if (title().empty()) {
    edtTitle->setFocus();
    Consiste::MensErro("O título do relatório deve ser informado.", true);
  }
  std::string name = trimmed(edtFile->text());
  if (name.empty()) {
    edtFile->setFocus();
    Consiste::MensErro("O arquivo do relatório deve ser informado.", true);
  }
  if (const std::string extension = extensionOf(format()); !endsWith(name, extension))
    name += extension;
  fs::path file(name);
  if (file.is_relative())
    file = fs::path(folder_) / file;
  std::error_code error;
  const fs::path parent = file.parent_path();
  if (!fs::is_directory(parent, error)) {
    edtFile->setFocus();
    Consiste::MensErro("A pasta '" + parent.string() + "' não existe.", true);
  }
  if (fs::is_directory(file, error)) {
    edtFile->setFocus();
    Consiste::MensErro("'" + file.string() + "' é uma pasta, não um arquivo.", true);
  }
  if (fs::exists(file, error) &&
      ui::application().messageBox(
          ui::MessageKind::Confirmation,
          "O arquivo '" + file.string() + "' já existe. Deseja substituí-lo?",
          ui::MessageButtons::YesNo) != ui::mrYes) {
    edtFile->setFocus();
    return;
  }
  path_ = file.string();
  setModalResult(ui::mrOk);
}

}  // namespace host
