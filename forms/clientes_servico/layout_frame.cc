// The frame of the main form: its window, toolbar and menus, the filter and the client lists.
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/layout_helpers.h"

namespace {

ui::SpeedButton* movingButton(ui::Control* parent, const std::string& name, int top,
                              const std::string& glyph, const std::string& hint) {
  auto* button = parent->add<ui::SpeedButton>(name);
  button->setBounds(3, top, 22, 25);
  button->setFlat(true);
  button->setGlyph(glyph);
  button->setHint(hint);
  button->setShowHint(true);
  button->setEnabled(false);
  return button;
}

}  // namespace

void TfrmClientesServico::buildFrame() {
  setCaption("Clientes por Serviço");
  setBounds(329, 100, 1030, 567);
  setFormStyle(ui::FormStyle::MdiChild);
  setHelpContext(13300600);
  setHelpFile("ZevHelp.hlp");
  lblCodTela->setCaption("ZEV00600");
  lblCodTela->setTop(177);
  lblCodTela->setAutoSize(false);

  panMenu->setWidth(1014);
  for (ui::SpeedButton* button : {sbtConfirmar, sbtCancelar, sbtIncluir, sbtAlterar, sbtExcluir,
                                  sbtProcurar, sbtVerificar, sbtImprimir}) {
    button->setEnabled(false);
  }
  sbtAjuda->setLeft(239);
  sbtFechar->setLeft(274);
  dbtNome->setLeft(304);
  sbtVrServico = panMenu->add<ui::SpeedButton>("sbtVrServico");
  sbtVrServico->setBounds(208, 4, 21, 21);
  sbtVrServico->setFlat(true);
  sbtVrServico->setEnabled(false);
  sbtVrServico->setGlyph("replicar");
  sbtVrServico->setHint("Replicação dos Valores de Serviços");
  sbtVrServico->setShowHint(true);

  for (ui::MenuItem* item : mnuManutencao->items())
    item->setEnabled(false);
  N2 = mnuManutencao->add(this, "N2", "-");
  mnuVrServico = mnuManutencao->add(this, "mnuVrServico", "&Replicação dos Valores de Serviços");
  mnuVrServico->setEnabled(false);

  mnuClienServ = mnuOperacao->add(this, "mnuClienServ", "Clientes por &Serviço", mnuListagem);
  mnuClienServ->setChecked(true);
  mnuTabCorr = mnuOperacao->add(this, "mnuTabCorr", "&Tabela de Correção", mnuListagem);
  mnuCusProd = mnuOperacao->add(this, "mnuCusProd", "Custo por &Produto", mnuListagem);
  mnuValorServ = mnuOperacao->add(this, "mnuValorServ", "&Valor do Serviço", mnuListagem);
  mnuHistServ = mnuValorServ->add(this, "mnuHistServ", "&Histórico do Serviço");
  mnuExcDia = mnuValorServ->add(this, "mnuExcDia", "&Exceções por Dia");
  mnuTurno = mnuValorServ->add(this, "mnuTurno", "T&urno");
  mnuExTurno = mnuValorServ->add(this, "mnuExTurno", "E&xceções por Turno");
  mnuHistoricoTurno = mnuValorServ->add(this, "mnuHistoricoTurno", "H&istórico do Turno");
  N1 = mnuOperacao->add(this, "N1", "-", mnuListagem);
  mnuListagem->setEnabled(false);
  mnuConfigImpressora->setEnabled(false);

  msgPadrao->setLines({
      "Filial_vazia|Filial deve ser informada.",
      "Filial_n_cad|Filial não cadastrada.",
      "Cliente|Cliente deve ser informado.",
      "Clien_Princ|Cliente principal não pode ser alterado.",
      "Valor_Inv|Valor inválido.",
      "Del_Clien_Princ|Cliente principal não pode ser excluído.",
      "Perc_invalido|Percentual inválido.",
      "Servico_vazio|Serviço deve ser informado.",
      "Servico_n_cad|Serviço não cadastrado.",
      "Serv_n_cad|Serviço não cadastrado.",
      "VrServ_menor_zero|Valor do serviço deve ser maior ou igual a zero.",
      "VrMinEfet_menor_zero|Mínimo efetivos deve ser maior ou igual a zero.",
      "Perc_menor_zero|% Acréscimo deve ser maior ou igual a zero.",
      "Prod_n_cad|Produto não cadastrado.",
      "VrServ_inv|Valor serviço deve ser maior ou igual a zero.",
      "QtEfetMin_inv|%s deve ser maior ou igual a zero.",
      "VrIni_maior|Intervalo inicial (exc.) deve ser menor que 100%.",
      "VrIni_menor|Intervalo inicial (exc.) deve ser maior ou igual a zero.",
      "VrFin_maior|Intervalo final (inc.) deve ser menor que 100%.",
      "VrFin_menor|Intervalo final (inc.) deve ser maior ou igual a zero.",
      "VrFin_menor_VrIni|Intervalo final (inc.) deve ser maior que o intervalo inicial (exc.).",
      "VrCorr_maior|Percentual de correção deve ser menor que 100%.",
      "VrCorr_menor|Percentual de correção deve ser maior ou igual a zero.",
      "VrIni_vazio|Intervalo inicial (exc.) deve ser informado.",
      "VrFin_vazio|Intervalo final (inc.) deve ser informado.",
      "VrCorr_vazio|Percentual de correção deve ser informado.",
      "VrFin_Inv|Intervalo final (inc.) inválido.",
      "MinEfetDia|Mín. Efetivos Dia",
      "MinEfetPer|Mín. Efetivos Período",
      "VrServ_inf|Valor serviço deve ser informado.",
      "QtEfetMin_inf|%s deve ser informado.",
      "VrServico_inv|Valor serviço deve ser maior ou igual a zero.",
      "VrServico_inf|Valor do serviço deve ser informado.",
      "VrServ_men_zero|Valor do serviço deve ser maior ou igual a zero.",
      "VrMinEfet_inf|Mínimo efetivos deve ser informado.",
      "VrMinEfet_men_zero|Mínimo efetivos deve ser maior ou igual a zero.",
      "Perc_maior|% Acréscimo deve ser menor ou igual a 100%.",
      "Mín. Efetivos Período|Mín. efetivos período",
      "Mín. Efetivos Dia|Mín. efetivos dia",
      "VrNSub|Valor não Subsidiado",
      "VrSub|Valor Subsidiado",
      "VrTot|Valor Total",
      "get_cdsClientesFilial|Carregando clientes por filial...",
      "get_cdsProduto|Carregando produtos...",
      "get_cdsCorrPrecServ|Carregando tabela de correção para preços...",
      "get_cdsServClie|Carregando clientes por serviços...",
      "get_cdsIntervMaior|Verificando intervalos da tabela de correção...",
      "pro_UpVrPrFixAut|Atualizando valor do preço fixo...",
      "upd_cdsCorrPrecServ|Atualizando tabela de correção para preços...",
      "upd_cdsServClie|Atualizando clientes por serviço...",
      "upd_cdsHistServFatu|Atualizando histórico do serviço...",
      "get_cdsHistServFatu|Carregando histórico do serviço...",
      "Get_Turno|Carregando valores do serviço por cliente e turno.",
      "Get_ExcTurno|Carregando exceções do serviço por cliente e turno.",
      "Turno_NCad_Inf|Turno não cadastrado para o serviço informado.",
      "Volume_inv|Volume proposto deve ser maior ou igual a zero.",
      "VrIni_cad_exist|Intervalo inicial (exc.) informado abrange intervalo já cadastrado.",
      "VrFin_cad_exist|Intervalo final (inc.) informado abrange intervalo já cadastrado.",
      "Volume_inf|Volume proposto deve ser informado.",
      "VIGENCIATURNO_N_INF|Data de início da vigência do turno deve ser informada.",
  });
}

void TfrmClientesServico::buildFilter() {
  panFiltro = add<ui::Panel>("panFiltro");
  panFiltro->setAlign(ui::Align::Top);
  panFiltro->setHeight(55);
  panFiltro->setTabOrder(1);

  lblFilial = layout::label(panFiltro, "lblFilial", "Filial", 8, 8);
  medCdFilial = panFiltro->add<ui::MaskEdit>("medCdFilial");
  medCdFilial->setBounds(8, 24, 45, 21);
  medCdFilial->setEditMask(">aaaa;0; ");
  medCdFilial->setMaxLength(4);
  medCdFilial->setColor("clInfoBk");
  medCdFilial->setTabOrder(0);
  lblFilial->setFocusControl(medCdFilial);
  btpFilial = panFiltro->add<host::TBtnPesquisa>("btpFilial");
  btpFilial->setBounds(55, 24, 21, 21);
  btpFilial->setHint("Pesquisar");
  btpFilial->setShowHint(true);
  btpFilial->setAssociated(medCdFilial);
  btpFilial->setTitle("Filial");
  btpFilial->setDataSource(dtsFilial);
  btpFilial->setEmptyMessage("Não há filial cadastrada.");
  edtNmFilial = panFiltro->add<ui::Edit>("edtNmFilial");
  edtNmFilial->setBounds(80, 24, 250, 21);
  edtNmFilial->setEnabled(false);
  edtNmFilial->setTabStop(false);

  lblServico = layout::label(panFiltro, "lblServico", "Serviço", 348, 8);
  medCdServico = panFiltro->add<ui::MaskEdit>("medCdServico");
  medCdServico->setBounds(348, 24, 52, 21);
  medCdServico->setEditMask("ccccc;0; ");
  medCdServico->setMaxLength(5);
  medCdServico->setColor("clInfoBk");
  medCdServico->setTabOrder(1);
  lblServico->setFocusControl(medCdServico);
  btpServico = panFiltro->add<host::TBtnPesquisa>("btpServico");
  btpServico->setBounds(402, 24, 21, 21);
  btpServico->setHint("Pesquisar");
  btpServico->setShowHint(true);
  btpServico->setAssociated(medCdServico);
  btpServico->setTitle("Serviço");
  btpServico->setDataSource(dtsServico);
  btpServico->setEmptyMessage("Não há serviço cadastrado para a filial informada.");
  edtNmServico = panFiltro->add<ui::Edit>("edtNmServico");
  edtNmServico->setBounds(427, 24, 250, 21);
  edtNmServico->setEnabled(false);
  edtNmServico->setTabStop(false);
}

void TfrmClientesServico::buildClientLists() {
  panDbgPadrao = add<ui::Panel>("panDbgPadrao");
  panDbgPadrao->setAlign(ui::Align::Client);
  panDbgPadrao->setBevels(ui::Bevel::Lowered, ui::Bevel::Raised);
  panDbgPadrao->setBorderWidth(3);
  panDbgPadrao->setTabOrder(2);
  ScrollBox1 = panDbgPadrao->add<ui::ScrollBox>("ScrollBox1");
  ScrollBox1->setAlign(ui::Align::Client);
  ScrollBox1->setBorderless(true);

  panCaption = ScrollBox1->add<ui::Panel>("panCaption");
  panCaption->setAlign(ui::Align::Top);
  panCaption->setHeight(19);
  lblClientes = layout::label(panCaption, "lblClientes", "Clientes por Filial", 4, 3);

  pan = ScrollBox1->add<ui::Panel>("pan");
  pan->setAlign(ui::Align::Left);
  pan->setWidth(241);
  pan->setBevels(ui::Bevel::None, ui::Bevel::None);
  lsbPossiveis = pan->add<ui::ListBox>("lsbPossiveis");
  lsbPossiveis->setAlign(ui::Align::Client);
  lsbPossiveis->setMultiSelect(true);
  lsbPossiveis->setTabStop(false);
  lsbCdPossiveis = pan->add<ui::ListBox>("lsbCdPossiveis");
  lsbCdPossiveis->setVisible(false);

  panBotoes = ScrollBox1->add<ui::Panel>("panBotoes");
  panBotoes->setAlign(ui::Align::Left);
  panBotoes->setWidth(28);
  panBotoes->setBevels(ui::Bevel::None, ui::Bevel::None);
  sbtEscolhido =
      movingButton(panBotoes, "sbtEscolhido", 88, "direita", "Incluir os clientes selecionados");
  sbtTodos = movingButton(panBotoes, "sbtTodos", 113, "direita-todos", "Incluir todos os clientes");
  sbtUmEsquerda =
      movingButton(panBotoes, "sbtUmEsquerda", 138, "esquerda", "Retirar o cliente atual");
  sbtTodosEsquerda = movingButton(panBotoes, "sbtTodosEsquerda", 163, "esquerda-todos",
                                  "Retirar todos os clientes");

  panClienFilial = ScrollBox1->add<ui::Panel>("panClienFilial");
  panClienFilial->setAlign(ui::Align::Client);
  panClienFilial->setBevels(ui::Bevel::None, ui::Bevel::None);

  Panel1 = panClienFilial->add<ui::Panel>("Panel1");
  Panel1->setAlign(ui::Align::Bottom);
  Panel1->setHeight(57);
  DBText1 = Panel1->add<db::DBText>("DBText1");
  DBText1->setBounds(8, 8, 380, 17);
  DBText1->setBold(true);
  DBText1->setDataSource(dtsPadrao);
  DBText1->setDataField("NMRAZSOCCLIE");
  lblVrAtual = layout::label(Panel1, "lblVrAtual", "Valor Atual do Serviço", 400, 6);
  dbeVrAtual = Panel1->add<db::DBEdit>("dbeVrAtual");
  dbeVrAtual->setBounds(400, 24, 130, 21);
  dbeVrAtual->setDataSource(dtsPadrao);
  dbeVrAtual->setDataField("VRSERVFATU");
  dbeVrAtual->setReadOnly(true);
  dbeVrAtual->setTabStop(false);
  dbeVrAtual->setColor("clBtnFace");
  lblDtIniVig = layout::label(Panel1, "lblDtIniVig", "Inicio da Vigencia", 550, 6);
  dbdDtIniVig = Panel1->add<db::DBDateEdit>("dbdDtIniVig");
  dbdDtIniVig->setBounds(550, 24, 100, 21);
  dbdDtIniVig->setDataSource(dtsPadrao);
  dbdDtIniVig->setDataField("DTSERVFATU");
  dbdDtIniVig->setReadOnly(true);
  dbdDtIniVig->setTabStop(false);
  dbdDtIniVig->setColor("clBtnFace");

  imgChecked = add<ui::Image>("imgChecked");
  imgChecked->setPicture("imgChecked");
  imgChecked->setBounds(0, 0, 16, 16);
  imgChecked->setVisible(false);
  imgUnchecked = add<ui::Image>("imgUnchecked");
  imgUnchecked->setPicture("imgUnchecked");
  imgUnchecked->setBounds(0, 0, 16, 16);
  imgUnchecked->setVisible(false);
}
