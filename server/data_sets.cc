#include "server/data_sets.h"

#include <strings.h>

#include <utility>

namespace server {

DataSetSpec::DataSetSpec(std::string name, std::vector<FieldSpec> fields)
    : name_(std::move(name)), fields_(std::move(fields)) {
  defs_.reserve(fields_.size());
  for (const auto& f : fields_)
    defs_.push_back({f.name, f.type, f.size});
}

const FieldSpec* DataSetSpec::find(std::string_view fieldName) const {
  for (const auto& f : fields_) {
    if (f.name.size() == fieldName.size() &&
        strncasecmp(f.name.c_str(), fieldName.data(), fieldName.size()) == 0) {
      return &f;
    }
  }
  return nullptr;
}

namespace datasets {

namespace {

using packet::FieldType;

FieldSpec text(std::string name, int size, FieldRole role = FieldRole::Stored) {
  return {std::move(name), FieldType::Text, size, role};
}

FieldSpec number(std::string name, FieldRole role = FieldRole::Stored) {
  return {std::move(name), FieldType::Double, 0, role};
}

FieldSpec dateTime(std::string name, FieldRole role = FieldRole::Stored) {
  return {std::move(name), FieldType::DateTime, 0, role};
}

// Appends the eight per-day fields `prefix` + DOM .. FER (+ `suffix`).
void addDays(std::vector<FieldSpec>& fields, const FieldSpec& model, std::string_view prefix,
             std::string_view suffix = {}) {
  for (const auto day : kDaySuffixes) {
    FieldSpec f = model;
    f.name = std::string(prefix) + std::string(day) + std::string(suffix);
    fields.push_back(std::move(f));
  }
}

}  // namespace

const DataSetSpec& servClie() {
  static const DataSetSpec spec = [] {
    std::vector<FieldSpec> f = {
        text("CDFILIAL", 4, FieldRole::Key),
        text("CDCLIENTE", 21, FieldRole::Key),
        text("NMRAZSOCCLIE", 50, FieldRole::Joined),
        text("CDGRSERVFAT", 3),
        text("CDPRODUTO", 10),
        text("CDARVPROD", 20, FieldRole::Joined),
        text("NMPRODUTO", 50, FieldRole::Joined),
        number("VRTAXAPRVAR"),
        number("IDTCUSPRVAR"),
        dateTime("DTSERVFATU"),
        number("VRSERVFATU"),
    };
    addDays(f, number(""), "VRSERVFAT");
    f.push_back(number("QTEFETMINI"));
    addDays(f, number(""), "QTEFETMIN");
    f.push_back(text("NRINSJURCLIE", 20, FieldRole::Joined));
    f.push_back(text("IDTPIJURCLIE", 1, FieldRole::Joined));
    f.push_back(text("IDEXVLRVENDA", 1));
    f.push_back(text("IDVRPRFIXAUT", 1));
    f.push_back(text("NMFANTCLIE", 50, FieldRole::Joined));
    f.push_back(text("CDSERVFILI", 5, FieldRole::Key));
    f.push_back(text("DSEMISSERCLI", 40));
    addDays(f, text("", 400), "DSPRODEMIS");
    f.push_back(number("QTVOLPROSERVCLI"));
    f.push_back(text("IDATIVATABCOR", 1));
    f.push_back(text("IDCOREFECLIFILI", 1, FieldRole::Joined));
    return DataSetSpec("cdsServClie", std::move(f));
  }();
  return spec;
}

const DataSetSpec& clientesFilial() {
  static const DataSetSpec spec(
      "cdsClientesFilial",
      {text("NMRAZSOCCLIE", 50), text("NRINSJURCLIE", 20), text("IDTPIJURCLIE", 1),
       text("CDCLIENTE", 21), text("NMFANTCLIE", 50)});
  return spec;
}

const DataSetSpec& paramFilial() {
  static const DataSetSpec spec("cdsParamFilial",
                                {text("CDTIPOFATUR", 3), text("DSPARAMFATFI", 200)});
  return spec;
}

const DataSetSpec& corrPrecServ() {
  static const DataSetSpec spec(
      "cdsCorrPrecServ",
      {text("CDFILIAL", 4, FieldRole::Key), text("CDCLIENTE", 21, FieldRole::Key),
       number("VRPEINICSERV"), number("VRPEFIMSERV"), number("VRPECORRSERV"),
       text("CDSERVFILI", 5, FieldRole::Key), number("QTINISERV", FieldRole::Derived),
       number("QTFINSERV", FieldRole::Derived), number("VRNOVOPRECOSERV", FieldRole::Derived)});
  return spec;
}

const DataSetSpec& intervMaior() {
  static const DataSetSpec spec("cdsIntervMaior", {number("VRPEINICSERV"), number("VRPEFIMSERV")});
  return spec;
}

const DataSetSpec& histServFatu() {
  static const DataSetSpec spec = [] {
    std::vector<FieldSpec> f = {
        text("CDCLIENTE", 21, FieldRole::Key),
        text("CDFILIAL", 4, FieldRole::Key),
        text("CDSERVFILI", 5, FieldRole::Key),
        dateTime("DTSRVFATUHIS", FieldRole::Key),
        number("VRSERVFATHIS"),
    };
    addDays(f, number(""), "VRFATU", "HIS");
    f.push_back(dateTime("DTALTEFATHIS", FieldRole::Maintained));
    return DataSetSpec("cdsHistServFatu", std::move(f));
  }();
  return spec;
}

const DataSetSpec& turno() {
  static const DataSetSpec spec = [] {
    std::vector<FieldSpec> f = {
        text("CDTURNO", 1, FieldRole::Key),
        text("NMTURNO", 10, FieldRole::Joined),
        text("DSEMISTURCLI", 400),
        number("VRSERVFATTUR"),
        text("CDCLIENTE", 21, FieldRole::Key),
        text("CDFILIAL", 4, FieldRole::Key),
        text("CDSERVFILI", 5, FieldRole::Key),
        dateTime("DTSERVCLIETURN"),
        dateTime("DTALTSERVCLIETURN", FieldRole::Maintained),
        text("CDOPERALTSERVCLIETURN", 12, FieldRole::Maintained),
    };
    addDays(f, number(""), "VRSVFATTU");
    addDays(f, text("", 400), "DSPREMISTU");
    return DataSetSpec("cdsTurno", std::move(f));
  }();
  return spec;
}

const DataSetSpec& tipoCusto() {
  static const DataSetSpec spec(
      "cdsTipoCusto", {text("CDTIPOCUSTO", 2), text("NMTIPOCUSTO", 50), text("IDUTTPCUSTO", 1)});
  return spec;
}

const DataSetSpec& historicoTurno() {
  static const DataSetSpec spec = [] {
    std::vector<FieldSpec> f = {dateTime("DTSERVCLIETURN"), dateTime("DTALTSERVCLIETURN"),
                                number("VRSERVFATTUR")};
    addDays(f, number(""), "VRSVFATTU");
    return DataSetSpec("cdsHistoricoTurno", std::move(f));
  }();
  return spec;
}

const DataSetSpec& dtReplicaValor() {
  static const DataSetSpec spec("cdsDtReplicaValor", {dateTime("DTSERVFATU")});
  return spec;
}

const DataSetSpec& maiorVigencia() {
  static const DataSetSpec spec("cdsMaiorVigencia", {dateTime("DTSRVFATUHIS")});
  return spec;
}

const DataSetSpec& trilha() {
  static const DataSetSpec spec(
      "cdsTrilha",
      {dateTime("DTALTERACAO"), text("CDOPERADOR", 12), text("NMMETODO", 30), text("NMTABELA", 20),
       text("IDOPERACAO", 1), text("CDFILIAL", 4), text("CDSERVFILI", 5), text("CDCLIENTE", 21),
       text("NMRAZSOCCLIE", 60), text("DSCHAVE", 200), text("NMCAMPO", 30), text("IDTIPOVALOR", 1),
       text("DSVALORANT", 4000), text("DSVALORNOVO", 4000)});
  return spec;
}

}  // namespace datasets

}  // namespace server
