// The wait indicator: its observable state, the hourglass and its notifications.
#include "host/showavi.h"

#include <gtest/gtest.h>

#include "host/ui/application.h"
#include "host/wait_progress.h"

namespace {

// Counts the indicator's notifications: showings and hidings, and changes of its count.
class Probe : public ui::ChangeObserver {
 public:
  Probe() { ui::addChangeObserver(this); }
  ~Probe() override { ui::removeChangeObserver(this); }
  void propertyChanged(ui::Component& component, ui::Property property) override {
    if (&component != &Showavi::indicator())
      return;
    if (property == ui::Property::Other)
      ++notifications;
    if (property == ui::Property::Text)
      ++counts;
  }
  int notifications = 0;
  int counts = 0;
};

// A clock the test moves by hand.
struct ManualClock {
  host::WaitProgress::TimePoint now{};
  host::WaitProgress::Clock clock() {
    return [this] { return now; };
  }
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

TEST(WaitProgressTest, ACountShowsAfterHalfASecondAtMostTenTimesASecondAndGoesWithItsIndicator) {
  using std::chrono::milliseconds;
  Probe probe;
  ManualClock time;
  auto* main = ui::application().createForm<ui::Form>("frmClientesServico");
  {
    host::WaitProgress progress(main, "Incluindo clientes no serviço...", 100000, time.clock());
    time.now += milliseconds(499);
    progress.advance(900);
    EXPECT_FALSE(Showavi::state().active);
    EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::Default);

    time.now += milliseconds(1);
    progress.advance(1000);
    EXPECT_TRUE(Showavi::state().active);
    EXPECT_EQ(Showavi::state().kind, 1);
    EXPECT_EQ(Showavi::state().over, main);
    EXPECT_EQ(Showavi::shownText(Showavi::state()),
              "Incluindo clientes no serviço... 1.000 de 100.000");
    EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::HourGlass);

    time.now += milliseconds(99);
    progress.advance(1200);
    EXPECT_EQ(Showavi::state().done, 1000);
    time.now += milliseconds(1);
    progress.advance(12345);
    EXPECT_EQ(Showavi::shownText(Showavi::state()),
              "Incluindo clientes no serviço... 12.345 de 100.000");
    // A count is no new showing of the indicator: scripts see none.
    EXPECT_EQ(probe.notifications, 0);
    EXPECT_EQ(probe.counts, 2);
  }
  EXPECT_FALSE(Showavi::state().active);
  EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::Default);
  ui::resetApplication();
}

TEST(WaitProgressTest, ACountOverAnIndicatorAlreadyShownLeavesItShownWithItsOwnText) {
  ManualClock time;
  Showavi::ActiveShowAvi(nullptr, 6, "Carregando clientes por filial...");
  {
    host::WaitProgress progress(nullptr, "Montando a lista de clientes...", 2500, time.clock());
    time.now += std::chrono::seconds(1);
    progress.advance(2000);
    EXPECT_EQ(Showavi::state().kind, 6);
    EXPECT_EQ(Showavi::shownText(Showavi::state()),
              "Carregando clientes por filial... 2.000 de 2.500");
  }
  EXPECT_TRUE(Showavi::state().active);
  EXPECT_EQ(Showavi::shownText(Showavi::state()), "Carregando clientes por filial...");
  Showavi::DeactiveShowAvi();

  // A short operation never shows the indicator.
  {
    host::WaitProgress progress(nullptr, "Montando a lista de clientes...", 10, time.clock());
    for (int i = 0; i < 10; ++i)
      progress.advance(i);
  }
  EXPECT_FALSE(Showavi::state().active);
}

}  // namespace
