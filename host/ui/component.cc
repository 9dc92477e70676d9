#include "host/ui/component.h"

#include <algorithm>
#include <vector>

#include "host/ui/form.h"

namespace ui {

namespace {

// Never destroyed: components owned by other statics may go after it at exit.
std::vector<ChangeObserver*>& observers() {
  static auto* list = new std::vector<ChangeObserver*>;
  return *list;
}

}  // namespace

void addChangeObserver(ChangeObserver* observer) {
  observers().push_back(observer);
}

void removeChangeObserver(ChangeObserver* observer) {
  auto& list = observers();
  list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

Component::Component(std::string name) : name_(std::move(name)) {
}

Component::~Component() {
  if (ownerForm_ != nullptr)
    ownerForm_->unregisterComponent(*this);
  // Copy: an observer may unregister itself while being told.
  const auto list = observers();
  for (auto* o : list)
    o->componentDestroyed(*this);
}

void Component::changed(Property property) {
  const auto list = observers();
  for (auto* o : list)
    o->propertyChanged(*this, property);
}

}  // namespace ui
