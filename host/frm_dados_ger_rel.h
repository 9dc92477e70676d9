// TfrmDadosGerRel: the host's base report-parameter form.
//
// The report-name panel panNomeRel (label and combo cbbNomeRel), the side panel panBotoes with
// the print, preview, save-as and close buttons, the group grbDadosRel for the form's filters,
// the report-code label lblCodRel, the catalogue msgPadrao and the report engine rpddPadrao.
// The output buttons run the report whose code lblCodRel shows through the engine; a derived
// form overrides their handlers to check its filters first and fills the report's query
// parameters in rpddPadrao->OnBeforeGetQueryParams. A missing report definition is reported
// with the catalogue line "Arq_Rel_Err" (filled with the code and the directory); the lines
// "NovoCaption" and "NovoPrompt" word the engine's title question of save-as. Closing frees the
// form; Escape closes it.
#pragma once

#include <memory>
#include <string>

#include "host/messages.h"
#include "host/report_engine.h"
#include "host/ui/buttons.h"
#include "host/ui/combo_box.h"
#include "host/ui/containers.h"
#include "host/ui/form.h"
#include "host/ui/static_controls.h"

namespace host {

class TfrmDadosGerRel : public ui::Form {
 public:
  explicit TfrmDadosGerRel(std::string name = "frmDadosGerRel");

  ui::Panel* panNomeRel;
  ui::Label* lblNomeRel;
  ui::ComboBox* cbbNomeRel;
  ui::Panel* panBotoes;
  ui::SpeedButton* sbtPrint;
  ui::SpeedButton* sbtPreview;
  ui::SpeedButton* sbtSalvarComo;
  ui::SpeedButton* sbtFechar;
  ui::GroupBox* grbDadosRel;
  ui::Label* lblCodRel;
  TMessages* msgPadrao;
  std::unique_ptr<ReportEngine> rpddPadrao;

  virtual void FormCreate(ui::Form& sender);
  virtual void FormActivate(ui::Form& sender);
  virtual void FormClose(ui::Form& sender, ui::CloseAction& action);
  virtual void FormKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift);
  virtual void sbtPrintClick(ui::Component& sender);
  virtual void sbtPreviewClick(ui::Component& sender);
  // Saves under the title chosen in cbbNomeRel (the form's caption when none is chosen).
  virtual void sbtSalvarComoClick(ui::Component& sender);
  virtual void sbtFecharClick(ui::Component& sender);

 protected:
  void runReport(ReportOutput output, const std::string& title);
};

}  // namespace host
