#include "app/loading.hpp"

#include <sys/stat.h>

#include "app/drill_view.hpp"
#include "app/voice_steps.hpp"

namespace orvane {

std::optional<DrillStep> loadStartFile(Session& s) {
  struct stat st {};
  if (::stat(s.startFilePath.c_str(), &st) != 0) {
    if (s.startFileGiven) showMessage(s, s.startFilePath + " が見つかりません。");
    return std::nullopt;
  }
  s.lessonPath = s.startFilePath;
  if (!s.startFileGiven) {
    DrillStep step = s.drill.open(s.startFilePath);
    showStartFile(s, step);
    return step;
  }
  // A lesson the user named that cannot be read is said, and File > Open is still there.
  try {
    DrillStep step = s.drill.open(s.startFilePath);
    showStartFile(s, step);
    return step;
  } catch (const std::exception& e) {
    showMessage(s, std::string(e.what()) + "\rファイルの内容が正しくありません。");
    return std::nullopt;
  }
}

void openQuestionFile(Session& s) {
  const auto path = s.platform.chooseQuestionFile();
  s.activationPending = true;
  if (!path) return;
  try {
    const DrillStep step = s.drill.open(*path);
    s.lessonPath = *path;
    showStep(s, step);
    sayStep(s, step);
  } catch (const std::exception&) {
    showMessage(s, "ファイルの内容が正しくありません。");
    s.quitRequested = true;
  }
}

}  // namespace orvane
