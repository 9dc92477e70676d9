// Shared fixtures of the data-layer tests: a small client data set and an event recorder.
#pragma once

#include <string>

#include "host/db/data_set.h"
#include "host/db/data_source.h"

namespace db::testing {

// CODE text 4, NAME text 10, VALUE double, DAY date-time.
inline void defineFields(DataSet& ds) {
  ds.addField("CODE", packet::FieldType::Text, 4);
  ds.addField("NAME", packet::FieldType::Text, 10);
  ds.addField("VALUE", packet::FieldType::Double);
  ds.addField("DAY", packet::FieldType::DateTime);
}

inline packet::Packet packetOf(std::vector<packet::Row> rows) {
  packet::Packet p;
  p.fields = {{"CODE", packet::FieldType::Text, 4},
              {"NAME", packet::FieldType::Text, 10},
              {"VALUE", packet::FieldType::Double, 0},
              {"DAY", packet::FieldType::DateTime, 0}};
  p.rows = std::move(rows);
  return p;
}

// Three rows A, B, C with values 1, 2, 3.
inline packet::Packet threeRows() {
  return packetOf({{std::string("A"), std::string("Ana"), 1.0, packet::Value{}},
                   {std::string("B"), std::string("Bia"), 2.0, packet::Value{}},
                   {std::string("C"), std::string("Caio"), 3.0, packet::Value{}}});
}

// The CODE of every row in reading order, e.g. "A,B,C"; leaves the cursor on the last row.
inline std::string codes(DataSet& ds) {
  std::string out;
  for (int row = 0; row < ds.viewRowCount(); ++row) {
    ds.readRow(row, [&] {
      if (!out.empty())
        out += ",";
      out += ds.fieldByName("CODE").asString();
    });
  }
  return out;
}

// Every value of every row in reading order, each followed by "|", a line per row; leaves the
// cursor where it was.
inline std::string contents(DataSet& ds) {
  std::string out;
  for (int row = 0; row < ds.viewRowCount(); ++row) {
    ds.readRow(row, [&] {
      for (int f = 0; f < ds.fieldCount(); ++f)
        out += ds.field(f).asString() + "|";
    });
    out += "\n";
  }
  return out;
}

// Records every event of a data set (and of one data source on it) as "name " entries.
class EventLog {
 public:
  EventLog(DataSet& ds, DataSource* source = nullptr) {
    auto hook = [this](DataSet::Event& event, const char* name) {
      event = [this, name](DataSet&) { log += std::string(name) + " "; };
    };
    hook(ds.beforeOpen, "beforeOpen");
    hook(ds.afterOpen, "afterOpen");
    hook(ds.beforeClose, "beforeClose");
    hook(ds.afterClose, "afterClose");
    hook(ds.beforeInsert, "beforeInsert");
    hook(ds.afterInsert, "afterInsert");
    hook(ds.onNewRecord, "onNewRecord");
    hook(ds.beforeEdit, "beforeEdit");
    hook(ds.afterEdit, "afterEdit");
    hook(ds.beforePost, "beforePost");
    hook(ds.afterPost, "afterPost");
    hook(ds.beforeCancel, "beforeCancel");
    hook(ds.afterCancel, "afterCancel");
    hook(ds.beforeDelete, "beforeDelete");
    hook(ds.afterDelete, "afterDelete");
    hook(ds.beforeScroll, "beforeScroll");
    hook(ds.afterScroll, "afterScroll");
    if (source != nullptr) {
      source->onStateChange = [this](DataSource& s) {
        log += std::string("state:") + stateName(s.state()) + " ";
      };
      source->onDataChange = [this](DataSource&, Field* f) {
        log += f != nullptr ? "data:" + f->name() + " " : std::string("data ");
      };
    }
  }

  // Returns the log so far and starts a new one.
  std::string take() {
    std::string out = log;
    log.clear();
    if (!out.empty())
      out.pop_back();
    return out;
  }

  std::string log;
};

}  // namespace db::testing
