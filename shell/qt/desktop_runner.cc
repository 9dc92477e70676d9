#include "shell/qt/desktop_runner.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>

#include "shell/qt/form_view.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"

namespace shell {

DesktopRunner::DesktopRunner(Renderer& renderer) : renderer_(renderer) {
  ui::addChangeObserver(this);
}

DesktopRunner::~DesktopRunner() {
  ui::removeChangeObserver(this);
  for (Run& run : runs_)
    run.loop->quit();
}

bool DesktopRunner::finished(const ui::Form& form) {
  return form.modalResult() != ui::mrNone || !form.visible();
}

void DesktopRunner::runModal(ui::Form& form) {
  if (finished(form))
    return;
  renderer_.sync();
  auto* view = qobject_cast<FormView*>(renderer_.viewOf(form));
  if (view != nullptr)
    view->setModal(true);
  QEventLoop loop;
  runs_.push_back(Run{&form, &loop});
  loop.exec(QEventLoop::DialogExec);
  for (auto it = runs_.begin(); it != runs_.end(); ++it) {
    if (it->loop == &loop) {
      runs_.erase(it);
      break;
    }
  }
}

void DesktopRunner::propertyChanged(ui::Component& component, ui::Property property) {
  if (property != ui::Property::Other && property != ui::Property::Visible)
    return;
  for (Run& run : runs_) {
    if (run.form == &component && finished(*run.form))
      run.loop->quit();
  }
}

void DesktopRunner::componentDestroyed(ui::Component& component) {
  for (Run& run : runs_) {
    if (run.form == &component) {
      run.form = nullptr;
      run.loop->quit();
    }
  }
}

int DesktopRunner::messageBox(ui::MessageKind kind, const std::string& text,
                              ui::MessageButtons buttons) {
  if (hook_)
    return hook_(kind, text, buttons);
  QMessageBox box(QApplication::activeWindow() != nullptr ? QApplication::activeWindow()
                                                          : renderer_.hosting().mainWindow);
  switch (kind) {
    case ui::MessageKind::Error:
      box.setIcon(QMessageBox::Critical);
      box.setWindowTitle(QStringLiteral("Erro"));
      break;
    case ui::MessageKind::Information:
      box.setIcon(QMessageBox::Information);
      box.setWindowTitle(QStringLiteral("Informação"));
      break;
    case ui::MessageKind::Warning:
      box.setIcon(QMessageBox::Warning);
      box.setWindowTitle(QStringLiteral("Aviso"));
      break;
    case ui::MessageKind::Confirmation:
      box.setIcon(QMessageBox::Question);
      box.setWindowTitle(QStringLiteral("Confirmação"));
      break;
  }
  box.setText(toQString(text));
  std::vector<std::pair<QPushButton*, int>> answers;
  auto add = [&](const char* caption, QMessageBox::ButtonRole role, int answer) {
    QPushButton* button = box.addButton(QString::fromUtf8(caption), role);
    answers.emplace_back(button, answer);
    return button;
  };
  switch (buttons) {
    case ui::MessageButtons::Ok:
      box.setEscapeButton(add("OK", QMessageBox::AcceptRole, ui::mrOk));
      break;
    case ui::MessageButtons::YesNo:
      box.setDefaultButton(add("Sim", QMessageBox::YesRole, ui::mrYes));
      box.setEscapeButton(add("Não", QMessageBox::NoRole, ui::mrNo));
      break;
    case ui::MessageButtons::OkCancel:
      box.setDefaultButton(add("OK", QMessageBox::AcceptRole, ui::mrOk));
      box.setEscapeButton(add("Cancelar", QMessageBox::RejectRole, ui::mrCancel));
      break;
  }
  box.exec();
  for (const auto& [button, answer] : answers) {
    if (box.clickedButton() == button)
      return answer;
  }
  return buttons == ui::MessageButtons::YesNo ? ui::mrNo
         : buttons == ui::MessageButtons::Ok  ? ui::mrOk
                                              : ui::mrCancel;
}

}  // namespace shell
