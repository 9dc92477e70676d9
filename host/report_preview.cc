#include "host/report_preview.h"

#include <fmt/format.h>

#include <algorithm>

namespace host {

namespace {

ui::SpeedButton* toolButton(ui::Panel* panel, const char* name, const char* caption,
                            const char* hint, int left, int width) {
  auto* button = panel->add<ui::SpeedButton>(name);
  button->setBounds(left, 4, width, 25);
  button->setCaption(caption);
  button->setHint(hint);
  button->setShowHint(true);
  return button;
}

}  // namespace

ReportPreviewForm::ReportPreviewForm(std::vector<ReportPage> pages, const std::string& title,
                                     Actions actions)
    : Form("frmReportPreview"), pages_(std::move(pages)), actions_(std::move(actions)) {
  if (pages_.empty())
    pages_.emplace_back();
  setCaption("Visualização - " + title);
  setKeyPreview(true);
  setClientSize(1000, 640);

  panTools = add<ui::Panel>("panTools");
  panTools->setAlign(ui::Align::Top);
  panTools->setHeight(33);
  sbtFirst = toolButton(panTools, "sbtFirst", "|<", "Primeira página", 4, 30);
  sbtPrior = toolButton(panTools, "sbtPrior", "<", "Página anterior", 36, 30);
  sbtNext = toolButton(panTools, "sbtNext", ">", "Próxima página", 68, 30);
  sbtLast = toolButton(panTools, "sbtLast", ">|", "Última página", 100, 30);
  lblPage = panTools->add<ui::Label>("lblPage");
  lblPage->setBounds(140, 10, 120, 13);
  sbtPrint = toolButton(panTools, "sbtPrint", "&Imprimir", "Imprimir o relatório", 270, 80);
  sbtSave = toolButton(panTools, "sbtSave", "&Salvar como", "Salvar o relatório em PDF", 352, 90);
  sbtClose = toolButton(panTools, "sbtClose", "&Fechar", "Fechar a visualização", 444, 70);

  lsbPage = add<ui::ListBox>("lsbPage");
  lsbPage->setAlign(ui::Align::Client);
  lsbPage->setTabStop(true);

  sbtFirst->onClick = [this](ui::Control&) { showPage(0); };
  sbtPrior->onClick = [this](ui::Control&) { showPage(page_ - 1); };
  sbtNext->onClick = [this](ui::Control&) { showPage(page_ + 1); };
  sbtLast->onClick = [this](ui::Control&) { showPage(pageCount() - 1); };
  sbtPrint->onClick = [this](ui::Control&) {
    if (actions_.print)
      actions_.print();
  };
  sbtSave->onClick = [this](ui::Control&) {
    if (actions_.save)
      actions_.save();
  };
  sbtClose->onClick = [this](ui::Control&) { close(); };
  onKeyDown = [this](ui::Control&, ui::Key& key, ui::ShiftState shift) {
    if (!shift.none())
      return;
    if (key == ui::keys::Escape)
      close();
    else if (key == ui::keys::PageDown)
      showPage(page_ + 1);
    else if (key == ui::keys::PageUp)
      showPage(page_ - 1);
    else if (key == ui::keys::Home)
      showPage(0);
    else if (key == ui::keys::End)
      showPage(pageCount() - 1);
    else
      return;
    key = 0;
  };
  onClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
  showPage(0);
}

void ReportPreviewForm::showPage(int index) {
  page_ = std::clamp(index, 0, pageCount() - 1);
  lsbPage->clear();
  for (const auto& line : pages_[static_cast<std::size_t>(page_)])
    lsbPage->addItem(line);
  lblPage->setCaption(fmt::format("Página {} de {}", page_ + 1, pageCount()));
  const bool first = page_ == 0;
  const bool last = page_ == pageCount() - 1;
  sbtFirst->setEnabled(!first);
  sbtPrior->setEnabled(!first);
  sbtNext->setEnabled(!last);
  sbtLast->setEnabled(!last);
}

}  // namespace host
