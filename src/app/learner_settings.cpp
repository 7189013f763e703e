#include "app/learner_settings.hpp"

#include <algorithm>

#include "app/scan.hpp"

namespace orvane {

void readLearnerSettings(Session& s) {
  try {
    s.settings = readSettings(s.settingsPath);
  } catch (const std::exception& e) {
    // A settings file the program cannot use never stops the drill.
    s.settings = SettingsFile{};
    showMessage(s, std::string(e.what()) + "\r設定を読めないので、すべて初めの設定を使います。");
    return;
  }
  const std::string problems = settingsProblemsMessage(s.settingsPath, s.settings.problems);
  if (!problems.empty()) showMessage(s, problems);
  applyDrillOptions(s);
}

void applyDrillOptions(Session& s) {
  const Settings& v = s.settings.values;
  s.drill.setOptions({v.reviewMissed, v.keepRightWords});
}

void changeLearnerSettings(Session& s, const Settings& values) {
  const Settings before = s.settings.values;
  if (values == before) return;
  s.settings.values = values;
  s.form.timer().setPacePercent(values.scanPercent);
  applyDrillOptions(s);
  s.resultsFailed = false;  // a new name, or the same after the teacher mended the folder
  if (values.autoScan != before.autoScan &&
      values.autoScan != s.form.menu(Menu::AutoScan).checked) {
    toggleAutoScan(s);
  }
  try {
    saveSettings(s.settingsPath, s.settings, values);
    // What was saved is what the next save keeps.
    s.settings = parseSettings(formatSettings(s.settings, values));
  } catch (const std::exception& e) {
    showMessage(s, std::string(e.what()) + "\r設定を保存できませんでした。");
  }
}

void editLearnerSettings(Session& s) {
  const std::optional<Settings> values = s.platform.editSettings(s.settings.values);
  s.activationPending = true;
  if (values) changeLearnerSettings(s, *values);
}

void setLearnerZoom(Session& s, std::int32_t percent) {
  Settings values = s.settings.values;
  values.zoom = std::clamp(percent, kMinZoom, kMaxZoom);
  changeLearnerSettings(s, values);
}

}  // namespace orvane
