// A script's `screenshot` through the desktop camera: the real module run by a script session,
// pictures taken of the main form and of the validity dialog while the script answers it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "host/process_state.h"
#include "host/ui/application.h"
#include "shell/host_startup.h"
#include "shell/qt/desktop_camera.h"
#include "shell/script/script.h"
#include "shell/script/session.h"

namespace shell::testing {
namespace {

class ScriptScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::processState().reset();
    ASSERT_TRUE(folder_.isValid());
  }
  void TearDown() override { host::processState().reset(); }

  // Runs `text` as a script standing in the temporary folder; returns the exit status and
  // keeps what the session printed.
  int runScript(const std::string& text, bool withCamera) {
    script::SessionOptions options;
    options.modulePath = defaultModulePath();
    options.quiet = true;
    if (withCamera) {
      options.camera = [] {
        return std::make_unique<DesktopCamera>(
            *static_cast<QApplication*>(QCoreApplication::instance()));
      };
    }
    const std::string file = path("pictures.script");
    const auto commands = script::parseScript(file, text);
    ::testing::internal::CaptureStdout();
    int status = 1;
    {
      script::Session session(options);
      status = session.run(commands);
    }
    printed_ = ::testing::internal::GetCapturedStdout();
    return status;
  }

  std::string path(const char* name) const {
    return QDir(folder_.path()).filePath(QString::fromUtf8(name)).toStdString();
  }

  QTemporaryDir folder_;
  std::string printed_;
};

bool varied(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != image.pixel(0, 0))
        return true;
    }
  }
  return false;
}

TEST_F(ScriptScreenshotTest, PicturesOfTheMainFormAndOfAnOpenDialogStandNextToTheScript) {
  const int status = runScript(R"(host Hoje 15/03/2026
open
type medCdFilial "0001"
type medCdServico "00008"
focus lsbPossiveis
select lsbPossiveis 0
modal frmDtValidade
  type depDataIni "01/04/2026"
  type nedVrSevico "1234,5"
  screenshot "dialog.png"
  click sbtConfirma
end
click sbtEscolhido
expect count cdsServClie 1
screenshot "main.png"
close frmClientesServico
)",
                               true);
  ASSERT_EQ(status, 0) << printed_;
  const QImage main(QString::fromStdString(path("main.png")));
  const QImage dialog(QString::fromStdString(path("dialog.png")));
  ASSERT_FALSE(main.isNull());
  ASSERT_FALSE(dialog.isNull());
  EXPECT_TRUE(varied(main));
  // The main form stands in both; the dialog's picture differs where the dialog stands.
  EXPECT_GT(main.width(), 329 + 1000);
  EXPECT_NE(main, dialog);
}

TEST_F(ScriptScreenshotTest, WithoutTheDesktopShellAScreenshotFailsTheScript) {
  const int status = runScript("host Hoje 15/03/2026\nscreenshot \"none.png\"\n", false);
  EXPECT_EQ(status, 1);
  EXPECT_NE(printed_.find("pictures.script:2: screenshots need the desktop shell"),
            std::string::npos)
      << printed_;
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path("none.png"))));
}

}  // namespace
}  // namespace shell::testing
