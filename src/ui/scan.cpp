#include "ui/scan.hpp"

namespace orvane {

void N7Click(Session& s) {
  MenuState& item = s.form.menu(Menu::N7);
  if (!item.checked) {
    s.form.timer().setEnabled(true);
    item.checked = true;
  } else {
    s.form.timer().setEnabled(false);
    item.checked = false;
  }
}

void Timer1Timer(Session& s) {
  s.postedKeys.push_back({Key::Tab, {}, true, true});
  s.postedKeys.push_back({Key::Tab, {}, false, true});
}

}  // namespace orvane
