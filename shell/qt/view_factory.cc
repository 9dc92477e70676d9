#include "shell/qt/view_factory.h"

#include "host/db/db_grid.h"
#include "host/ui/buttons.h"
#include "host/ui/combo_box.h"
#include "host/ui/containers.h"
#include "host/ui/edit.h"
#include "host/ui/form.h"
#include "host/ui/list_box.h"
#include "host/ui/page_control.h"
#include "host/ui/static_controls.h"
#include "shell/qt/basic_views.h"
#include "shell/qt/edit_views.h"
#include "shell/qt/form_view.h"
#include "shell/qt/grid_view.h"
#include "shell/qt/page_views.h"

namespace shell {

namespace {

template <class Model>
bool is(ui::Control& control) {
  return dynamic_cast<Model*>(&control) != nullptr;
}

}  // namespace

ControlView* makeView(Renderer& renderer, ui::Control& control) {
  // More derived kinds first: a memo is an edit, a data-aware text is a label.
  if (auto* form = dynamic_cast<ui::Form*>(&control))
    return new FormView(renderer, *form);
  if (is<db::DBGrid>(control))
    return new GridView(renderer, control);
  if (is<ui::Memo>(control))
    return new MemoView(renderer, control);
  if (is<ui::Edit>(control))
    return new EditView(renderer, control);
  if (is<ui::ComboBox>(control))
    return new ComboBoxView(renderer, control);
  if (is<ui::ListBox>(control))
    return new ListBoxView(renderer, control);
  if (is<ui::RadioButton>(control))
    return new RadioButtonView(renderer, control);
  if (is<ui::SpeedButton>(control))
    return new SpeedButtonView(renderer, control);
  if (is<ui::PageControl>(control))
    return new PageControlView(renderer, control);
  if (is<ui::TabSheet>(control))
    return new TabSheetView(renderer, control);
  if (is<ui::GroupBox>(control))
    return new GroupBoxView(renderer, control);
  if (is<ui::ScrollBox>(control))
    return new ScrollBoxView(renderer, control);
  if (is<ui::Panel>(control))
    return new PanelView(renderer, control);
  if (is<ui::Label>(control))
    return new LabelView(renderer, control);
  if (is<ui::Image>(control))
    return new ImageView(renderer, control);
  return new GenericView(renderer, control);
}

}  // namespace shell
