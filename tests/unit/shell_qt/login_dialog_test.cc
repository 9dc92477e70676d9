// The login dialog in the window: the password shows as dots, keys typed into the real widgets
// reach the model, a wrong password is said and cleared, the right one signs the operator in.
#include <QLineEdit>
#include <QTimer>
#include <filesystem>

#include "host/frm_login.h"
#include "host/net_connection.h"
#include "host/quendra.h"
#include "server/app_server.h"
#include "server/database_setup.h"
#include "server/operators.h"
#include "tests/unit/shell_qt/desktop_fixture.h"

namespace shell::testing {
namespace {

class LoginDialogTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    std::string pattern = (std::filesystem::temp_directory_path() / "cps-login-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    const std::string path = folder_ + "/login.db";
    server::createDatabase(path, false);
    server::SignInPolicy cheap;
    cheap.passwordCost = server::kTestPasswordCost;
    {
      server::Database db(path, false);
      server::addOperator(db, "ana", "Ana", "senha-da-ana", cheap);
    }
    server::AppServerOptions options;
    options.service.signIn = cheap;
    server_ = std::make_unique<server::AppServer>(path, options);
    Quendra::context().webURL = "127.0.0.1";
    Quendra::context().webPort = server_->start();
    Quendra::context().operador = "OPERADOR";
  }
  void TearDown() override {
    host::TNetConnection::setSessionToken({});
    server_.reset();
    std::filesystem::remove_all(folder_);
    DesktopTest::TearDown();
  }

  // Types into the dialog's widgets with real key events, then presses Enter.
  void typeAndEnter(host::TfrmLogin& dialog, const char* operatorCode, const char* password) {
    auto* code = widgetAs<QLineEdit>(*dialog.edtOperador);
    auto* secret = widgetAs<QLineEdit>(*dialog.edtSenha);
    ASSERT_NE(code, nullptr);
    ASSERT_NE(secret, nullptr);
    echoOfPassword = secret->echoMode();
    click(*dialog.edtOperador);  // entering the edit selects its text: typing replaces it
    QTest::keyClicks(code, operatorCode);
    click(*dialog.edtSenha);
    QTest::keyClicks(secret, password);
    QTest::keyClick(secret, Qt::Key_Return);
  }

  std::string folder_;
  std::unique_ptr<server::AppServer> server_;
  QLineEdit::EchoMode echoOfPassword = QLineEdit::Normal;
};

TEST_F(LoginDialogTest, SignsTheOperatorInFromTheWindow) {
  auto* dialog = ui::application().createForm<host::TfrmLogin>();
  int tries = 0;
  std::function<void()> attempt = [&] {
    ++tries;
    typeAndEnter(*dialog, "ana", tries == 1 ? "errada-123" : "senha-da-ana");
    if (tries == 1) {
      EXPECT_TRUE(dialog->edtSenha->text().empty());
      QTimer::singleShot(0, qApp, attempt);
    }
  };
  QTimer::singleShot(0, qApp, attempt);
  int result = ui::mrNone;
  renderer().deliver([&] { result = dialog->showModal(); });

  EXPECT_EQ(result, ui::mrOk);
  EXPECT_EQ(echoOfPassword, QLineEdit::Password);
  EXPECT_EQ(messages, (std::vector<std::string>{"error: Operador ou senha inválidos."}));
  EXPECT_EQ(Quendra::Operador(), "ANA");
  EXPECT_FALSE(host::TNetConnection::sessionToken().empty());
}

}  // namespace
}  // namespace shell::testing
