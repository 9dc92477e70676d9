// A "Clientes por Serviço" main form for unit tests: the demo database for its lookups, and a
// server answered in process, so a test decides what each remote method returns (by default a
// success with no rows) and reads every call made.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/net_connection.h"
#include "host/quendra.h"
#include "host/ui/application.h"
#include "tests/unit/forms/forms_test_support.h"
#include "tests/unit/ui/test_runner.h"

namespace forms_test {

// Answers remote calls in place of the application server and records them.
class FakeServer : public host::CallHook {
 public:
  using Method = std::function<packet::CallResult(const std::vector<packet::Arg>&)>;

  std::optional<packet::CallResult> before(const host::TNetConnection&, const std::string& method,
                                           const std::vector<packet::Arg>& args) override {
    calls.emplace_back(method, args);
    if (auto it = methods.find(method); it != methods.end())
      return it->second(args);
    return packet::CallResult{true, {}, packet::Packet{}};
  }
  void after(const host::TNetConnection&, const std::string&, const std::vector<packet::Arg>&,
             const packet::CallResult&) override {}

  // Every call of `method` answers these rows.
  void answer(const std::string& method, packet::Packet rows) {
    methods[method] = [rows](const std::vector<packet::Arg>&) {
      return packet::CallResult{true, {}, rows};
    };
  }
  std::vector<std::vector<packet::Arg>> callsOf(const std::string& method) const {
    std::vector<std::vector<packet::Arg>> found;
    for (const auto& [name, args] : calls) {
      if (name == method)
        found.push_back(args);
    }
    return found;
  }

  std::map<std::string, Method> methods;
  std::vector<std::pair<std::string, std::vector<packet::Arg>>> calls;
};

// A packet of text fields.
inline packet::Packet textRows(const std::vector<std::string>& fields,
                               const std::vector<std::vector<std::string>>& rows) {
  packet::Packet packet;
  for (const auto& name : fields)
    packet.fields.push_back({name, packet::FieldType::Text, 50});
  for (const auto& row : rows)
    packet.rows.emplace_back(row.begin(), row.end());
  return packet;
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProcess();
    Quendra::context().databasePath = database_.path();
    runner = std::make_unique<ui::testing::TestRunner>();
    host::TNetConnection::setCallHook(&server);
    server.answer("GetListaTipoCusto", textRows({"CDTIPOCUSTO", "NMTIPOCUSTO", "IDUTTPCUSTO"}, {}));
    ui::application().dispatch([] { Cli_zev00600::CriaClientesServico(); });
    form = Cli_zev00600::unit().frmClientesServico;
    ASSERT_NE(form, nullptr) << (runner->messages.empty() ? "" : runner->messages.front());
  }

  void TearDown() override {
    runner.reset();
    resetProcess();
  }

  // Types the codes and moves the focus out of the filter, as a user does.
  void leaveFilter(const std::string& branch, const std::string& service) {
    ui::application().dispatch([&] {
      form->medCdFilial->setText(branch);
      form->medCdServico->setText(service);
      form->lsbPossiveis->setFocus();
    });
  }

  // The validity dialog's next run confirms this start and value.
  void confirmValidity(const std::string& start, const std::string& value) {
    runner->modalActions.push_back([start, value](ui::Form& dialog) {
      auto* date = dialog.find<ui::Edit>("depDataIni");
      auto* amount = dialog.find<ui::Edit>("nedVrSevico");
      auto* confirm = dialog.find<ui::Control>("sbtConfirma");
      ASSERT_TRUE(date != nullptr && amount != nullptr && confirm != nullptr);
      date->setText(start);
      amount->setText(value);
      ui::application().dispatch([&] { ui::application().click(*confirm); });
    });
  }

  std::vector<std::string> items(const ui::ListBox* list) const { return list->items(); }

  FakeServer server;
  std::unique_ptr<ui::testing::TestRunner> runner;
  TfrmClientesServico* form = nullptr;

 private:
  DemoDatabase database_{"cps-main"};
};

}  // namespace forms_test
