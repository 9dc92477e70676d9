// Data-aware edits: DBEdit (a masked edit bound to a field), DBDateEdit (the same for a date
// field) and DBText (a label that shows a field).
//
// A DBEdit shows its field's display text, and the edit text while it has the focus. Its
// first keystroke puts the data set into edit (a refused edit refuses the keystroke); typed
// text stays in the control until it is written into the field: when the focus leaves the
// edit (before the exit handler runs, which still sees the text as typed; the display text
// follows once the focus has gone), or when the data set posts or scrolls. A bad number or
// date is refused with the regional message and keeps the focus in the edit. A disabled or
// inactive data source blanks the control and refuses typing. Every change of the shown text
// runs onChange, whatever causes it (typing, a scroll, a load). Escape restores the field's
// text. Numeric fields take digits, signs, the exponent and the decimal comma only.
#pragma once

#include <string>

#include "host/db/data_link.h"
#include "host/db/data_source.h"
#include "host/ui/static_controls.h"
#include "host/ui/typed_edits.h"

namespace db {

class DBEdit : public ui::MaskEdit, private DataLink {
 public:
  DBEdit(ui::Control* parent, std::string name);

  DataSource* dataSource() const { return DataLink::dataSource(); }
  void setDataSource(DataSource* source);
  const std::string& dataField() const { return dataField_; }
  void setDataField(std::string field);
  // The bound field, or null when the source is inactive or the field unknown.
  Field* field() const;
  // Whether the control holds typed text not yet written into the field.
  bool pendingText() const { return modified_; }

  void doEnter() override;
  void doExit() override;
  void keyDownDefault(ui::Key& key, ui::ShiftState shift) override;

 protected:
  bool editable() const override;
  bool beginUserChange() override;
  std::optional<std::string> typed(const std::string& current, bool replaceAll,
                                   char32_t ch) const override;
  // The text the control shows for its field (edit form while focused).
  virtual std::string fieldText(const Field& field, bool editing) const;
  void load();

 private:
  void activeChanged() override { load(); }
  void dataSetChanged() override { load(); }
  void dataSetScrolled() override { load(); }
  void recordChanged(Field* field) override;
  void editingChanged() override { load(); }
  void layoutChanged() override { load(); }
  void updateData() override;

  std::string dataField_;
  bool modified_ = false;
  bool hasFocus_ = false;
};

// A date field in a date edit: dd/mm/yyyy, no time of day.
class DBDateEdit : public DBEdit {
 public:
  DBDateEdit(ui::Control* parent, std::string name);

 protected:
  std::string fieldText(const Field& field, bool editing) const override;
};

class DBText : public ui::Label, private DataLink {
 public:
  DBText(ui::Control* parent, std::string name);

  DataSource* dataSource() const { return DataLink::dataSource(); }
  void setDataSource(DataSource* source);
  const std::string& dataField() const { return dataField_; }
  void setDataField(std::string field);

 private:
  void activeChanged() override { load(); }
  void dataSetChanged() override { load(); }
  void dataSetScrolled() override { load(); }
  void recordChanged(Field*) override { load(); }
  void layoutChanged() override { load(); }
  void load();

  std::string dataField_;
};

}  // namespace db
