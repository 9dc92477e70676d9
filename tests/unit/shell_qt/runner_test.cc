#include <QAbstractButton>
#include <QCursor>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <stdexcept>

#include "host/showavi.h"
#include "tests/unit/shell_qt/desktop_fixture.h"

namespace shell::testing {
namespace {

class ConfirmDialog : public ui::Form {
 public:
  ConfirmDialog() : ui::Form("frmConfirma") {
    setCaption("Confirma");
    setBorderStyle(ui::BorderStyle::Dialog);
    setClientSize(200, 80);
    ok = add<ui::SpeedButton>("sbtOk");
    ok->setCaption("OK");
    ok->setBounds(10, 10, 60, 25);
    ok->onClick = [this](ui::Control&) { setModalResult(ui::mrOk); };
  }
  ui::SpeedButton* ok;
};

using RunnerTest = DesktopTest;

// Runs `step` once the event loop is running (inside a modal run or a message box).
void whenRunning(std::function<void()> step) {
  QTimer::singleShot(0, qApp, std::move(step));
}

TEST_F(RunnerTest, ModalFormRunsANestedLoopUntilTheModelSetsItsResult) {
  auto* dialog = ui::application().createForm<ConfirmDialog>();
  bool windowWasModal = false;
  whenRunning([&] {
    QWidget* window = renderer().windowOf(*dialog);
    windowWasModal = window != nullptr && window->isVisible() &&
                     window->windowModality() == Qt::ApplicationModal;
    click(*dialog->ok);
  });
  int result = ui::mrNone;
  renderer().deliver([&] { result = dialog->showModal(); });
  EXPECT_EQ(result, ui::mrOk);
  EXPECT_TRUE(windowWasModal);
  EXPECT_FALSE(renderer().windowOf(*dialog)->isVisible());
  EXPECT_EQ(desktop->runner().depth(), 0);
}

TEST_F(RunnerTest, CloseBoxOfAModalFormCancelsIt) {
  auto* dialog = ui::application().createForm<ConfirmDialog>();
  whenRunning([&] { renderer().windowOf(*dialog)->close(); });
  int result = ui::mrNone;
  renderer().deliver([&] { result = dialog->showModal(); });
  EXPECT_EQ(result, ui::mrCancel);
}

TEST_F(RunnerTest, ErrorsOfAUserEventAreShownAndAbortsAreSilent) {
  EXPECT_FALSE(renderer().deliver([] { throw std::runtime_error("Servidor fora do ar."); }));
  EXPECT_FALSE(renderer().deliver([] { throw ui::Abort(); }));
  EXPECT_FALSE(renderer().deliver([] { throw 42; }));  // never unwinds into Qt
  EXPECT_EQ(messages, (std::vector<std::string>{"error: Servidor fora do ar."}));
}

TEST_F(RunnerTest, MessageBoxesSpeakPortugueseAndAnswerWithModalResults) {
  desktop->runner().setMessageHook({});
  struct Seen {
    QString title;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
  } seen;
  auto answer = [&seen](const QString& button) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr)
        return;
      poll->deleteLater();
      seen.title = box->windowTitle();
      seen.icon = box->icon();
      seen.buttons.clear();
      for (QAbstractButton* b : box->buttons())
        seen.buttons << b->text();
      for (QAbstractButton* b : box->buttons()) {
        if (b->text() == button)
          b->click();
      }
    });
    poll->start(1);
  };

  answer(QStringLiteral("Não"));
  EXPECT_EQ(ui::application().messageBox(ui::MessageKind::Confirmation, "Excluir registro?",
                                         ui::MessageButtons::YesNo),
            ui::mrNo);
  EXPECT_EQ(seen.title, "Confirmação");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_TRUE(seen.buttons.contains("Sim") && seen.buttons.contains("Não"));

  answer(QStringLiteral("Sim"));
  EXPECT_EQ(ui::application().messageBox(ui::MessageKind::Confirmation, "Excluir registro?",
                                         ui::MessageButtons::YesNo),
            ui::mrYes);

  answer(QStringLiteral("OK"));
  EXPECT_EQ(ui::application().messageBox(ui::MessageKind::Error, "Filial não cadastrada.",
                                         ui::MessageButtons::Ok),
            ui::mrOk);
  EXPECT_EQ(seen.title, "Erro");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QStringList{"OK"});

  answer(QStringLiteral("OK"));
  ui::application().messageBox(ui::MessageKind::Information, "Pronto.", ui::MessageButtons::Ok);
  EXPECT_EQ(seen.title, "Informação");
}

TEST_F(RunnerTest, WaitIndicatorAndHourglassShowTheBusyCursorAndTheText) {
  QStatusBar* status = desktop->mainWindow().statusBar();
  Showavi::ActiveShowAvi(nullptr, 6, "Carregando clientes...");
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_EQ(status->currentMessage(), "Carregando clientes...");
  Showavi::DeactiveShowAvi();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(status->currentMessage(), "");

  ui::application().screen().setCursor(ui::Cursor::HourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  ui::application().screen().setCursor(ui::Cursor::Default);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RunnerTest, TheCountOfALongOperationStandsInTheStatusBar) {
  QStatusBar* status = desktop->mainWindow().statusBar();
  Showavi::ShowCount(nullptr, "Incluindo clientes no serviço...", 12345, 100000);
  EXPECT_EQ(status->currentMessage(), "Incluindo clientes no serviço... 12.345 de 100.000");
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  Showavi::ShowCount(nullptr, "Incluindo clientes no serviço...", 99999, 100000);
  EXPECT_EQ(status->currentMessage(), "Incluindo clientes no serviço... 99.999 de 100.000");
  Showavi::EndCount();
  EXPECT_EQ(status->currentMessage(), "");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace shell::testing
