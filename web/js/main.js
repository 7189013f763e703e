// Start-up of the page. The core loads while the lesson and the learner's stored files are
// fetched; the drill starts behind the start screen, which waits for the first key or touch
// before anything is heard. Under test (index.html?test) the runner starts it instead.
import {App} from './app.js';
import {loadCore} from './core.js';
import {fetchStartLesson} from './files.js';
import {Speech, silentRoute} from './speech.js';
import {FOLDER, openStorage} from './storage.js';
import {folderFiles, layOutFolder, SpeechTimeModel} from './test_mode.js';
import {webSpeechRoute} from './web_speech_route.js';

const params = new URLSearchParams(location.search);

// Where the core finds the program's own file (the help lies beside it) and the lesson at start.
const PROGRAM = '/program/orvane';
const START_LESSON = '/lesson/toi.dat';

// The core calls back into the app and the speech, which are made once the core is there.
function lateHost() {
  const parts = {app: null, speech: null};
  const host = new Proxy({}, {
    get: (_, name) => (name === 'speech' ? parts.speech : parts.app.hostCalls[name]),
  });
  return {host, parts};
}

async function startPage() {
  const speech = new Speech(webSpeechRoute());
  speech.hold('start');
  const lesson = fetchStartLesson(params);
  const defaults = fetch('examples/speech.ini')
      .then((r) => (r.ok ? r.arrayBuffer() : null))
      .then((b) => b && new Uint8Array(b)).catch(() => null);
  const {host, parts} = lateHost();
  parts.speech = speech;
  const core = await loadCore(host);
  const storage = await openStorage(core.FS, defaults).catch(() => null);
  if (!storage) core.FS.mkdirTree(FOLDER);
  core.FS.chdir(FOLDER);
  const {bytes, error} = await lesson;
  core.FS.mkdirTree(START_LESSON.slice(0, START_LESSON.lastIndexOf('/')));
  if (bytes) core.FS.writeFile(START_LESSON, bytes);

  const app = new App(core, speech, {storage});
  parts.app = app;
  const started = app.boxes.startScreen();
  app.run(() => core.start(false, PROGRAM, 'speech.ini', START_LESSON));
  if (error) app.boxes.message(error, true);
  document.documentElement.dataset.ready = '1';
  await started;
  speech.release('start');
  app.modals.flush();
  app.settle();
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
}

// The runner's hooks (tests/web/): the page itself is driven through its keys, clicks, menus and
// file chooser; these only set up what orvane-sim's script sets up and read the transcript.
async function startUnderTest() {
  const {host, parts} = lateHost();
  const core = await loadCore(host);
  let app = null;
  window.orvaneTest = {
    // config: {voices: [{language, title}], rate, minRate, lastError, programPath, startFile,
    //          folder: [{name, type, bytes, writable}], folderWritable}
    start(config) {
      const modes = config.voices.length ? config.voices
          : [{language: 1041, title: 'Japanese'}, {language: 1033, title: 'English'}];
      const timeModel = new SpeechTimeModel(() => app?.timer.now ?? 0);
      const speech = new Speech(silentRoute, {defaultRate: config.rate, minRate: config.minRate,
        modes, lastError: config.lastError, timeModel});
      parts.speech = speech;
      speech.hold('start');
      layOutFolder(core.FS, config.folder, config.folderWritable);
      app = new App(core, speech, {clock: 'test'});
      parts.app = app;
      app.boxes.startScreen().then(() => {
        speech.release('start');
        app.modals.flush();
        app.settle();
      });
      const startFile = config.startFile || 'toi.dat';
      app.run(() => core.start(true, config.programPath, 'speech.ini', startFile,
          !!config.startFile));
    },
    lines: () => app.transcript.splice(0),
    advance: (ms) => app.timer.advance(ms),
    tick: () => app.tick(),
    timer: () => app.timer.timer,
    finished: () => app.finished,
    idle: () => app.busy === 0,
    files: () => folderFiles(core.FS),
  };
  document.documentElement.dataset.ready = '1';
}

(params.has('test') ? startUnderTest() : startPage()).catch((e) => {
  document.body.textContent = `Orvane を始められません: ${e}`;
  throw e;
});
