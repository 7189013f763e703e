#include "web/state_json.hpp"

#include "app/settings.hpp"
#include "core/text.hpp"
#include "web/json_writer.hpp"
#include "web/layout.hpp"

namespace orvane::web {

namespace {
constexpr const char* kApplicationTitle = "Orvaneプログラム";

bool isBarMenu(Menu m) {
  return m == Menu::FileMenu || m == Menu::OperationMenu || m == Menu::HelpMenu;
}

void writeList(JsonWriter& json, const std::vector<std::string>& items, int selected) {
  json.beginObject();
  json.key("items");
  json.beginArray();
  for (const std::string& item : items) json.string(text::leadingChars(item, kMaxShownBytes));
  json.endArray();
  json.key("selected");
  json.number(selected);
  json.endObject();
}
}  // namespace

std::string layoutJson(const Form& form) {
  JsonWriter json;
  json.beginObject();
  json.key("title");
  json.string("Orvane");
  json.key("boxTitle");
  json.string(kApplicationTitle);
  json.key("client");
  json.beginArray();
  json.number(kClientWidth);
  json.number(kClientHeight);
  json.endArray();
  json.key("controls");
  json.beginArray();
  for (const Place& p : places()) {
    json.beginObject();
    json.key("name");
    json.string(controlName(p.control));
    json.key("button");
    json.boolean(isButton(p.control));
    json.key("word");
    json.boolean(isWordButton(p.control));
    json.key("place");
    json.beginArray();
    for (int v : {p.left, p.top, p.width, p.height}) json.number(v);
    json.endArray();
    json.key("font");
    json.number(p.fontPx);
    json.key("bold");
    json.boolean(p.bold);
    json.key("look");
    json.string(lookOf(p.control));
    json.endObject();
  }
  json.endArray();
  // The menus in the model's order: each menu of the bar, followed by its items.
  json.key("menus");
  json.beginArray();
  for (std::size_t i = 0; i < kMenuCount; ++i) {
    const auto m = static_cast<Menu>(i);
    const MenuState& st = form.menu(m);
    json.beginObject();
    json.key("name");
    json.string(menuName(m));
    json.key("bar");
    json.boolean(isBarMenu(m));
    json.key("separator");
    json.boolean(st.caption == "-");
    json.key("shortcut");
    json.string(st.shortcut ? std::string(1, st.shortcut) : std::string());
    json.key("checkable");
    json.boolean(m == Menu::SlowSpeech || m == Menu::AutoScan);
    // File > Open asks the page's file chooser first; the core is told what it gave.
    json.key("picksFile");
    json.boolean(m == Menu::Open);
    // So does the settings dialog: the page's own, the core told what it gave.
    json.key("editsSettings");
    json.boolean(m == Menu::Settings);
    json.endObject();
  }
  json.endArray();
  json.endObject();
  return json.text();
}

std::string stateJson(const Session& s, bool finished) {
  const Form& form = s.form;
  JsonWriter json;
  json.beginObject();
  json.key("controls");
  json.beginArray();
  for (const Place& p : places()) {
    const ControlState& st = form.control(p.control);
    json.beginObject();
    json.key("caption");
    json.string(text::leadingChars(st.caption, kMaxShownBytes));
    json.key("visible");
    json.boolean(st.visible);
    json.key("enabled");
    json.boolean(st.enabled);
    json.endObject();
  }
  json.endArray();
  json.key("menus");
  json.beginArray();
  for (std::size_t i = 0; i < kMenuCount; ++i) {
    const MenuState& st = form.menu(static_cast<Menu>(i));
    json.beginObject();
    json.key("caption");
    json.string(st.caption);
    json.key("enabled");
    json.boolean(st.enabled);
    json.key("checked");
    json.boolean(st.checked);
    json.endObject();
  }
  json.endArray();
  json.key("focus");
  if (const auto active = form.active()) {
    json.string(controlName(*active));
  } else {
    json.null();
  }
  const ScanTimer& t = form.timer();
  json.key("timer");
  json.beginObject();
  json.key("enabled");
  json.boolean(t.enabled());
  json.key("interval");
  json.number(t.interval());
  json.key("generation");
  json.number(static_cast<std::int64_t>(t.generation()));
  json.key("waitsForSpeech");
  json.boolean(s.settings.values.scanWaitsForSpeech);
  json.endObject();
  // The learner's settings as settings.ini writes them, every key on a line of its own: what the
  // settings dialog starts from.
  json.key("settings");
  json.string(formatSettings(SettingsFile{}, s.settings.values));
  json.key("dialog");
  json.beginObject();
  json.key("open");
  json.boolean(s.dialog.open);
  json.key("lists");
  json.beginArray();
  writeList(json, s.dialog.japaneseItems, s.dialog.selected1);
  writeList(json, s.dialog.englishItems, s.dialog.selected2);
  json.endArray();
  json.endObject();
  json.key("finished");
  json.boolean(finished);
  json.endObject();
  return json.text();
}

}  // namespace orvane::web
