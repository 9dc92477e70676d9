// The shift pages, the correction table and the cost per product of the main form.
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/layout_helpers.h"

namespace {

const char* const kShiftHistoryTitles[8] = {
    "Vr. Turno Domingo", "Vr. Turno Segunda", "Vr. Turno Terça",  "Vr. Turno Quarta",
    "Vr. Turno Quinta",  "Vr. Turno Sexta",   "Vr. Turno Sábado", "Vr. Turno Feriado"};

}  // namespace

using namespace layout;

void TfrmClientesServico::buildShiftPages() {
  panVigenciaTurno = tshTurno->add<ui::Panel>("panVigenciaTurno");
  panVigenciaTurno->setAlign(ui::Align::Top);
  panVigenciaTurno->setHeight(50);
  lblVigenciaTurno = label(panVigenciaTurno, "lblVigenciaTurno", "Início da Vigência", 8, 6, true);
  depVigenciaTurno = shownEdit<db::DBDateEdit>(panVigenciaTurno, "depVigenciaTurno", dtsTurno,
                                               "DTSERVCLIETURN", 8, 22, 100);
  Label17 = label(panVigenciaTurno, "Label17", "Data da Alteração", 130, 6, true);
  dbeDtAltTurno = shownEdit<db::DBEdit>(panVigenciaTurno, "dbeDtAltTurno", dtsTurno,
                                        "DTALTSERVCLIETURN", 130, 22, 140);
  dbgTurno = tshTurno->add<db::DBGrid>("dbgTurno");
  dbgTurno->setAlign(ui::Align::Client);
  dbgTurno->setDataSource(dtsTurno);
  gridOptions(dbgTurno, false);
  dbgTurno->setOption(db::GridOption::Editing, true);
  dbgTurno->setOption(db::GridOption::Tabs, true);
  dbgTurno->addColumn("CDTURNO").setTitle("Código");
  auto& name = dbgTurno->addColumn("NMTURNO");
  name.setTitle("Nome");
  name.setWidth(150);
  auto& description = dbgTurno->addColumn("DSEMISTURCLI");
  description.setTitle("Descrição para Emissão");
  description.setWidth(300);
  auto& value = dbgTurno->addColumn("VRSERVFATTUR");
  value.setTitle("Valor");
  value.setWidth(80);

  pnlExcTurno = tshExTurno->add<ui::Panel>("pnlExcTurno");
  pnlExcTurno->setAlign(ui::Align::Top);
  pnlExcTurno->setHeight(50);
  pnlExcTurno->setTabOrder(0);
  label(pnlExcTurno, "lblTurnoExc", "Turno", 8, 6, true);
  dbeCdTurno = shownEdit<db::DBEdit>(pnlExcTurno, "dbeCdTurno", dtsTurno, "CDTURNO", 8, 22, 30);
  dbeNmTurno = shownEdit<db::DBEdit>(pnlExcTurno, "dbeNmTurno", dtsTurno, "NMTURNO", 40, 22, 120);
  label(pnlExcTurno, "lblVigenciaExTurno", "Início da Vigência", 172, 6, true);
  depVigenciaExTurno = shownEdit<db::DBDateEdit>(pnlExcTurno, "depVigenciaExTurno", dtsTurno,
                                                 "DTSERVCLIETURN", 172, 22, 100);
  label(pnlExcTurno, "lblDtAltExTurno", "Data da Alteração", 284, 6, true);
  dbeDtAltExTurno = shownEdit<db::DBEdit>(pnlExcTurno, "dbeDtAltExTurno", dtsTurno,
                                          "DTALTSERVCLIETURN", 284, 22, 140);
  GroupBox1 = tshExTurno->add<ui::GroupBox>("GroupBox1");
  // The rows stand 24 pixels apart so that all eight fit below the shift panel.
  GroupBox1->setBounds(8, 56, 240, 240);
  GroupBox1->setTabOrder(1);
  label(GroupBox1, "lblDiaExTurno", "Dia", 8, 18, true);
  label(GroupBox1, "lblValorExTurno", "Valor do Serviço", 110, 18, true);
  Panel3 = tshExTurno->add<ui::Panel>("Panel3");
  Panel3->setBounds(256, 56, 250, 240);
  Panel3->setTabOrder(2);
  label(Panel3, "lblDescricaoExTurno", "Descrição para Emissão", 8, 18, true);
  std::array<db::DBEdit*, 8> values{};
  std::array<db::DBEdit*, 8> descriptions{};
  for (int day = 0; day < 8; ++day) {
    const int top = 38 + day * 24;
    const std::string suffix = kDaySuffixes[day];
    label(GroupBox1, std::string("lblDiaTurno") + suffix, kDayLabels[day], 8, top + 3, false);
    auto* edit =
        boundEdit<db::DBEdit>(GroupBox1, "dbeVrExc" + suffix, dtsTurno,
                              std::string("VRSVFATTU") + kFieldSuffixes[day], 110, top, 120);
    edit->setMaxLength(16);
    edit->setTabOrder(day);
    values[static_cast<size_t>(day)] = edit;
    auto* text =
        boundEdit<db::DBEdit>(Panel3, "dbeDsExc" + suffix, dtsTurno,
                              std::string("DSPREMISTU") + kFieldSuffixes[day], 8, top, 232);
    text->setMaxLength(16);
    text->setTabOrder(day);
    descriptions[static_cast<size_t>(day)] = text;
  }
  dbeVrExcDom = values[0];
  dbeVrExcSeg = values[1];
  dbeVrExcTer = values[2];
  dbeVrExcQua = values[3];
  dbeVrExcQui = values[4];
  dbeVrExcSex = values[5];
  dbeVrExcSab = values[6];
  dbeVrExcFer = values[7];
  dbeDsExcDom = descriptions[0];
  dbeDsExcSeg = descriptions[1];
  dbeDsExcTer = descriptions[2];
  dbeDsExcQua = descriptions[3];
  dbeDsExcQui = descriptions[4];
  dbeDsExcSex = descriptions[5];
  dbeDsExcSab = descriptions[6];
  dbeDsExcFer = descriptions[7];

  Panel5 = tshHistoricoTurno->add<ui::Panel>("Panel5");
  Panel5->setAlign(ui::Align::Top);
  Panel5->setHeight(50);
  label(Panel5, "lblTurnoHist", "Turno", 8, 6, true);
  dbeCdTurnoHist = shownEdit<db::DBEdit>(Panel5, "dbeCdTurnoHist", dtsTurno, "CDTURNO", 8, 22, 30);
  dbeNmTurnoHist =
      shownEdit<db::DBEdit>(Panel5, "dbeNmTurnoHist", dtsTurno, "NMTURNO", 40, 22, 120);
  dbgHistoricoTurno = tshHistoricoTurno->add<db::DBGrid>("dbgHistoricoTurno");
  dbgHistoricoTurno->setAlign(ui::Align::Client);
  dbgHistoricoTurno->setDataSource(dtsHistoricoTurno);
  gridOptions(dbgHistoricoTurno, false);
  dbgHistoricoTurno->addColumn("DTSERVCLIETURN").setTitle("Início da Vigência");
  dbgHistoricoTurno->addColumn("DTALTSERVCLIETURN").setTitle("Alteração");
  auto& shiftValue = dbgHistoricoTurno->addColumn("VRSERVFATTUR");
  shiftValue.setTitle("Valor do Turno");
  shiftValue.setWidth(100);
  for (int day = 0; day < 8; ++day) {
    auto& column = dbgHistoricoTurno->addColumn(std::string("VRSVFATTU") + kFieldSuffixes[day]);
    column.setTitle(kShiftHistoryTitles[day]);
    column.setWidth(100);
  }
}

void TfrmClientesServico::buildCorrectionPage() {
  auto* prices = tshTabCorr->add<ui::Panel>("panPrecoServico");
  prices->setAlign(ui::Align::Bottom);
  prices->setHeight(50);
  label(prices, "lblPrecoServico", "Preço do Serviço", 8, 6, true);
  dbePrecoServico =
      shownEdit<db::DBEdit>(prices, "dbePrecoServico", dtsPadrao, "VRSERVFATU", 8, 22, 130);
  label(prices, "lblVolumeProposto", "Volume Proposto", 150, 6, true);
  dbeVolumeProposto = shownEdit<db::DBEdit>(prices, "dbeVolumeProposto", dtsPadrao,
                                            "QTVOLPROSERVCLI", 150, 22, 130);
  dbgCorrPrecServ = tshTabCorr->add<db::DBGrid>("dbgCorrPrecServ");
  dbgCorrPrecServ->setAlign(ui::Align::Client);
  dbgCorrPrecServ->setColor("clInfoBk");
  dbgCorrPrecServ->setBackgroundColor(ui::colors::InfoBk);
  dbgCorrPrecServ->setDataSource(dtsCorrPrecServ);
  gridOptions(dbgCorrPrecServ, false);
  dbgCorrPrecServ->setOption(db::GridOption::Editing, true);
  dbgCorrPrecServ->setOption(db::GridOption::ColumnResize, true);
  dbgCorrPrecServ->setOption(db::GridOption::Tabs, true);
  for (const char* field : {"VRPEINICSERV", "VRPEFIMSERV", "VRPECORRSERV", "QTINISERV", "QTFINSERV",
                            "VRNOVOPRECOSERV"}) {
    auto& column = dbgCorrPrecServ->addColumn(field);
    column.setTitleAlignment(ui::TextAlign::Right);
    if (std::string(field).rfind("VRPE", 0) == 0)
      column.setWidth(125);
  }
}

void TfrmClientesServico::buildCostPage() {
  grbCustProd = tshCustoProd->add<ui::GroupBox>("grbCustProd");
  grbCustProd->setBounds(8, 8, 430, 120);
  label(grbCustProd, "lblProduto", "Produto", 8, 20, true);
  dbeCdProduto =
      boundEdit<db::DBEdit>(grbCustProd, "dbeCdProduto", dtsPadrao, "CDARVPROD", 8, 36, 100);
  dbeCdProduto->setTabOrder(0);
  btpProduto = grbCustProd->add<host::TBtnPesquisa>("btpProduto");
  btpProduto->setBounds(110, 36, 21, 21);
  btpProduto->setHint("Pesquisar");
  btpProduto->setShowHint(true);
  btpProduto->setAssociated(dbeCdProduto);
  btpProduto->setTitle("Produto");
  btpProduto->setDataSource(dtsProduto);
  btpProduto->setOption(host::TBtnPesquisa::PesqNivCompleto, true);
  btpProduto->setOption(host::TBtnPesquisa::PesqChave, true);
  btpProduto->setEmptyMessage("Não há produto cadastrado.");
  dbeNmProd = shownEdit<db::DBEdit>(grbCustProd, "dbeNmProd", dtsPadrao, "NMPRODUTO", 134, 36, 280);
  dbeNmProd->setColor("clBtnFace");
  label(grbCustProd, "lblAcresc", "% Acréscimo", 8, 66, true);
  dbeAcresc = boundEdit<db::DBEdit>(grbCustProd, "dbeAcresc", dtsPadrao, "VRTAXAPRVAR", 8, 82, 100);
  dbeAcresc->setMaxLength(10);
  dbeAcresc->setTabOrder(1);
  label(grbCustProd, "lblTipoCusto", "Tipo Custo", 120, 66, true);
  cbbTipoCusto = grbCustProd->add<ui::ComboBox>("cbbTipoCusto");
  cbbTipoCusto->setBounds(120, 82, 293, 21);
  cbbTipoCusto->setTabOrder(2);
}
