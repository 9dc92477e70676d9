// Finding what a script names and reading it back as text.
#pragma once

#include <string>
#include <vector>

#include "host/ui/component.h"
#include "host/ui/form.h"
#include "packet/remote_call.h"

namespace script {

// A form by its instance name (frmClientesServico), or null. A closed form waiting to be
// destroyed is never found: the name belongs to the instance that is open now.
ui::Form* findForm(const std::string& name);
// "Form.control", or a plain name looked up in the active form, then in every other form that
// is not waiting to be destroyed.
ui::Component* findComponent(const std::string& name);

// What a control, menu item or form shows as its text: an edit's text, a label's, button's,
// page's or form's caption, a combo's chosen item. Null when it has no text.
bool readText(ui::Component& component, std::string& text);

// A remote-call argument as scripts write it: a text as itself, a number as its shortest
// decimal with a point, a date as dd/mm/yyyy, null as "null", a packet or delta as "*".
std::string argText(const packet::Arg& arg);

// One line describing a component's state, for `print`.
std::string describe(ui::Component& component);

}  // namespace script
