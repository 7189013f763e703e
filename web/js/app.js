// The page around the core: every event of the window goes into the core by name, and after each
// the window, the menus, the voice dialog and the scan timer are drawn again from the model it
// hands back. Boxes and dialogs stand in front of the window while they are open: the keyboard
// is theirs, and the scan's steps wait, as behind the desktop's modal boxes.
import {Boxes} from './boxes.js';
import {LessonFiles} from './files.js';
import {coreKey, HeldModifiers} from './keys.js';
import {MenuBar} from './menubar.js';
import {Modals} from './modals.js';
import {ScanTimer, TestClock} from './scan_timer.js';
import {SettingsDialogView} from './settings_dialog.js';
import {VoiceDialogView} from './voice_dialog.js';
import {fitToScreen, WindowView} from './window_view.js';

const TEST_EPOCH_MS = 946684800000;

export class App {
  // `clock`: 'real', or 'test' for the runner's clock. `storage.save()` keeps the learner's files.
  constructor(core, speech, {clock = 'real', storage = null} = {}) {
    this.core = core;
    this.speech = speech;
    this.storage = storage;
    this.layout = core.layout();
    this.state = null;
    this.finished = false;
    this.busy = 0;  // events still reading a file
    this.transcript = [];
    this.held = new HeldModifiers(document);
    const $ = (id) => document.getElementById(id);
    this.windowElement = $('window');
    this.modals = new Modals(() => this.settle());
    this.boxes = new Boxes(this.modals, this.layout.boxTitle, speech);
    this.view = new WindowView($('client'), this.layout, (name) => this.run(() => core.click(name)));
    this.menus = new MenuBar($('menubar'), this.layout, (entry) => this.command(entry),
        () => this.settle());
    this.voiceDialog = new VoiceDialogView($('voice-dialog'), this.modals, core, (f) => this.run(f));
    this.settingsDialog = new SettingsDialogView($('settings-dialog'), this.modals, {
      apply: (text) => this.run(() => core.settings(text)),
      cancel: () => this.run(() => core.settings(null)),
      readFile: (name) => {
        try {
          return core.FS.readFile(name);
        } catch {
          return null;
        }
      },
    });
    this.files = new LessonFiles(core.FS, $('file-chooser'));
    const speaking = () => speech.speaking();
    this.timer = clock === 'test'
      ? new TestClock(() => this.tick(), () => this.finished, () => speech.speakingForMs())
      : new ScanTimer(() => this.tick(), speaking);
    this.hostCalls = this.host();
    this.wireInput();
    fitToScreen(this.windowElement);
    addEventListener('resize', () => fitToScreen(this.windowElement));
  }

  // What the core calls back (src/web/host.cpp).
  host() {
    return {
      messageBox: (text, error) => this.boxes.message(text, error),
      beep: () => this.beep(),
      showHelp: (path) => this.modals.enqueue(() => this.boxes.help(path, () => this.activate())),
      transcriptLine: (line) => this.transcript.push(line),
      heldModifiers: () => this.held.bits,
      timeOfDayMs: () => (this.timer instanceof TestClock ? this.timer.now : Date.now()) % 86400000,
      // The test clock starts at 2000-01-01T00:00:00, as the headless runner's does.
      localTimeMs: () => (this.timer instanceof TestClock ? TEST_EPOCH_MS + this.timer.now
        : Date.now() - new Date().getTimezoneOffset() * 60000),
      speech: this.speech,
    };
  }

  // Runs one event of the core and draws what it left.
  run(event) {
    if (this.finished) return;
    event();
    this.render();
    // What the event wrote (settings.ini, speech.ini, a row of the results record) is kept.
    this.storage?.save();
  }

  render() {
    const state = this.core.state();
    this.state = state;
    this.view.update(state, this.windowTakesFocus());
    this.menus.update(state);
    this.voiceDialog.update(state);
    this.timer.update(state.timer);
    if (state.finished && !this.finished) {
      this.finished = true;
      this.timer.update({...state.timer, enabled: false});
      this.boxes.endScreen();
    }
    this.modals.flush();
  }

  windowTakesFocus() {
    return !this.modals.isOpen() && !this.menus.isOpen() && !this.menus.hasFocus();
  }

  // The boxes and menus in front have gone: the window has the keyboard again.
  settle() {
    if (this.windowTakesFocus()) this.view.placeFocus();
  }

  // The window became active again (a dialog of the page closed, the learner came back to it).
  activate() {
    if (!this.modals.blocksWindow()) this.run(() => this.core.activate());
  }

  tick() {
    if (this.modals.blocksWindow() || this.picking) return;
    this.run(() => this.core.tick());
  }

  command(entry) {
    if (entry.picksFile) return this.openFile(() => this.files.choose());
    if (entry.editsSettings) {
      if (!this.finished && !this.modals.blocksWindow() && !this.state?.dialog.open) {
        this.settingsDialog.show(this.state.settings);
      }
      return;
    }
    this.run(() => this.core.menu(entry.name));
  }

  // File > Open, or a file dropped on the window: the core opens what the page was given.
  async openFile(getFile) {
    if (this.finished || this.modals.blocksWindow() || this.state?.dialog.open) return;
    ++this.busy;
    this.picking = true;
    try {
      const file = await getFile();
      const path = file ? await this.files.put(file) : null;
      this.picking = false;
      this.run(() => this.core.open(path));
      if (path) this.files.forgetOlder(path);
    } finally {
      this.picking = false;
      --this.busy;
    }
  }

  beep() {
    try {
      this.audio ??= new AudioContext();
      const tone = this.audio.createOscillator();
      const gain = this.audio.createGain();
      gain.gain.value = 0.2;
      tone.frequency.value = 880;
      tone.connect(gain).connect(this.audio.destination);
      tone.start();
      tone.stop(this.audio.currentTime + 0.12);
    } catch {
      // No sound to beep with.
    }
  }

  wireInput() {
    document.addEventListener('keydown', (e) => this.onKey(e));
    // Space and Enter would also press the focused button of their own accord on release.
    document.addEventListener('keyup', (e) => {
      if (!this.modals.isOpen() && !this.menus.hasFocus() && coreKey(e)) e.preventDefault();
    });
    addEventListener('focus', () => this.activate());
    const win = this.windowElement;
    win.addEventListener('dragover', (e) => {
      e.preventDefault();
      win.classList.add('dropping');
    });
    win.addEventListener('dragleave', () => win.classList.remove('dropping'));
    win.addEventListener('drop', (e) => {
      e.preventDefault();
      win.classList.remove('dropping');
      const file = e.dataTransfer?.files[0];
      if (file) this.openFile(async () => file);
    });
  }

  onKey(e) {
    // Boxes, dialogs and the menus keep their own keys.
    if (this.modals.isOpen() || this.menus.hasFocus() || e.defaultPrevented) return;
    const letter = e.code.startsWith('Key') ? e.code.slice(3) : '';
    if (e.altKey && !e.ctrlKey && !e.shiftKey && letter && this.menus.openByAccessKey(letter)) {
      e.preventDefault();
      return;
    }
    if (e.key === 'F10' && !e.altKey && !e.ctrlKey && !e.shiftKey) {
      e.preventDefault();
      this.menus.focusBar();
      return;
    }
    const key = coreKey(e);
    if (!key) return;
    e.preventDefault();
    this.run(() => this.core.key(key.name, key.modifiers, key.repeat));
  }
}
