// The speech the core talks to (src/web/web_speech.cpp). It numbers the voice modes, keeps the
// utterances in order in one queue, cuts focus captions as on the desktop (a newer caption cuts
// the caption being spoken or waiting, nothing else), and holds everything back while the page
// may not or should not make a sound (before the first key or touch, behind a box).
//
// The sound itself comes from a route, one small interface so that another synthesiser plugs in
// without touching the rest of the page:
//
//   route.voices()              -> [{title, lang}]   the voices it has now (lang: BCP 47)
//   route.speak(item)           -> {done: Promise, cancel()}
//        item: {text, voice (an entry of voices() or null), lang ('ja' or 'en'), rate (words a
//        minute)}; done settles when the utterance has ended or was cut
//   route.expectCaptions?(items)   the captions that may be spoken next (to ready their sound)
//   route.lastError?()             0, or the number the start-up's "SAPI Error" shows
//
// Events for the page: speech.on('start' | 'end', f), with the item.

// Windows language identifiers, as the voice dialog sorts voices by them (17, 1041 and 2065
// count as Japanese; 9, 1033 and 2057 as English).
const LANGUAGE_IDS = {
  'ja': 1041, 'en-us': 1033, 'en-gb': 2057, 'en-au': 3081, 'en-ca': 4105, 'en-nz': 5129,
  'en-ie': 6153, 'en-za': 7177, 'en-in': 16393, 'en': 9, 'ko': 1042, 'zh-cn': 2052,
  'zh-tw': 1028, 'fr': 1036, 'de': 1031, 'es': 3082, 'it': 1040, 'pt': 2070, 'pt-br': 1046,
  'ru': 1049, 'nl': 1043,
};

export function languageId(lang) {
  const tag = lang.toLowerCase().replace('_', '-');
  return LANGUAGE_IDS[tag] ?? LANGUAGE_IDS[tag.split('-')[0]] ?? 0;
}

// Japanese when the text holds kana, CJK ideographs or full-width forms.
function textLanguage(text) {
  return /[\u3000-\u30ff\u3400-\u9fff\uff00-\uffef]/.test(text) ? 'ja' : 'en';
}

export class Speech {
  // `modes`: null to number the route's voices after the two standing modes (1 Japanese,
  // 2 English, the device's own voices for them, so speech.ini's 0, 1, 2 means what it means on
  // the desktop), or a fixed list [{title, language}] (the test surroundings).
  // `timeModel` (under test): {speak(u), speakingForMs()}, how long speech lasts on the test clock.
  constructor(route, {defaultRate = 175, minRate = 80, modes = null, lastError = null,
    timeModel = null} = {}) {
    this.route = route;
    this.timeModel = timeModel;
    this.rates = {defaultRate, minRate};
    this.fixedModes = modes;
    this.fixedLastError = lastError;
    this.queue = [];
    this.current = null;  // {item, handle}
    this.holds = new Set();
    this.listeners = {start: [], end: []};
  }

  on(event, f) {
    this.listeners[event].push(f);
  }

  modes() {
    if (this.fixedModes) return this.fixedModes;
    const voices = this.route.voices();
    const standing = (lang, title) => ({title, language: languageId(lang), lang, voice: null});
    return [
      standing('ja', '日本語 (この端末の声)'),
      standing('en-US', 'English (this device\'s voice)'),
      ...voices.map((v) => ({title: v.title, language: languageId(v.lang), lang: v.lang, voice: v})),
    ];
  }

  // What the core asks: the rates, the last error and the number of modes.
  value(what) {
    if (what === 'count') return this.modes().length;
    if (what === 'lastError') return this.fixedLastError ?? this.route.lastError?.() ?? 0;
    return this.rates[what] ?? 0;
  }

  modeTitle(mode) {
    return this.modes()[mode - 1]?.title ?? null;
  }

  modeLanguage(mode) {
    return this.modes()[mode - 1]?.language ?? null;
  }

  // Whether anything is being said or waits to be.
  speaking() {
    if (this.timeModel) return this.timeModel.speakingForMs() > 0;
    return this.current !== null || this.queue.length > 0;
  }

  speakingForMs() {
    return this.timeModel?.speakingForMs() ?? 0;
  }

  // An utterance of the core: {text, mode, rate, cutByNextCaption}.
  speak(u) {
    this.timeModel?.speak(u);
    const mode = this.fixedModes ? null : this.modes()[u.mode - 1];
    // A mode that names no voice: the text's own language picks one.
    const lang = mode ? (mode.language === 1041 || mode.lang?.startsWith('ja') ? 'ja' : 'en')
        : textLanguage(u.text);
    const item = {text: u.text, voice: mode?.voice ?? null, lang, rate: u.rate,
      cut: u.cutByNextCaption};
    if (item.cut) {
      this.queue = this.queue.filter((waiting) => !waiting.cut);
      if (this.current?.item.cut) this.current.handle.cancel();
    }
    this.queue.push(item);
    this.pump();
  }

  expectCaptions(mode, rate, texts) {
    this.route.expectCaptions?.(texts.map((text) => ({text, lang: 'en', rate})));
  }

  hold(reason) {
    this.holds.add(reason);
  }

  release(reason) {
    this.holds.delete(reason);
    this.pump();
  }

  pump() {
    if (this.current || this.holds.size > 0 || this.queue.length === 0) return;
    const item = this.queue.shift();
    const handle = this.route.speak(item);
    this.current = {item, handle};
    for (const f of this.listeners.start) f(item);
    handle.done.finally(() => {
      if (this.current?.handle === handle) this.current = null;
      for (const f of this.listeners.end) f(item);
      this.pump();
    });
  }
}

// A route that makes no sound: every utterance ends at once (the test surroundings).
export const silentRoute = {
  voices: () => [],
  speak: () => ({done: Promise.resolve(), cancel() {}}),
};
