// Shared fixture of the desktop tests: a small form built from toolkit controls (a filter
// panel with a masked edit, a client list, a page control with a disabled page, a data-aware
// grid with a flag column painted by its DrawColumnCell handler, a menu), rendered by a
// Desktop whose message boxes are answered by the test, and a check that the model and the
// window never disagree.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QTabBar>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "host/db/data_set.h"
#include "host/db/data_source.h"
#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "host/ui/buttons.h"
#include "host/ui/combo_box.h"
#include "host/ui/containers.h"
#include "host/ui/errors.h"
#include "host/ui/list_box.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "host/ui/static_controls.h"
#include "host/ui/typed_edits.h"
#include "shell/qt/desktop.h"
#include "shell/qt/desktop_runner.h"
#include "shell/qt/renderer.h"

namespace shell::testing {

class SampleForm : public ui::Form {
 public:
  SampleForm() : ui::Form("frmAmostra") {
    setCaption("Amostra");
    setFormStyle(ui::FormStyle::MdiChild);
    setBounds(10, 10, 640, 420);

    filter = add<ui::Panel>("panFiltro");
    filter->setAlign(ui::Align::Top);
    filter->setHeight(40);
    filter->setTabOrder(0);
    branchLabel = filter->add<ui::Label>("lblFilial");
    branchLabel->setCaption("&Filial");
    branchLabel->setBold(true);
    branchLabel->setBounds(8, 12, 30, 13);
    branch = filter->add<ui::MaskEdit>("medCdFilial");
    branch->setEditMask(">aaaa;0; ");
    branch->setMaxLength(4);
    branch->setColor("clInfoBk");
    branch->setBounds(44, 8, 50, 21);
    branchName = filter->add<ui::Edit>("edtNmFilial");
    branchName->setEnabled(false);
    branchName->setTabStop(false);
    branchName->setText("Matriz");
    branchName->setBounds(100, 8, 250, 21);
    search = filter->add<ui::SpeedButton>("btpFilial");
    search->setGlyph("search");
    search->setHint("Pesquisar");
    search->setBounds(356, 8, 21, 21);
    insert = filter->add<ui::SpeedButton>("sbtIncluir");
    insert->setHint("Incluir");
    insert->setBounds(380, 8, 21, 21);

    clients = add<ui::ListBox>("lsbPossiveis");
    clients->setAlign(ui::Align::Left);
    clients->setWidth(160);
    clients->setMultiSelect(true);
    clients->setTabOrder(1);
    for (const char* name : {"Ana", "Bia", "Caio", "Davi"})
      clients->addItem(name);

    pages = add<ui::PageControl>("pgcPaginas");
    pages->setAlign(ui::Align::Client);
    pages->setTabOrder(2);
    gridPage = pages->addPage("tshGrade", "Grade");
    valuesPage = pages->addPage("tshValores", "Valores");
    lockedPage = pages->addPage("tshBloqueada", "Bloqueada");
    lockedPage->setEnabled(false);

    data = make<db::DataSet>("cdsServicos");
    data->addField("CDCLIENTE", packet::FieldType::Text, 4);
    data->addField("NMCLIENTE", packet::FieldType::Text, 20);
    data->addField("VRSERV", packet::FieldType::Double);
    data->addField("IDATIVO", packet::FieldType::Text, 1);
    data->fieldByName("VRSERV").setDisplayFormat("#,##0.00");
    source = make<db::DataSource>("dtsServicos", data);
    grid = gridPage->add<db::DBGrid>("dbgServicos");
    grid->setAlign(ui::Align::Client);
    grid->setDataSource(source);
    grid->setColor("clInfoBk");
    grid->addColumn("CDCLIENTE").setReadOnly(true);
    grid->addColumn("NMCLIENTE").setWidth(120);
    grid->addColumn("VRSERV").setTitleAlignment(ui::TextAlign::Right);
    grid->addColumn("IDATIVO").setTitle("Ativo");
    grid->onDrawColumnCell = [this](ui::Control&, ui::Canvas& canvas, const ui::Rect& rect, int,
                                    db::Column& column,
                                    db::DrawState) { drawFlag(canvas, rect, column); };

    note = valuesPage->add<ui::Edit>("edtObservacao");
    note->setBounds(8, 8, 200, 21);
    kind = valuesPage->add<ui::ComboBox>("cbbTipo");
    kind->setItems({"Mensal", "Anual"});
    kind->setBounds(8, 40, 120, 21);
    monthly = valuesPage->add<ui::RadioButton>("rbtMensal");
    monthly->setCaption("Mensal");
    monthly->setBounds(8, 70, 80, 17);
    yearly = valuesPage->add<ui::RadioButton>("rbtAnual");
    yearly->setCaption("Anual");
    yearly->setBounds(100, 70, 80, 17);
    flagPicture = add<ui::Image>("imgChecked");
    flagPicture->setPicture("imgChecked");
    flagPicture->setVisible(false);

    menu = make<ui::MainMenu>("mnuPrincipal");
    operations = menu->add(this, "mnuOperacao", "&Operação");
    gridItem = operations->add(this, "mnuGrade", "&Grade");
    gridItem->setChecked(true);
    operations->add(this, "N1", "-");
    lockedItem = operations->add(this, "mnuBloqueado", "&Bloqueado");
    lockedItem->setEnabled(false);
    setMenu(menu);
  }

  void load(std::vector<packet::Row> rows) {
    packet::Packet p;
    p.fields = data->fieldDefs();
    p.rows = std::move(rows);
    data->loadPacket(p);
  }

  // The flag cell of the grids: the checked box for "S", the empty box for "N" or nothing, no
  // picture for any other value, centred and aligned to the top of the cell.
  void drawFlag(ui::Canvas& canvas, const ui::Rect& rect, db::Column& column) {
    if (data->isEmpty() || column.fieldName() != "IDATIVO")
      return;
    const db::Field& flag = data->fieldByName("IDATIVO");
    const std::string text = flag.asString();
    const std::string picture = text == "S"                    ? "imgChecked"
                                : text == "N" || flag.isNull() ? "imgUnchecked"
                                                               : "";
    const int x = (rect.left + rect.right()) / 2 - 16 / 2;
    canvas.fillRect(rect);
    canvas.brushCopy(ui::Rect{x, rect.top, 16, rect.height}, picture,
                     ui::Rect{0, 0, 16, rect.height}, ui::colors::Olive);
  }

  ui::Panel* filter;
  ui::Label* branchLabel;
  ui::MaskEdit* branch;
  ui::Edit* branchName;
  ui::SpeedButton* search;
  ui::SpeedButton* insert;
  ui::ListBox* clients;
  ui::PageControl* pages;
  ui::TabSheet* gridPage;
  ui::TabSheet* valuesPage;
  ui::TabSheet* lockedPage;
  db::DataSet* data;
  db::DataSource* source;
  db::DBGrid* grid;
  ui::Edit* note;
  ui::ComboBox* kind;
  ui::RadioButton* monthly;
  ui::RadioButton* yearly;
  ui::Image* flagPicture;
  ui::MainMenu* menu;
  ui::MenuItem* operations;
  ui::MenuItem* gridItem;
  ui::MenuItem* lockedItem;
};

// Rows A (flag "S"), B ("N"), C (empty) and D ("X").
std::vector<packet::Row> sampleRows();

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the sample form, loads its rows and shows it.
  SampleForm& showSample();
  // Lets Qt process what the model's changes scheduled.
  static void settle();
  shell::Renderer& renderer() const { return desktop->renderer(); }
  QWidget* widget(const ui::Control& control) const;
  template <class W>
  W* widgetAs(const ui::Control& control) const {
    return qobject_cast<W*>(widget(control));
  }
  // The tab bar of a page control's widget.
  QTabBar* tabBarOf(const ui::PageControl& pages) const;
  // The widget that holds the Qt focus in the control's window.
  QWidget* qtFocus(const ui::Control& control) const;
  // Clicks the middle of a control's widget (or `at` inside it) with real mouse events.
  void click(const ui::Control& control, QPoint at = QPoint(-1, -1),
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Walks every control of the form: its widget exists, is enabled exactly when the control
  // is usable, shows exactly when it shows, and shows the control's text.
  void expectInStep(const ui::Form& form) const;

  std::unique_ptr<Desktop> desktop;
  std::vector<std::string> messages;
  std::vector<int> answers;
};

}  // namespace shell::testing
