#include <gtest/gtest.h>

#include "app_harness.hpp"

namespace orvane {
namespace {

using testing::Harness;

TEST(Dispatcher, ScanStepsReadTheModifiersHeldWhenTheyAreHandled) {
  Harness h({});
  Form& f = h.session.form;
  f.show(Control::Start);
  f.show(Control::Next);
  f.show(Control::Answer);
  h.dispatcher.menu(Menu::AutoScan);
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Start);
  h.platform.held.shift = true;
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Answer);
  h.platform.held = {false, true, false};
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Answer);
  h.platform.held = {};
  h.dispatcher.tick();
  EXPECT_EQ(f.active(), Control::Start);
}

TEST(Dispatcher, ATickIsDroppedWhileTheScanIsOff) {
  Harness h({});
  h.session.form.show(Control::Start);
  h.dispatcher.tick();
  EXPECT_FALSE(h.session.form.active().has_value());
  EXPECT_TRUE(h.session.postedKeys.empty());
}

}  // namespace
}  // namespace orvane
