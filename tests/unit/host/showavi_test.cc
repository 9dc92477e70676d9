// The wait indicator: its observable state, the hourglass and its notifications.
#include "host/showavi.h"

#include <gtest/gtest.h>

#include "host/ui/application.h"

namespace {

// Counts the indicator's notifications.
class Probe : public ui::ChangeObserver {
 public:
  Probe() { ui::addChangeObserver(this); }
  ~Probe() override { ui::removeChangeObserver(this); }
  void propertyChanged(ui::Component& component, ui::Property property) override {
    if (&component == &Showavi::indicator() && property == ui::Property::Other)
      ++notifications;
  }
  int notifications = 0;
};

TEST(ShowaviTest, ShowsAndHidesWithTheHourglassAndTellsObservers) {
  Probe probe;
  auto* main = ui::application().createForm<ui::Form>("frmPrincipal");
  Showavi::ActiveShowAvi(main, 6, "Carregando clientes por filial...");
  EXPECT_TRUE(Showavi::state().active);
  EXPECT_EQ(Showavi::state().kind, 6);
  EXPECT_EQ(Showavi::state().text, "Carregando clientes por filial...");
  EXPECT_EQ(Showavi::state().over, main);
  EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::HourGlass);
  EXPECT_EQ(Showavi::indicator().name(), "WaitIndicator");

  Showavi::ActiveShowAvi(main, 1, "Atualizando valor do preço fixo...");
  EXPECT_EQ(Showavi::state().kind, 1);

  Showavi::DeactiveShowAvi();
  EXPECT_FALSE(Showavi::state().active);
  EXPECT_EQ(Showavi::state().text, "");
  EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::Default);
  EXPECT_EQ(probe.notifications, 3);
  Showavi::DeactiveShowAvi();
  EXPECT_EQ(probe.notifications, 3);
  ui::resetApplication();
}

TEST(ShowaviTest, RefusesAnUnknownKindAndForgetsADestroyedForm) {
  EXPECT_THROW(Showavi::ActiveShowAvi(nullptr, 2), std::invalid_argument);
  EXPECT_FALSE(Showavi::state().active);

  auto* form = ui::application().createForm<ui::Form>("frmClientesServico");
  Showavi::ActiveShowAvi(form, 0);
  form->release();
  ui::application().flushReleases();
  EXPECT_TRUE(Showavi::state().active);
  EXPECT_EQ(Showavi::state().over, nullptr);
  Showavi::DeactiveShowAvi();
}

TEST(ShowaviTest, ShownWhileWorkRunsAndGoneHoweverItEnds) {
  auto* main = ui::application().createForm<ui::Form>("frmPrincipal");
  bool shownDuringWork = false;
  Showavi::ShowWhile(main, 1, "Gravando...", [&] { shownDuringWork = Showavi::state().active; });
  EXPECT_TRUE(shownDuringWork);
  EXPECT_FALSE(Showavi::state().active);
  EXPECT_THROW(Showavi::ShowWhile(main, 6, {}, [] { throw std::runtime_error("falhou"); }),
               std::runtime_error);
  EXPECT_FALSE(Showavi::state().active);
  EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::Default);
  ui::resetApplication();
}

}  // namespace
