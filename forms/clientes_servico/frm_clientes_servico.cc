// Construction and life cycle of the main form: creation, showing, activation, F12, the
// connections and closing.
#include "forms/clientes_servico/frm_clientes_servico.h"

#include "forms/clientes_servico/cli_zev00600.h"
#include "host/consiste.h"
#include "host/lib00500.h"
#include "host/quendra.h"
#include "host/showavi.h"
#include "host/ui/application.h"

using namespace Cli_zev00600;

TfrmClientesServico::TfrmClientesServico()
    : host::TfrmPadraoSimples("frmClientesServico"),
      data::ClientesServicoData(static_cast<ui::Form&>(*this)) {
  netClientesServico_ = std::make_unique<host::TNetConnection>("rdmClientesServico");
  netCustProd_ = std::make_unique<host::TNetConnection>("rdmCustProd");
  netClientesServico = netClientesServico_.get();
  netCustProd = netCustProd_.get();
  dtsPadrao->setDataSet(cdsServClie);
  buildFrame();
  buildFilter();
  buildClientLists();
  buildPages();
  bindHandlers();
}

TfrmClientesServico::~TfrmClientesServico() = default;

std::array<db::DBEdit*, 8> TfrmClientesServico::vrServEdits() const {
  return {dbeVrServDom, dbeVrServSeg, dbeVrServTer, dbeVrServQua,
          dbeVrServQui, dbeVrServSex, dbeVrServSab, dbeVrServFer};
}

std::array<db::DBEdit*, 8> TfrmClientesServico::minEfetEdits() const {
  return {dbeMinEfetDom, dbeMinEfetSeg, dbeMinEfetTer, dbeMinEfetQua,
          dbeMinEfetQui, dbeMinEfetSex, dbeMinEfetSab, dbeMinEfetFer};
}

std::array<db::DBEdit*, 8> TfrmClientesServico::vrExcEdits() const {
  return {dbeVrExcDom, dbeVrExcSeg, dbeVrExcTer, dbeVrExcQua,
          dbeVrExcQui, dbeVrExcSex, dbeVrExcSab, dbeVrExcFer};
}

void TfrmClientesServico::FormCreate(ui::Form& sender) {
  host::TfrmPadraoSimples::FormCreate(sender);
  Showavi::ActiveShowAvi(ui::application().mainForm(), 0);
  unit().boData = true;
  netClientesServico->connect();
  cdsServClieCDARVPROD->setEditMask(Quendra::DBPict(0));
  qryProdutoCDARVPROD->setEditMask(Quendra::DBPict(0));
  cdsHistServFatuDTSRVFATUHIS->setEditMask(Consiste::DateMask());
  netCustProd->connect();
  cbbTipoCusto->setItems(Lib00500::ListaTipoCusto(*netCustProd, nullptr));
  Showavi::DeactiveShowAvi();
  unit().ParamControl = std::make_unique<Controlmenu::TParamControl>();
  unit().ParamControl->StartParamFat();
  const int saleColumn = Consiste::IndiceCol(*dbgPadrao, "IDEXVLRVENDA");
  if (Geral::ModuloAtiv() == 36) {
    auto& column = dbgPadrao->column(saleColumn);
    column.addPickItem(msgPadrao->Msg("VrNSub"));
    column.addPickItem(msgPadrao->Msg("VrSub"));
    column.addPickItem(msgPadrao->Msg("VrTot"));
  } else {
    dbgPadrao->removeColumn(saleColumn);
    cdsServClieIDEXVLRVENDA->setVisible(false);
  }
  cdsHistServFatuDTSRVFATUHIS->setTag(1);
  cdsTurnoCDTURNO->setTag(1);
  cdsTurnoNMTURNO->setTag(1);
  dbgTurno->column(0).setReadOnly(true);
  dbgTurno->column(1).setReadOnly(true);
  pgcValorServ->setActivePage(tshHistorico);
}

void TfrmClientesServico::FormShow(ui::Form&) {
  const bool branchFree = !Quendra::ModuFili();
  lblFilial->setEnabled(branchFree);
  medCdFilial->setEnabled(branchFree);
  btpFilial->setEnabled(branchFree);
  const int module = Geral::ModuloAtiv();
  if (module == 14 || module == 15 || module == 16) {
    medCdFilial->setText(Quendra::FiliProcFat());
    edtNmFilial->setText(Quendra::NomeFiliProcFat());
  } else {
    medCdFilial->setText(Quendra::FiliProc());
    edtNmFilial->setText(Quendra::NomeFiliProc());
  }
}

void TfrmClientesServico::FormActivate(ui::Form&) {
  repaint();
  auto& screen = ui::application().screen();
  if (screen.width() == 640 && screen.height() == 480) {
    setWindowState(ui::WindowState::Maximized);
  }
}

void TfrmClientesServico::FormKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift) {
  host::TfrmPadraoSimples::FormKeyDown(sender, key, shift);
  if (key != ui::keys::F12 || !shift.none() || cdsServClie->isEditing())
    return;
  if (medCdFilial->canFocus()) {
    medCdFilial->setFocus();
  } else {
    medCdServico->setFocus();
  }
}

void TfrmClientesServico::netClientesServicoBeforeConnect(host::TNetConnection& sender) {
  sender.setHost(Quendra::WebURL());
  sender.setPort(Quendra::WebPort());
}

void TfrmClientesServico::netCustProdBeforeConnect(host::TNetConnection& sender) {
  sender.setHost(Quendra::WebURL());
  sender.setPort(Quendra::WebPort());
}

void TfrmClientesServico::FormClose(ui::Form& sender, ui::CloseAction& action) {
  unit().ParamControl.reset();
  host::TfrmPadraoSimples::FormClose(sender, action);
  netClientesServico->disconnect();
  netCustProd->disconnect();
  unit().boStCriado = false;
}
