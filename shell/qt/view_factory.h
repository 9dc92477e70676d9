// The view that renders a control, chosen by the control's kind.
#pragma once

#include "host/ui/control.h"

namespace shell {

class ControlView;
class Renderer;

// A new view for `control` (not built yet). Kinds without a widget of their own are rendered
// as plain containers.
ControlView* makeView(Renderer& renderer, ui::Control& control);

}  // namespace shell
