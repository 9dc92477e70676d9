#include "forms/dialogs/frm_dt_validade.h"

#include <cmath>
#include <exception>
#include <string>
#include <vector>

#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/dialogs/cli_zev00602.h"
#include "forms/layout_helpers.h"
#include "host/consiste.h"
#include "host/quendra.h"
#include "host/server_call.h"
#include "host/ui/application.h"
#include "host/ui/errors.h"

using namespace Cli_zev00602;

namespace {

TfrmClientesServico& mainForm() {
  if (Cli_zev00600::unit().frmClientesServico == nullptr)
    throw ui::UiError("O formulário Clientes por Serviço não está aberto.");
  return *Cli_zev00600::unit().frmClientesServico;
}

}  // namespace

TfrmDtValidade::TfrmDtValidade()
    : host::TfrmRotiGeral("frmDtValidade"), data::DtValidadeData(static_cast<ui::Form&>(*this)) {
  buildLayout();
  depDataIni->onExit = [this](ui::Control& sender) { depDataIniExit(sender); };
}

TfrmDtValidade::~TfrmDtValidade() {
  if (unit().frmDtValidade == this)
    unit().frmDtValidade = nullptr;
}

void TfrmDtValidade::buildLayout() {
  setCaption("Cadastramento Validade");
  setBorderStyle(ui::BorderStyle::Sizeable);
  setBounds(0, 0, 605, 326);
  lblCodTela->setCaption("ZEV00602");
  msgPadrao->setLines({
      "DataIni_ni|Data início de validade deve ser informada.",
      "Valor_ni|Valor de serviço deve ser informado.",
      "Valor_<>0|Valor deve ser maior que zero.",
      "Data_Inf|Data inválida!",
      "Vigencia|Data de vigência menor que a última data de vigência cadastrada. Confirma a "
      "operação?",
  });

  lblDtValidade = layout::label(grbDadosRel, "lblDtValidade", "Início de Vigência", 8, 16);
  depDataIni = grbDadosRel->add<ui::DateEdit>("depDataIni");
  depDataIni->setBounds(8, 32, 100, 21);
  depDataIni->setTabOrder(0);
  depDataIni->setWeekdayNames(
      {"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"});
  lblDtValidade->setFocusControl(depDataIni);

  lblVrServico = layout::label(grbDadosRel, "lblVrServico", "Valor Serviço", 130, 16);
  nedVrSevico = grbDadosRel->add<ui::NumberEdit>("nedVrSevico");
  nedVrSevico->setBounds(130, 32, 120, 21);
  nedVrSevico->setTabOrder(1);
  nedVrSevico->setDecimals(5);
  nedVrSevico->setThousands(true);
  lblVrServico->setFocusControl(nedVrSevico);

  lblMotivo = layout::label(grbDadosRel, "lblMotivo", "Motivo", 8, 62);
  memMotivo = grbDadosRel->add<ui::Memo>("memMotivo");
  memMotivo->setBounds(8, 78, 540, 200);
  memMotivo->setTabOrder(2);
  memMotivo->setMaxLength(4000);
  memMotivo->setVerticalScrollBar(true);
  lblMotivo->setFocusControl(memMotivo);
}

void TfrmDtValidade::FormCreate(ui::Form& sender) {
  host::TfrmRotiGeral::FormCreate(sender);
  TfrmClientesServico& main = mainForm();
  if (unit().stIdValor == "S") {
    setCaption("Replicação dos Valores de Serviços");
    cdsDtReplicaValor->loadPacket(host::callServer(*main.netClientesServico, "GetDtReplicaValor",
                                                   {unit().stCdFilial, unit().stCdServico}));
  } else {
    setCaption("Cadastramento Validade");
    nedVrSevico->setValue(main.cdsServClieVRSERVFATU->asFloat());
  }
  const bool withReason = unit().stIdMotivo == "S";
  if (withReason) {
    setWidth(605);
  } else {
    setHeight(119);
    setWidth(400);
  }
  lblMotivo->setVisible(withReason);
  memMotivo->setVisible(withReason);
  boCancelado = true;
}

void TfrmDtValidade::FormActivate(ui::Form& /*sender*/) {
  repaint();
}

void TfrmDtValidade::FormClose(ui::Form& sender, ui::CloseAction& action) {
  host::TfrmRotiGeral::FormClose(sender, action);
  // Every call builds a fresh dialog for its own mode, so a closed one goes away.
  action = ui::CloseAction::Free;
  unit().boStCriado = false;
}

void TfrmDtValidade::depDataIniExit(ui::Control& /*sender*/) {
  if (!depDataIni->isEmpty())
    depDataIni->checkValidDate();
}

void TfrmDtValidade::checkDate() {
  try {
    depDataIni->checkValidDate();
  } catch (const ui::UiError&) {
    depDataIni->setFocus();
    throw;
  }
}

double TfrmDtValidade::typedValue() {
  try {
    return nedVrSevico->value();
  } catch (const ui::UiError& error) {
    nedVrSevico->setFocus();
    Consiste::MensErro(error.what(), true);
  }
  return 0;
}

void TfrmDtValidade::ValidaData() {
  TfrmClientesServico& main = mainForm();
  // A failed lookup is reported rather than read as "no stored date", which would let an
  // earlier start through without the question.
  cdsMaiorVigencia->loadPacket(
      host::callServer(*main.netClientesServico, "GetMaiorVigencia",
                       {unit().stCdFilial, unit().stCdCliente, unit().stCdServico}));
  if (depDataIni->isEmpty())
    return;
  checkDate();
  const double latest =
      cdsMaiorVigencia->isEmpty() ? 0 : std::floor(cdsMaiorVigenciaDTSRVFATUHIS->asDateTime());
  if (depDataIni->date() >= latest)
    return;
  if (msgPadrao->ShowMsg("Vigencia", ui::MessageKind::Confirmation, ui::MessageButtons::YesNo) !=
      ui::mrYes) {
    depDataIni->setFocus();
    throw ui::Abort();
  }
}

void TfrmDtValidade::sbtConfirmaClick(ui::Component& /*sender*/) {
  if (!depDataIni->isEmpty())
    checkDate();
  // An empty date is asked for by name; "Data inválida!" is kept for a date before 1900.
  if (depDataIni->isEmpty()) {
    depDataIni->setFocus();
    Consiste::MensErro(msgPadrao->Msg("DataIni_ni"), true);
  }
  if (depDataIni->date() < 2) {
    depDataIni->setFocus();
    Consiste::MensErro(msgPadrao->Msg("Data_Inf"), true);
  }
  ValidaData();
  if (Consiste::EmptyString(nedVrSevico->text())) {
    nedVrSevico->setFocus();
    Consiste::MensErro(msgPadrao->Msg("Valor_ni"), true);
  }
  const double typed = typedValue();
  if (!(typed > 0)) {
    nedVrSevico->setFocus();
    Consiste::MensErro(msgPadrao->Msg("Valor_<>0"), true);
  }
  const double value = Consiste::RoundDec(typed, 5);

  TfrmClientesServico& main = mainForm();
  main.vrServicoConfirmado = value;
  const bool replication = unit().stIdValor == "S";
  if (replication) {
    unit().stCdCliente.clear();
  } else {
    main.cdsServClieVRSERVFATU->setAsFloat(value);
    main.cdsServClieDTSERVFATU->setAsDateTime(depDataIni->date());
  }
  if (unit().boAtualizaHistorico)
    recordOnServer(value);
  if (replication) {
    // The server has taken the value for every client: the dialog closes as confirmed even
    // when the reload fails, so that a second confirmation cannot replicate it twice.
    try {
      main.sbtVerificarClick(*main.sbtVerificar);
    } catch (...) {
      finishConfirmation();
      throw;
    }
  }
  finishConfirmation();
}

void TfrmDtValidade::recordOnServer(double value) {
  TfrmClientesServico& main = mainForm();
  std::vector<packet::Arg> args = {
      packet::Arg(unit().stCdFilial),
      packet::Arg(unit().stCdServico),
      packet::Arg(unit().stCdCliente),
      packet::Arg(packet::DateArg{depDataIni->date()}),
      packet::Arg(value),
      packet::Arg(memMotivo->text()),
  };
  for (const db::Field* day : main.cdsServClieVRSERVFAT)
    args.emplace_back(Consiste::RoundDec(day->asFloat(), 5));
  args.emplace_back(Quendra::Operador());
  host::callServer(*main.netClientesServico, "AlterarVrServico", std::move(args));
}

void TfrmDtValidade::finishConfirmation() {
  boCancelado = false;
  Cli_zev00602::unit().boCancelado = false;
  host::TfrmRotiGeral::sbtConfirmaClick(*sbtConfirma);
  mainForm().repaint();
}

namespace Cli_zev00602 {

void CriaDataAtua(const std::string& idValor, const std::string& idMotivo,
                  const std::string& cdFilial, const std::string& cdCliente,
                  const std::string& cdServico, bool atualizaHistorico) {
  auto& app = ui::application();
  app.screen().setCursor(ui::Cursor::HourGlass);
  UnitState& dialog = unit();
  dialog.stIdValor = idValor;
  dialog.stIdMotivo = idMotivo;
  dialog.stCdFilial = cdFilial;
  dialog.stCdCliente = cdCliente;
  dialog.stCdServico = cdServico;
  dialog.boAtualizaHistorico = atualizaHistorico;
  dialog.boCancelado = true;
  try {
    if (!dialog.boStCriado) {
      dialog.frmDtValidade = app.createForm<TfrmDtValidade>();
      dialog.boStCriado = true;
    }
    dialog.frmDtValidade->showModal();
  } catch (...) {
    // A dialog that failed to open or to run is not reused: the next call builds a fresh one.
    if (dialog.boStCriado && dialog.frmDtValidade != nullptr) {
      dialog.frmDtValidade->release();
      dialog.boStCriado = false;
    }
    app.screen().setCursor(ui::Cursor::Default);
    throw;
  }
  app.screen().setCursor(ui::Cursor::Default);
}

}  // namespace Cli_zev00602
