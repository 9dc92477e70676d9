// Page-control layout below the tab strip, the change notices renderers depend on, and label
// accelerators.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/ui/application.h"
#include "host/ui/edit.h"
#include "host/ui/menu.h"
#include "host/ui/page_control.h"
#include "host/ui/static_controls.h"
#include "tests/unit/ui/test_runner.h"

namespace ui {
namespace {

class PagedForm : public Form {
 public:
  PagedForm() : Form("frmPaginas") {
    setBounds(0, 0, 500, 400);
    codeLabel = add<Label>("lblCodigo");
    codeLabel->setCaption("&Código");
    code = add<Edit>("edtCodigo");
    code->setTabOrder(0);
    codeLabel->setFocusControl(code);
    pages = add<PageControl>("pgcPaginas");
    pages->setBounds(0, 40, 400, 300);
    pages->setTabOrder(1);
    first = pages->addPage("tshPrimeira", "Primeira");
    second = pages->addPage("tshSegunda", "Segunda");
    filling = first->add<Edit>("edtTudo");
    filling->setAlign(Align::Client);
    nameLabel = second->add<Label>("lblNome");
    nameLabel->setCaption("&Nome");
    name = second->add<Edit>("edtNome");
    nameLabel->setFocusControl(name);
    noteLabel = add<Label>("lblNota");
    noteLabel->setCaption("Sócios && &Notas");
    note = add<Edit>("edtNota");
    note->setTabOrder(2);
    noteLabel->setFocusControl(note);
  }
  Label* codeLabel;
  Edit* code;
  PageControl* pages;
  TabSheet* first;
  TabSheet* second;
  Edit* filling;
  Label* nameLabel;
  Edit* name;
  Label* noteLabel;
  Edit* note;
};

// Records which components reported which property.
class NoticeProbe : public ChangeObserver {
 public:
  NoticeProbe() { addChangeObserver(this); }
  ~NoticeProbe() override { removeChangeObserver(this); }
  void propertyChanged(Component& component, Property property) override {
    notices.push_back({&component, property});
  }
  int count(const Component& component, Property property) const {
    int n = 0;
    for (const auto& [who, what] : notices)
      n += who == &component && what == property ? 1 : 0;
    return n;
  }
  std::vector<std::pair<const Component*, Property>> notices;
};

class LayoutAndNoticesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetApplication();
    runner = std::make_unique<testing::TestRunner>();
    form = application().createForm<PagedForm>();
    form->show();
  }
  void TearDown() override {
    runner.reset();
    resetApplication();
  }
  void altKey(Key key) {
    ShiftState alt;
    alt.alt = true;
    application().dispatch([&] { application().keyDown(*form->activeControl(), key, alt); });
  }
  std::unique_ptr<testing::TestRunner> runner;
  PagedForm* form = nullptr;
};

TEST_F(LayoutAndNoticesTest, SheetsFillThePageControlBelowTheTabStripAndFollowItsSize) {
  const Rect expected{PageControl::kFrameWidth,
                      PageControl::kTabStripHeight + PageControl::kFrameWidth,
                      400 - 2 * PageControl::kFrameWidth,
                      300 - PageControl::kTabStripHeight - 2 * PageControl::kFrameWidth};
  EXPECT_EQ(form->pages->clientArea(), expected);
  EXPECT_EQ(form->first->bounds(), expected);
  EXPECT_EQ(form->second->bounds(), expected);
  EXPECT_EQ(form->filling->bounds(), (Rect{0, 0, expected.width, expected.height}));

  form->pages->setBounds(0, 40, 200, 100);
  EXPECT_EQ(form->first->bounds().width, 200 - 2 * PageControl::kFrameWidth);
  EXPECT_EQ(form->filling->bounds().height,
            100 - PageControl::kTabStripHeight - 2 * PageControl::kFrameWidth);
  // Smaller than its frame: the sheets shrink to nothing rather than to a negative size.
  form->pages->setBounds(0, 40, 4, 10);
  EXPECT_EQ(form->first->bounds().width, 0);
  EXPECT_EQ(form->first->bounds().height, 0);
}

TEST_F(LayoutAndNoticesTest, StyleMenuAndScrollBarChangesAreReportedOnlyWhenTheyChange) {
  auto* memo = form->add<Memo>("memObs");
  auto* menu = form->make<MainMenu>("mnuPrincipal");
  NoticeProbe probe;

  form->setFormStyle(FormStyle::MdiChild);
  form->setFormStyle(FormStyle::MdiChild);
  EXPECT_EQ(probe.count(*form, Property::Other), 1);
  EXPECT_EQ(form->formStyle(), FormStyle::MdiChild);

  form->setMenu(menu);
  form->setMenu(menu);
  EXPECT_EQ(probe.count(*form, Property::Items), 1);
  form->setMenu(nullptr);
  EXPECT_EQ(probe.count(*form, Property::Items), 2);
  EXPECT_EQ(form->menu(), nullptr);

  memo->setVerticalScrollBar(true);
  memo->setVerticalScrollBar(true);
  EXPECT_EQ(probe.count(*memo, Property::Other), 1);
  EXPECT_TRUE(memo->verticalScrollBar());
}

TEST(AcceleratorOf, ReadsTheCharacterAfterALoneAmpersand) {
  EXPECT_EQ(acceleratorOf("&Filial"), 'F');
  EXPECT_EQ(acceleratorOf("Va&lor"), 'L');
  EXPECT_EQ(acceleratorOf("Turno &2"), '2');
  EXPECT_EQ(acceleratorOf("Sócios && &Notas"), 'N');
  EXPECT_EQ(acceleratorOf("A && B"), 0);
  EXPECT_EQ(acceleratorOf("Filial"), 0);
  EXPECT_EQ(acceleratorOf("Fim&"), 0);
  EXPECT_EQ(acceleratorOf("&Ção"), 0);  // only letters and digits have key codes
}

TEST_F(LayoutAndNoticesTest, AltAndALabelsAcceleratorFocusesItsControlThroughTheExitEvents) {
  application().dispatch([&] { form->note->setFocus(); });
  std::vector<std::string> log;
  form->note->onExit = [&](Control&) { log.push_back("exit nota"); };
  form->code->onEnter = [&](Control&) { log.push_back("enter codigo"); };

  altKey('C');
  EXPECT_EQ(form->activeControl(), form->code);
  EXPECT_EQ(log, (std::vector<std::string>{"exit nota", "enter codigo"}));
  EXPECT_EQ(form->code->text(), "");  // the chord types nothing

  altKey('N');  // "Sócios && &Notas": the doubled '&' is no accelerator
  EXPECT_EQ(form->activeControl(), form->note);
}

TEST_F(LayoutAndNoticesTest, AcceleratorsOfHiddenOrDisabledLabelsOrControlsDoNothing) {
  application().dispatch([&] { form->code->setFocus(); });
  // "&Nome" stands on the page that is not shown; "&Notas" is on the form and takes the key.
  altKey('N');
  EXPECT_EQ(form->activeControl(), form->note);

  form->noteLabel->setEnabled(false);
  application().dispatch([&] { form->code->setFocus(); });
  altKey('N');
  EXPECT_EQ(form->activeControl(), form->code);

  form->pages->setActivePage(form->second);
  altKey('N');
  EXPECT_EQ(form->activeControl(), form->name);

  form->code->setEnabled(false);
  altKey('C');
  EXPECT_EQ(form->activeControl(), form->name);
  EXPECT_TRUE(runner->messages.empty());
}

TEST_F(LayoutAndNoticesTest, AHandlerThatTakesTheKeyKeepsItFromTheAccelerator) {
  application().dispatch([&] { form->note->setFocus(); });
  form->note->onKeyDown = [](Control&, Key& key, ShiftState) { key = 0; };
  altKey('C');
  EXPECT_EQ(form->activeControl(), form->note);
}

}  // namespace
}  // namespace ui
