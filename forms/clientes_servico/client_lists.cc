// The two parallel client lists (display texts in lsbPossiveis, codes in the hidden
// lsbCdPossiveis), their focus rules, following the search dialog, and the four operations that
// move clients into the service (creating client-service rows) and out of it (deleting them).
#include <optional>
#include <unordered_map>

#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/dialogs/cli_zev00602.h"
#include "host/consiste.h"
#include "host/procurar.h"
#include "host/ui/application.h"
#include "host/ui/edit_mask.h"
#include "host/ui/errors.h"
#include "host/ui/scoped_detach.h"
#include "host/ui/utf8.h"
#include "host/wait_progress.h"

using namespace Cli_zev00600;

void TfrmClientesServico::bindClientListHandlers() {
  lsbPossiveis->onEnter = [this](ui::Control& c) { lsbPossiveisEnter(c); };
  lsbPossiveis->onExit = [this](ui::Control& c) { lsbPossiveisExit(c); };
  lsbPossiveis->onDblClick = [this](ui::Control& c) { lsbPossiveisDblClick(c); };
  cdsClientesFilial->afterScroll = [this](db::DataSet& d) { cdsClientesFilialAfterScroll(d); };
  sbtEscolhido->onClick = [this](ui::Control& c) { sbtEscolhidoClick(c); };
  sbtTodos->onClick = [this](ui::Control& c) { sbtTodosClick(c); };
  sbtUmEsquerda->onClick = [this](ui::Control& c) { sbtUmEsquerdaClick(c); };
  sbtTodosEsquerda->onClick = [this](ui::Control& c) { sbtTodosEsquerdaClick(c); };
}

std::string TfrmClientesServico::clientDisplayText(const std::string& inscription,
                                                   const std::string& personType,
                                                   const std::string& companyName) {
  return clientDisplayText(inscription, ui::EditMask(Consiste::PictPess(personType)), companyName);
}

std::string TfrmClientesServico::clientDisplayText(const std::string& inscription,
                                                   const ui::EditMask& inscriptionPicture,
                                                   const std::string& companyName) {
  std::string text = ui::formatMaskText(inscriptionPicture, inscription);
  text += " - ";
  text += companyName;
  return text;
}

void TfrmClientesServico::MontaLista() {
  lsbPossiveis->clear();
  lsbCdPossiveis->clear();
  cdsClientesFilial->loadPacket(loadShowingWait("get_cdsClientesFilial", "GetClientesFilial",
                                                {medCdFilial->text(), medCdServico->text()}));
  const int count = cdsClientesFilial->recordCount();
  host::WaitProgress progress(this, "Montando a lista de clientes...", count);
  lsbPossiveis->reserve(count);
  lsbCdPossiveis->reserve(count);
  // The inscription's picture of each person type, read once for the whole list.
  std::unordered_map<std::string, ui::EditMask> pictures;
  for (cdsClientesFilial->first(); !cdsClientesFilial->eof(); cdsClientesFilial->next()) {
    progress.advance(lsbPossiveis->count());
    const std::string personType = cdsClientesFilialIDTPIJURCLIE->asString();
    auto picture = pictures.find(personType);
    if (picture == pictures.end())
      picture = pictures.emplace(personType, ui::EditMask(Consiste::PictPess(personType))).first;
    lsbPossiveis->addItem(clientDisplayText(cdsClientesFilialNRINSJURCLIE->asString(),
                                            picture->second,
                                            cdsClientesFilialNMRAZSOCCLIE->asString()));
    lsbCdPossiveis->addItem(cdsClientesFilialCDCLIENTE->asString());
  }
  lsbPossiveis->shrinkToFit();
  lsbCdPossiveis->shrinkToFit();
}

void TfrmClientesServico::lsbPossiveisEnter(ui::Control&) {
  applyEnabling();
}

void TfrmClientesServico::lsbPossiveisExit(ui::Control&) {
  if (pgcClientesServico->activePage() == tshClienServ)
    lsbPossiveis->clearSelection();
  applyEnabling();
}

void TfrmClientesServico::lsbPossiveisDblClick(ui::Control&) {
  if (sbtEscolhido->enabled())
    sbtEscolhidoClick(*sbtEscolhido);
}

void TfrmClientesServico::cdsClientesFilialAfterScroll(db::DataSet&) {
  const ui::Form* search = Procurar::frmProcurar();
  if (search == nullptr || ui::application().activeForm() != search)
    return;
  if (lsbPossiveis->itemIndex() >= 0)
    lsbPossiveis->setSelected(lsbPossiveis->itemIndex(), false);
  const std::string wanted = ui::utf8::toUpper(clientDisplayText(
      cdsClientesFilialNRINSJURCLIE->asString(), cdsClientesFilialIDTPIJURCLIE->asString(),
      cdsClientesFilialNMRAZSOCCLIE->asString()));
  for (int i = 0; i < lsbPossiveis->count(); ++i) {
    if (ui::utf8::toUpper(lsbPossiveis->item(i)) == wanted) {
      lsbPossiveis->setItemIndex(i);
      lsbPossiveis->setSelected(i, true);
      return;
    }
  }
}

void TfrmClientesServico::fillNewClientRow(const std::string& clientCode) {
  cdsServClieCDFILIAL->setAsString(medCdFilial->text());
  cdsServClieCDSERVFILI->setAsString(medCdServico->text());
  cdsServClieCDCLIENTE->setAsString(clientCode);
  qryAuxClie->close();
  qryAuxClie->setParam("P_CDCLIENTE", clientCode);
  qryAuxClie->open();
  cdsServClieNMRAZSOCCLIE->setAsString(qryAuxClieNMRAZSOCCLIE->asString());
  cdsServClieNRINSJURCLIE->setAsString(ui::formatMaskText(
      Consiste::PictPess(qryAuxClieIDTPIJURCLIE->asString()), qryAuxClieNRINSJURCLIE->asString()));
  cdsServClieNMFANTCLIE->setAsString(qryAuxClieNMFANTCLIE->asString());
}

void TfrmClientesServico::zeroNewClientRow(double serviceValue) {
  // Every number of a new row starts at zero.
  for (const data::DayFields& days : {cdsServClieQTEFETMIN, cdsServClieVRSERVFAT}) {
    for (db::Field* day : days)
      day->setAsFloat(0);
  }
  for (db::Field* field : {cdsServClieQTEFETMINI, cdsServClieVRTAXAPRVAR, cdsServClieIDTCUSPRVAR,
                           cdsServClieQTVOLPROSERVCLI}) {
    field->setAsFloat(0);
  }
  cdsServClieVRSERVFATU->setAsFloat(serviceValue);
  cdsServClieIDATIVATABCOR->setAsString("S");
}

void TfrmClientesServico::dropFailedInsert() {
  if (cdsServClie->state() != db::DataSetState::Insert)
    return;
  // Only the row at fault goes: rows of a batch posted before it are still to be saved, so
  // the after-cancel rule, which discards every unsaved change, is kept out of this cancel.
  const ui::ScopedDetach keepUnsavedRows(cdsServClie->afterCancel);
  cdsServClie->cancel();
}

void TfrmClientesServico::sbtEscolhidoClick(ui::Control&) {
  std::string client;
  try {
    for (int i = 0; i <= lsbPossiveis->count() - 1;) {
      if (!lsbPossiveis->selected(i)) {
        ++i;
        continue;
      }
      client = lsbCdPossiveis->item(i);
      unit().boInclui = false;
      cdsServClie->insert();
      fillNewClientRow(client);
      zeroNewClientRow(0);
      unit().boVrAlterado = true;
      cdsServClie->post();
      unit().boInclui = true;
      lsbCdPossiveis->deleteItem(i);
      lsbPossiveis->deleteItem(i);
    }
  } catch (...) {
    // Grid inserts stay refused. The client at fault is still in the list, so its row goes
    // from the grid: half made, or posted but refused by the server.
    unit().boInclui = true;
    dropFailedInsert();
    dropUnsavedClients({client});
    throw;
  }
  GetTurno("");
  applyEnabling();
}

void TfrmClientesServico::sbtTodosClick(ui::Control&) {
  if (activeControl() != lsbPossiveis)
    return;
  const std::vector<std::string> clients = lsbCdPossiveis->items();
  const int count = lsbPossiveis->count();
  int posted = 0;
  bool lastPost = false;
  packet::Value batchDate;
  // The count starts once the batch's date is chosen: the time in the dialog is the user's.
  std::optional<host::WaitProgress> progress;
  // The batch posts its rows with these two handlers detached; the last post, with them
  // attached again, saves every row of the batch at once and refreshes once.
  ui::ScopedDetach deferSave(cdsServClie->afterPost, cdsServClie->afterScroll);
  try {
    for (int i = 0; i <= lsbPossiveis->count() - 1; ++i) {
      unit().boInclui = false;
      cdsServClie->insert();
      if (unit().boData) {
        Cli_zev00602::CriaDataAtua("N", "S", "", "", "", false);
        batchDate = cdsServClieDTSERVFATU->value();
        unit().boData = false;
        if (Cli_zev00602::unit().boCancelado) {
          cdsServClie->cancel();
          unit().boData = true;
          throw ui::Abort();
        }
      }
      if (!progress)
        progress.emplace(this, "Incluindo clientes no serviço...", count);
      progress->advance(i);
      fillNewClientRow(lsbCdPossiveis->item(i));
      cdsServClieDTSERVFATU->setValue(batchDate);
      zeroNewClientRow(vrServicoConfirmado);
      if (count == i + 1) {
        deferSave.reattach();
        lastPost = true;
      }
      cdsServClie->post();
      ++posted;
      unit().boInclui = true;
    }
  } catch (...) {
    deferSave.reattach();
    // A last post that left the insert state failed in its own save of the batch.
    recoverFailedBatch(clients, posted, lastPost && !cdsServClie->isEditing());
    throw;
  }
  deferSave.reattach();
  unit().boData = true;
  lsbPossiveis->clear();
  lsbCdPossiveis->clear();
  pgcClientesServico->setActivePage(tshClienServ);
  GetTurno("");
  applyEnabling();
}

void TfrmClientesServico::dropUnsavedClients(const std::vector<std::string>& clients) {
  // The place of each client in the given order: the cursor ends where it would after looking
  // the clients up one by one in that order, dropping each unsaved one.
  std::unordered_map<std::string, std::size_t> order;
  for (std::size_t i = 0; i < clients.size(); ++i)
    order.emplace(clients[i], i);
  const int start = cdsServClie->recNo();
  std::optional<std::size_t> lastFound;
  int landing = 0;
  {
    // A row that never reached the server only leaves the change log: the delete rules (give
    // the client back to the list, save the deletion) are for saved rows, so they stay out.
    // The rows are passed once with the scroll rule held, which then runs once for the row the
    // cursor ends on: a refused batch of 100,000 clients goes in one pass, not in a lookup and
    // three remote calls per client.
    const ui::ScopedDetach savedRowsOnly(cdsServClie->beforeDelete, cdsServClie->afterDelete,
                                         cdsServClie->afterScroll);
    cdsServClie->disableControls();
    try {
      for (cdsServClie->first(); !cdsServClie->eof();) {
        const auto found = order.find(cdsServClieCDCLIENTE->asString());
        if (found != order.end() && (!lastFound || found->second > *lastFound)) {
          lastFound = found->second;
          landing = cdsServClie->recNo();
        }
        if (found != order.end() && packet::isNull(cdsServClieCDCLIENTE->oldValue()))
          cdsServClie->deleteRecord();
        else
          cdsServClie->next();
      }
      cdsServClie->setRecNo(lastFound ? landing : start);
    } catch (...) {
      cdsServClie->enableControls();
      throw;
    }
    cdsServClie->enableControls();
  }
  if (lastFound && cdsServClie->afterScroll)
    cdsServClie->afterScroll(*cdsServClie);
}

void TfrmClientesServico::recoverFailedBatch(const std::vector<std::string>& clients, int posted,
                                             bool saveRefused) {
  // The next value change must be confirmed again, and grid inserts stay refused.
  unit().boData = true;
  unit().boInclui = true;
  dropFailedInsert();
  // The clients moved before the failure stay bound: their rows were posted with saving
  // deferred to the last post, which never came, so they are saved now in one go and leave
  // the list.
  if (posted > 0 && !saveRefused && cdsServClie->changeCount() > 0 && cdsServClie->afterPost) {
    try {
      cdsServClie->afterPost(*cdsServClie);
    } catch (...) {
      dropUnsavedClients(clients);
      throw;
    }
    for (int i = 0; i < posted; ++i) {
      lsbCdPossiveis->deleteItem(0);
      lsbPossiveis->deleteItem(0);
    }
  }
  // Rows of the batch the server did not take go, so the grid shows what is bound and the
  // list offers the rest.
  dropUnsavedClients(clients);
}

void TfrmClientesServico::sbtUmEsquerdaClick(ui::Control&) {
  if (activeControl() != lsbPossiveis && dtsPadrao->state() == db::DataSetState::Browse &&
      !cdsServClie->isEmpty()) {
    cdsServClie->deleteRecord();
  }
  applyEnabling();
}

void TfrmClientesServico::sbtTodosEsquerdaClick(ui::Control&) {
  if (dtsPadrao->state() == db::DataSetState::Browse) {
    cdsServClie->first();
    while (!cdsServClie->isEmpty())
      cdsServClie->deleteRecord();
  }
  MontaLista();
  ui::Control* next = cdsServClie->isEmpty() ? static_cast<ui::Control*>(lsbPossiveis) : dbgPadrao;
  if (next->canFocus())
    next->setFocus();
  applyEnabling();
}
