#include <gtest/gtest.h>

#include "window/form.hpp"

namespace orvane {
namespace {

// Scripts, transcripts and the accessibility tree name controls and menu items: a name that
// stood for two things would send a script's command to the wrong one (the runner looks among
// the controls first).
TEST(Form, EveryNameNamesOneThing) {
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    EXPECT_EQ(controlByName(controlName(c)), c);
    EXPECT_FALSE(menuByName(controlName(c)).has_value()) << controlName(c);
  }
  for (std::size_t i = 0; i < kMenuCount; ++i) {
    const auto m = static_cast<Menu>(i);
    EXPECT_EQ(menuByName(menuName(m)), m);
  }
  EXPECT_FALSE(controlByName("button2").has_value());  // names are matched exactly
}

TEST(Form, WordButtonsAreCountedAsTheDrillCountsWords) {
  for (std::size_t i = 0; i < kWordButtonCount; ++i) {
    EXPECT_TRUE(isWordButton(wordButtonAt(i)));
    EXPECT_EQ(wordIndexOf(wordButtonAt(i)), i);
    EXPECT_EQ(wordButton(static_cast<int>(i) + 2), wordButtonAt(i));  // a record's line slots
  }
  for (Control c : {Control::Start, Control::Period, Control::Prompt}) {
    EXPECT_FALSE(wordIndexOf(c).has_value()) << controlName(c);
  }
}

TEST(Form, SearchWrapsAroundInTabOrderAndSkipsHiddenButtons) {
  Form f;
  f.show(Control::Start);
  f.show(Control::Word3);
  f.show(Control::Answer);
  EXPECT_EQ(f.searchFocus(true), Control::Start);  // no active control: from the start
  EXPECT_EQ(f.searchFocus(false), Control::Answer);
  f.setActive(Control::Answer);
  EXPECT_EQ(f.searchFocus(true), Control::Start);  // wraps
  EXPECT_EQ(f.searchFocus(false), Control::Word3);
  f.setActive(Control::Start);
  EXPECT_EQ(f.searchFocus(false), Control::Answer);
}

TEST(Form, TheOnlyVisibleButtonFindsItself) {
  Form f;
  f.show(Control::End);
  f.setActive(Control::End);
  EXPECT_EQ(f.searchFocus(true), Control::End);
  EXPECT_EQ(f.searchFocus(false), Control::End);
}

TEST(Form, HidingTheFocusedButtonLeavesNoActiveControl) {
  Form f;
  f.show(Control::Word1);
  f.show(Control::Word2);
  f.setActive(Control::Word2);
  f.hide(Control::Word1);
  EXPECT_EQ(f.active(), Control::Word2);
  f.hide(Control::Word2);
  EXPECT_FALSE(f.active().has_value());
}

TEST(ScanTimer, AChangedIntervalOrSwitchingOnRestartsTheCount) {
  ScanTimer t;
  t.setEnabled(true);
  t.advance(3000);
  EXPECT_EQ(t.dueIn(), 1500);
  t.setInterval(4500);  // the same value: the count runs on
  EXPECT_EQ(t.dueIn(), 1500);
  t.setInterval(4000);
  EXPECT_EQ(t.dueIn(), 4000);
  t.advance(1000);
  t.setEnabled(true);  // already on: nothing restarts
  EXPECT_EQ(t.dueIn(), 3000);
  t.setEnabled(false);
  t.setEnabled(true);
  EXPECT_EQ(t.dueIn(), 4000);
}

TEST(ScanTimer, ThePaceScalesEveryIntervalTheHeldOneToo) {
  ScanTimer t;
  t.setPacePercent(200);
  EXPECT_EQ(t.interval(), 9000);  // the designed 4500 held before any step
  t.setInterval(6000);
  EXPECT_EQ(t.interval(), 12000);
  t.setPacePercent(25);
  EXPECT_EQ(t.interval(), 1500);
  t.setInterval(4000);
  EXPECT_EQ(t.interval(), 1000);
  t.setEnabled(true);
  t.advance(600);
  t.setPacePercent(25);  // the same pace: the count runs on
  EXPECT_EQ(t.dueIn(), 400);
}

}  // namespace
}  // namespace orvane

#include "window/caption.hpp"

namespace orvane {
namespace {

TEST(AccessKeyCaption, MarksTheAccessKeyAndEscapesTheRest) {
  EXPECT_EQ(accessKeyHtml("Tom&Jerry"), "Tom<u>J</u>erry");
  EXPECT_EQ(accessKeyHtml("R&&B"), "R&amp;B");
  EXPECT_EQ(accessKeyHtml("a&"), "a&amp;");  // a mark with nothing after it stays
  EXPECT_EQ(accessKeyHtml("<b>&x&y</b>"), "&lt;b&gt;<u>x</u>y&lt;/b&gt;");
  EXPECT_EQ(accessKeyHtml("&日本"), "<u>日</u>本");
  EXPECT_EQ(accessKeyHtml("plain"), "plain");
}

}  // namespace
}  // namespace orvane
