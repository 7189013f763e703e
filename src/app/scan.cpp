#include "app/scan.hpp"

namespace orvane {

void toggleAutoScan(Session& s) {
  MenuState& item = s.form.menu(Menu::AutoScan);
  if (!item.checked) {
    s.form.timer().setEnabled(true);
    item.checked = true;
  } else {
    s.form.timer().setEnabled(false);
    item.checked = false;
  }
}

void scanTick(Session& s) {
  s.postedKeys.push_back({Key::Tab, {}, true, true});
  s.postedKeys.push_back({Key::Tab, {}, false, true});
}

}  // namespace orvane
