// Small builders shared by the module's form layouts: labels, data-bound edits, grid options
// and the day columns (Sunday to Saturday, then holidays) that several pages repeat.
#pragma once

#include <string>

#include "host/db/data_source.h"
#include "host/db/db_grid.h"
#include "host/ui/static_controls.h"

namespace layout {

inline constexpr const char* kDayLabels[8] = {"Domingo",      "Segunda-feira", "Terça-feira",
                                              "Quarta-feira", "Quinta-feira",  "Sexta-feira",
                                              "Sábado",       "Feriados"};
// Suffixes of the day edits' names (dbeVrServDom) and of the day fields (VRSERVFATDOM).
inline constexpr const char* kDaySuffixes[8] = {"Dom", "Seg", "Ter", "Qua",
                                                "Qui", "Sex", "Sab", "Fer"};
inline constexpr const char* kFieldSuffixes[8] = {"DOM", "SEG", "TER", "QUA",
                                                  "QUI", "SEX", "SAB", "FER"};

inline ui::Label* label(ui::Control* parent, const std::string& name, const std::string& caption,
                        int left, int top, bool bold = true) {
  auto* l = parent->add<ui::Label>(name);
  l->setCaption(caption);
  l->setBold(bold);
  l->setBounds(left, top, 8 * static_cast<int>(caption.size()), 13);
  return l;
}

template <class Edit>
Edit* boundEdit(ui::Control* parent, const std::string& name, db::DataSource* source,
                const std::string& field, int left, int top, int width) {
  auto* edit = parent->add<Edit>(name);
  edit->setBounds(left, top, width, 21);
  edit->setDataSource(source);
  edit->setDataField(field);
  return edit;
}

// An edit that only shows its field.
template <class Edit>
Edit* shownEdit(ui::Control* parent, const std::string& name, db::DataSource* source,
                const std::string& field, int left, int top, int width) {
  auto* edit = boundEdit<Edit>(parent, name, source, field, left, top, width);
  edit->setEnabled(false);
  edit->setTabStop(false);
  return edit;
}

// Titles, lines, the selection always shown, deletions confirmed, no row indicator.
inline void gridOptions(db::DBGrid* grid, bool editing) {
  grid->setOption(db::GridOption::Editing, editing);
  grid->setOption(db::GridOption::Titles, true);
  grid->setOption(db::GridOption::ColLines, true);
  grid->setOption(db::GridOption::RowLines, true);
  grid->setOption(db::GridOption::AlwaysShowSelection, true);
  grid->setOption(db::GridOption::ConfirmDelete, true);
  grid->setOption(db::GridOption::Indicator, false);
}

}  // namespace layout
