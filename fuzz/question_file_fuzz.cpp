// Fuzzes the question-file reader and the drill on top of it: any bytes as toi.dat, every
// question revealed, its words placed, checked and moved on from, until the drill is over.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/dispatcher.hpp"
#include "app/drill_view.hpp"
#include "app/quiet_platform.hpp"
#include "sim/recording_speech.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  RecordingSpeech speech({{1041, "Japanese"}, {1033, "English"}}, 175, 80, 0);
  QuietPlatform platform;
  Session s(speech, platform);
  Dispatcher d(s);
  const DrillStep first = s.drill.openText(std::string(reinterpret_cast<const char*>(data), size));
  if (s.drill.phase() == Phase::NoQuestion) return 0;
  showStep(s, first);
  for (int question = 0; question < 200 && !s.form.visible(Control::End); ++question) {
    d.click(Control::Start);
    for (std::size_t i = 0; i < kWordButtonCount; ++i) d.click(wordButtonAt(i));
    d.click(Control::Period);
    d.click(Control::Start);
    d.click(Control::Answer);
    d.menu(Menu::Replay);
    d.menu(Menu::SpellOut);
    d.menu(Menu::NextQuestion);
  }
  return 0;
}
