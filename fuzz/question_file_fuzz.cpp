// Fuzzes the question-file reader and the drill on top of it: any bytes as toi.dat, every
// question revealed, its words placed, checked and moved on from, until the drill is over.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/dispatcher.hpp"
#include "app/drill_handlers.hpp"
#include "app/loading.hpp"
#include "app/quiet_platform.hpp"
#include "sim/recording_speech.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  RecordingSpeech speech({{1041, "Japanese"}, {1033, "English"}}, 175, 80, 0);
  QuietPlatform platform;
  Session s(speech, platform);
  Dispatcher d(s);
  s.questionFile.openBytes(std::string(reinterpret_cast<const char*>(data), size));
  if (s.questionFile.atEnd()) return 0;
  s.questionFile.readLine();
  readQuestion(s);
  s.form.show(Control::Start);
  for (int question = 0; question < 200 && !s.form.visible(Control::End); ++question) {
    d.click(Control::Start);
    for (int k = 2; k <= 8; ++k) d.click(wordButton(k));
    d.click(Control::Period);
    d.click(Control::Start);
    d.click(Control::Answer);
    d.menu(Menu::Replay);
    d.menu(Menu::SpellOut);
    d.menu(Menu::NextQuestion);
  }
  return 0;
}
