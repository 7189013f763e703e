// Helpers of the page's browser tests: a recording stand-in for the device's voices, and WCAG's
// contrast ratio.

// Replaces speechSynthesis before the page loads: three voices (Japanese by default, two
// English), and a log of what is spoken and cut. An utterance goes on until it is cancelled or
// the test calls finishSpeaking(), as a real voice would still be talking.
export function installSpeechRecorder(page) {
  return page.evaluateOnNewDocument(() => {
    const voices = [
      {name: 'Kyoko', lang: 'ja-JP', default: true, localService: true, voiceURI: 'Kyoko'},
      {name: 'Samantha', lang: 'en-US', default: false, localService: true, voiceURI: 'Samantha'},
      {name: 'Daniel', lang: 'en-GB', default: false, localService: true, voiceURI: 'Daniel'},
    ];
    window.spokenLog = [];
    let current = null;
    const end = () => {
      const u = current;
      current = null;
      u?.onend?.({});
    };
    const synth = {
      getVoices: () => voices,
      addEventListener() {},
      speak(u) {
        window.spokenLog.push({event: 'speak', text: u.text, lang: u.lang, rate: u.rate,
          voice: u.voice?.name ?? null});
        current = u;
        setTimeout(() => u.onstart?.({}), 0);
      },
      cancel() {
        if (!current) return;
        window.spokenLog.push({event: 'cancel', text: current.text});
        end();
      },
    };
    window.finishSpeaking = end;
    Object.defineProperty(window, 'speechSynthesis', {value: synth, configurable: true});
    // The real utterance refuses a voice that is not one of the browser's own.
    window.SpeechSynthesisUtterance = class {
      constructor(text) {
        this.text = text;
      }
    };
  });
}

function luminance(rgb) {
  const [r, g, b] = rgb.match(/\d+/g).slice(0, 3).map((v) => {
    const c = Number(v) / 255;
    return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
  });
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

// The contrast ratio of two CSS colours "rgb(r, g, b)".
export function contrast(a, b) {
  const [hi, lo] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (hi + 0.05) / (lo + 0.05);
}
