// The page controls of the main form: the client-service grid, the service history and the
// weekday exceptions.
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/layout_helpers.h"

namespace {

db::DBEdit* dayEdit(ui::Control* parent, const std::string& name, db::DataSource* source,
                    const std::string& field, int left, int top, int width, int tabOrder) {
  auto* edit = layout::boundEdit<db::DBEdit>(parent, name, source, field, left, top, width);
  edit->setMaxLength(16);
  edit->setTabOrder(tabOrder);
  return edit;
}

}  // namespace

using namespace layout;

void TfrmClientesServico::buildPages() {
  pgcClientesServico = panClienFilial->add<ui::PageControl>("pgcClientesServico");
  pgcClientesServico->setAlign(ui::Align::Client);
  tshClienServ = pgcClientesServico->addPage("tshClienServ", "Clientes por Serviço");
  tshValorServ = pgcClientesServico->addPage("tshValorServ", "Valor do Serviço");
  tshTabCorr = pgcClientesServico->addPage("tshTabCorr", "Tabela de Correção");
  tshCustoProd = pgcClientesServico->addPage("tshCustoProd", "Custo por Produto");

  pgcValorServ = tshValorServ->add<ui::PageControl>("pgcValorServ");
  pgcValorServ->setAlign(ui::Align::Client);
  tshHistorico = pgcValorServ->addPage("tshHistorico", "Histórico do Serviço");
  tshExcecao = pgcValorServ->addPage("tshExcecao", "Exceções por Dia");
  tshTurno = pgcValorServ->addPage("tshTurno", "Turno");
  tshExTurno = pgcValorServ->addPage("tshExTurno", "Exceções por Turno");
  tshHistoricoTurno = pgcValorServ->addPage("tshHistoricoTurno", "Histórico do Turno");
  pgcValorServ->setActivePage(tshHistorico);
  pgcClientesServico->setActivePage(tshClienServ);

  buildClientGrid();
  buildValuePages();
  buildShiftPages();
  buildCorrectionPage();
  buildCostPage();
}

void TfrmClientesServico::buildClientGrid() {
  dbgPadrao = tshClienServ->add<db::DBGrid>("dbgPadrao");
  dbgPadrao->setAlign(ui::Align::Client);
  dbgPadrao->setColor("clInfoBk");
  dbgPadrao->setBackgroundColor(ui::colors::InfoBk);
  dbgPadrao->setDataSource(dtsPadrao);
  gridOptions(dbgPadrao, true);
  dbgPadrao->setOption(db::GridOption::ColumnResize, true);
  dbgPadrao->setOption(db::GridOption::Tabs, true);
  dbgPadrao->addColumn("NMRAZSOCCLIE").setWidth(177);
  dbgPadrao->column(0).setReadOnly(true);
  dbgPadrao->addColumn("NRINSJURCLIE").setReadOnly(true);
  dbgPadrao->addColumn("IDEXVLRVENDA").setWidth(103);
  auto& value = dbgPadrao->addColumn("VRSERVFATU");
  value.setTitleAlignment(ui::TextAlign::Right);
  value.setWidth(72);
  auto& staff = dbgPadrao->addColumn("QTEFETMINI");
  staff.setTitleAlignment(ui::TextAlign::Right);
  staff.setWidth(112);
  dbgPadrao->addColumn("QTVOLPROSERVCLI");
  dbgPadrao->addColumn("IDATIVATABCOR");
  auto& description = dbgPadrao->addColumn("DSEMISSERCLI");
  description.setTitle("Descrição para Emissão");
  description.setWidth(320);
  dbgPadrao->addColumn("IDVRPRFIXAUT").setWidth(132);
}

void TfrmClientesServico::buildValuePages() {
  dbgHistorico = tshHistorico->add<db::DBGrid>("dbgHistorico");
  dbgHistorico->setAlign(ui::Align::Client);
  dbgHistorico->setDataSource(dtsHistServFatu);
  gridOptions(dbgHistorico, false);
  dbgHistorico->addColumn("DTSRVFATUHIS").setTitle("Início de Vigência");
  dbgHistorico->addColumn("DTALTEFATHIS").setTitle("Alteração");
  auto historyColumn = [&](const char* field, const char* title, int width) {
    auto& column = dbgHistorico->addColumn(field);
    column.setTitle(title);
    column.setWidth(width);
  };
  historyColumn("VRSERVFATHIS", "Valor do Serviço", 84);
  historyColumn("VRFATUDOMHIS", "Vr.Serv.Domingo", 86);
  historyColumn("VRFATUSEGHIS", "Vr.Serv.Segunda", 87);
  historyColumn("VRFATUTERHIS", "Vr.Serv.Terça", 76);
  historyColumn("VRFATUQUAHIS", "Vr.Serv.Quarta", 78);
  historyColumn("VRFATUQUIHIS", "Vr.Serv.Quinta", 76);
  historyColumn("VRFATUSEXHIS", "Vr.Serv.Sexta", 72);
  historyColumn("VRFATUSABHIS", "Vr.Serv.Sábado", 84);
  historyColumn("VRFATUFERHIS", "Vr.Serv.Feriados", 85);

  grbExcDia = tshExcecao->add<ui::GroupBox>("grbExcDia");
  grbExcDia->setBounds(8, 8, 240, 262);
  grbExcDia->setTabOrder(0);
  label(grbExcDia, "lblDia", "Dia", 8, 18, true);
  label(grbExcDia, "lblValorServicoDia", "Valor do Serviço", 110, 18, true);
  GroupBox2 = tshExcecao->add<ui::GroupBox>("GroupBox2");
  GroupBox2->setBounds(256, 8, 250, 262);
  GroupBox2->setTabOrder(1);
  label(GroupBox2, "lblDescricaoDia", "Descrição para Emissão", 8, 18, true);
  panMinEfet = tshExcecao->add<ui::Panel>("panMinEfet");
  panMinEfet->setBounds(514, 8, 170, 262);
  panMinEfet->setTabOrder(2);
  panMinEfet->setVisible(false);
  label(panMinEfet, "lblMinEfet", "Mínino Efetivos", 8, 18, true);

  std::array<db::DBEdit*, 8> values{};
  std::array<db::DBEdit*, 8> descriptions{};
  std::array<db::DBEdit*, 8> staff{};
  for (int day = 0; day < 8; ++day) {
    const int top = 38 + day * 27;
    const std::string suffix = kDaySuffixes[day];
    const std::string field = kFieldSuffixes[day];
    label(grbExcDia, "lblDiaExc" + suffix, kDayLabels[day], 8, top + 3, false);
    values[static_cast<size_t>(day)] = dayEdit(grbExcDia, "dbeVrServ" + suffix, dtsPadrao,
                                               "VRSERVFAT" + field, 110, top, 120, day);
    descriptions[static_cast<size_t>(day)] =
        dayEdit(GroupBox2, "dbeDsServ" + suffix, dtsPadrao, "DSPRODEMIS" + field, 8, top, 232, day);
    staff[static_cast<size_t>(day)] = dayEdit(panMinEfet, "dbeMinEfet" + suffix, dtsPadrao,
                                              "QTEFETMIN" + field, 8, top, 150, day);
  }
  dbeVrServDom = values[0];
  dbeVrServSeg = values[1];
  dbeVrServTer = values[2];
  dbeVrServQua = values[3];
  dbeVrServQui = values[4];
  dbeVrServSex = values[5];
  dbeVrServSab = values[6];
  dbeVrServFer = values[7];
  dbeDsServDom = descriptions[0];
  dbeDsServSeg = descriptions[1];
  dbeDsServTer = descriptions[2];
  dbeDsServQua = descriptions[3];
  dbeDsServQui = descriptions[4];
  dbeDsServSex = descriptions[5];
  dbeDsServSab = descriptions[6];
  dbeDsServFer = descriptions[7];
  dbeMinEfetDom = staff[0];
  dbeMinEfetSeg = staff[1];
  dbeMinEfetTer = staff[2];
  dbeMinEfetQua = staff[3];
  dbeMinEfetQui = staff[4];
  dbeMinEfetSex = staff[5];
  dbeMinEfetSab = staff[6];
  dbeMinEfetFer = staff[7];
}
