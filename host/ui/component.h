// Component: the base of everything a form holds and a script or renderer can name.
//
// Controls, menu items, data sets, data sources and queries are components. A component has a
// name (unique within its form) and reports every change of a property to the registered
// change observers, so a renderer (the desktop shell) can mirror the model and a test can see
// what changed. Components are not copyable; their identity is their address.
#pragma once

#include <string>

namespace ui {

class Form;

// What changed on a component. Observers re-read the component; the value is not carried.
enum class Property {
  Caption,
  Text,
  Enabled,
  Visible,
  Bounds,
  Items,
  Selection,
  ItemIndex,
  Checked,
  ActivePage,
  Focus,
  Columns,
  Options,
  Font,
  Color,
  ReadOnly,
  State,
  Data,
  WindowState,
  Cursor,
  Hint,
  Picture,
  TabOrder,
  Other,
};

class Component;

// Receives every property change of every component. Registered globally because the model is
// single-threaded and one renderer (or test probe) watches the whole application.
class ChangeObserver {
 public:
  virtual ~ChangeObserver() = default;
  virtual void propertyChanged(Component& component, Property property) = 0;
  virtual void componentDestroyed(Component& /*component*/) {}
};

void addChangeObserver(ChangeObserver* observer);
void removeChangeObserver(ChangeObserver* observer);

class Component {
 public:
  explicit Component(std::string name = {});
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& name() const { return name_; }

  // The form whose registry holds this component (set by Form::registerComponent), or null.
  Form* ownerForm() const { return ownerForm_; }

 protected:
  // Tells every observer that `property` changed.
  void changed(Property property);

 private:
  friend class Form;
  std::string name_;
  Form* ownerForm_ = nullptr;
};

}  // namespace ui
