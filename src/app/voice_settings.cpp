#include "app/voice_settings.hpp"

#include "app/speech_ini.hpp"

namespace orvane {

VoiceLanguage classifyLanguage(std::int32_t id) {
  if (id >= 1024 && id <= 2047) {
    id -= 1024;
  } else if (id >= 2048 && id <= 3071) {
    id -= 2048;
  }
  if (id == 17) return VoiceLanguage::Japanese;
  if (id == 9) return VoiceLanguage::English;
  return VoiceLanguage::Other;
}

namespace {
// The lists of the first `count` voice modes, with `japanese` and `english` selected.
void fillLists(Session& s, std::int32_t count, std::int32_t japanese, std::int32_t english) {
  VoiceDialog& dlg = s.dialog;
  dlg.japaneseItems.clear(), dlg.englishItems.clear();
  dlg.japaneseModes.clear(), dlg.englishModes.clear();
  dlg.selected1 = dlg.selected2 = -1;
  for (std::int32_t i = 1; i <= count; ++i) {
    const VoiceLanguage language = classifyLanguage(s.speech.voiceModeLanguage(i));
    const std::string item = std::to_string(i) + ") " + s.speech.voiceModeTitle(i);
    auto add = [&](std::vector<std::string>& list, std::vector<std::int32_t>& modes, int& selected,
                   std::int32_t current) {
      // The lists offer at most 50 voices of each language; further ones are left out.
      if (list.size() >= VoiceDialog::kMaxPerLanguage) return;
      modes.push_back(i);
      list.push_back(item);
      if (i == current) selected = static_cast<int>(list.size()) - 1;
    };
    if (language == VoiceLanguage::Japanese) {
      add(dlg.japaneseItems, dlg.japaneseModes, dlg.selected1, japanese);
    } else if (language == VoiceLanguage::English) {
      add(dlg.englishItems, dlg.englishModes, dlg.selected2, english);
    }
  }
}

std::int32_t selectedMode(const std::vector<std::int32_t>& modes, int selected,
                          std::int32_t otherwise) {
  return selected >= 0 && static_cast<std::size_t>(selected) < modes.size()
             ? modes[static_cast<std::size_t>(selected)]
             : otherwise;
}

void closeDialog(Session& s) {
  s.dialog.open = false;
  s.platform.voiceDialogClosed();
  s.activationPending = true;
}
}  // namespace

void openVoiceDialog(Session& s) {
  if (!s.dialog.listsFilled) {
    s.dialog.listsFilled = true;
    s.speech.wantServerVoices();
    // A server being started or listed is not waited for: the built-in voices come at once.
    s.dialog.loading = s.speech.serverVoicesPending();
    fillLists(s, s.dialog.loading ? s.speech.builtInVoiceModeCount() : s.speech.voiceModeCount(),
              s.voices.japaneseVoiceMode, s.voices.englishVoiceMode);
  }
  s.dialog.open = true;
  s.platform.voiceDialogOpened();
}

bool refreshVoiceDialog(Session& s) {
  VoiceDialog& dlg = s.dialog;
  if (!dlg.loading || s.speech.serverVoicesPending()) return false;
  dlg.loading = false;
  fillLists(s, s.speech.voiceModeCount(),
            selectedMode(dlg.japaneseModes, dlg.selected1, s.voices.japaneseVoiceMode),
            selectedMode(dlg.englishModes, dlg.selected2, s.voices.englishVoiceMode));
  return true;
}

void acceptVoiceDialog(Session& s) {
  VoiceDialog& dlg = s.dialog;
  VoiceState& v = s.voices;
  v.iniReserved = 0;
  if (dlg.selected1 >= 0)
    v.japaneseVoiceMode = dlg.japaneseModes[static_cast<std::size_t>(dlg.selected1)];
  if (dlg.selected2 >= 0)
    v.englishVoiceMode = dlg.englishModes[static_cast<std::size_t>(dlg.selected2)];
  writeFileReplacing(s.speechIniPath,
                     formatSpeechIni(v.iniReserved, {v.japaneseVoiceMode, v.englishVoiceMode}));
  closeDialog(s);
}

void cancelVoiceDialog(Session& s) {
  closeDialog(s);
}

bool selectVoiceItem(Session& s, int list, int pos) {
  const auto& items = list == 1 ? s.dialog.japaneseItems : s.dialog.englishItems;
  if (pos < 0 || static_cast<std::size_t>(pos) >= items.size()) return false;
  (list == 1 ? s.dialog.selected1 : s.dialog.selected2) = pos;
  return true;
}

void showVoiceCount(Session& s) {
  s.speech.wantServerVoices();
  // A box of lines that a screen can show and a reader can go through: a speech server may have
  // thousands of voices; the rest are counted, not named.
  constexpr std::int32_t kMaxNamed = 300;
  std::string list;
  const std::int32_t count = s.speech.voiceModeCount();
  for (std::int32_t i = 1; i <= count && i <= kMaxNamed; ++i) {
    list += std::to_string(i) + ") " + s.speech.voiceModeTitle(i);
    list += ' ';
    list += std::to_string(s.speech.voiceModeLanguage(i));
    list += '\r';
  }
  if (count > kMaxNamed) list += "…（ほか " + std::to_string(count - kMaxNamed) + " 種）\r";
  showMessage(s, "コンピュータにインストールされている声は " + std::to_string(count) +
                     "種です。\r\r" + list);
}

void checkNamedVoices(Session& s) {
  const std::int32_t builtIn = s.speech.builtInVoiceModeCount();
  const VoiceState& v = s.voices;
  // A number past the built-in voices names a speech server's voice: its server is started if
  // none runs.
  if (v.japaneseVoiceMode > builtIn || v.englishVoiceMode > builtIn) s.speech.wantServerVoices();
  const auto check = [&](std::int32_t mode, VoiceLanguage language, const char* name) {
    // Numbers below 1 name no voice at all: speech picks one by the text's language, as ever.
    if (mode <= builtIn || mode <= s.speech.voiceModeCount()) return;
    // What speech uses instead: the first built-in voice of the language.
    std::string instead = "ほかの声";
    for (std::int32_t i = 1; i <= builtIn; ++i) {
      if (classifyLanguage(s.speech.voiceModeLanguage(i)) == language) {
        instead = std::to_string(i) + " 番の「" + s.speech.voiceModeTitle(i) + "」";
        break;
      }
    }
    showMessage(s, std::string("speech.ini の") + name + "の声（" + std::to_string(mode) +
                       " 番）は、このコンピュータにありません。\r" + instead + "を使います。");
  };
  check(v.japaneseVoiceMode, VoiceLanguage::Japanese, "日本語");
  check(v.englishVoiceMode, VoiceLanguage::English, "英語");
}

}  // namespace orvane
