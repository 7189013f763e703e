// The device's own voices through the Web Speech API (speechSynthesis). One utterance at a time
// is handed to it, so that cutting a caption (cancel) cuts nothing else.

// Words a minute at the browser's normal rate (1).
const NORMAL_WORDS_PER_MINUTE = 175;
// An utterance that never starts (a browser with no voice, speech blocked) gives up after this,
// so the queue behind it goes on.
const START_TIMEOUT_MS = 5000;

export function webSpeechRoute(synth = globalThis.speechSynthesis) {
  if (!synth) {
    // No speech in this browser: the start-up says so as the desktop does without a sound device.
    return {voices: () => [], lastError: () => 1,
      speak: () => ({done: Promise.resolve(), cancel() {}})};
  }
  let voices = [];
  const load = () => {
    voices = synth.getVoices().map((v) => ({title: `${v.name} (${v.lang})`, lang: v.lang, v}));
  };
  load();
  synth.addEventListener?.('voiceschanged', load);

  // The voice for a language: the device's default for it, else its first.
  const voiceFor = (lang) => {
    const mine = voices.filter((v) => v.lang.toLowerCase().startsWith(lang));
    return (mine.find((v) => v.v.default) ?? mine.find((v) => /^en-US/i.test(v.lang)) ??
            mine[0])?.v ?? null;
  };

  return {
    voices: () => voices,
    lastError: () => 0,
    speak(item) {
      const u = new SpeechSynthesisUtterance(item.text);
      const voice = item.voice?.v ?? voiceFor(item.lang);
      if (voice) u.voice = voice;
      u.lang = voice?.lang ?? (item.lang === 'ja' ? 'ja-JP' : 'en-US');
      u.rate = Math.min(10, Math.max(0.1, item.rate / NORMAL_WORDS_PER_MINUTE));
      let cancelled = false;
      const done = new Promise((resolve) => {
        const timer = setTimeout(resolve, START_TIMEOUT_MS);
        u.onstart = () => clearTimeout(timer);
        u.onend = u.onerror = () => {
          clearTimeout(timer);
          resolve();
        };
      });
      // Kept until it has ended: some browsers drop the events of an utterance nobody holds.
      done.finally(() => u);
      synth.speak(u);
      return {
        done,
        cancel() {
          if (cancelled) return;
          cancelled = true;
          synth.cancel();
        },
      };
    },
  };
}
