#include "forms/report/cli_zev00601.h"

#include "forms/report/frm_rel_clie_serv.h"
#include "host/ui/application.h"

namespace Cli_zev00601 {

namespace {

// The hourglass while the form is made, the default cursor again however that ends.
class HourGlass {
 public:
  HourGlass() { ui::application().screen().setCursor(ui::Cursor::HourGlass); }
  ~HourGlass() { ui::application().screen().setCursor(ui::Cursor::Default); }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;
};

}  // namespace

void CriaRelClieServ() {
  {
    const HourGlass wait;
    if (!unit().boIdCriado) {
      unit().frmRelClieServ = ui::application().createForm<TfrmRelClieServ>();
      unit().boIdCriado = true;
    }
  }
  // The operator fills the filters with the normal cursor; the form clears the flag and this
  // reference when it closes.
  unit().frmRelClieServ->showModal();
}

}  // namespace Cli_zev00601
