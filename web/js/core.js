// The core in WebAssembly (orvane.js, orvane.wasm, built from src/ with the bridge in src/web/):
// the page's events go in by their names, and the window model comes back as JSON after each.
import createOrvane from '../orvane.js';

// `host` is what the core calls back: boxes, help, the clock, the speech (src/web/host.cpp).
export async function loadCore(host) {
  const module = await createOrvane({orvaneHost: host});
  const call = (name, ...args) =>
    module.ccall(name, null, args.map((a) => (typeof a === 'number' ? 'number' : 'string')), args);
  return {
    FS: module.FS,
    layout: () => JSON.parse(module.UTF8ToString(module.ccall('orvane_layout', 'number', [], []))),
    state: () => JSON.parse(module.UTF8ToString(module.ccall('orvane_state', 'number', [], []))),
    // `fileGiven`: the lesson was named by the learner, not the default one.
    start: (testMode, programPath, speechIniPath, startFilePath, fileGiven = false) =>
      call('orvane_start', testMode ? 1 : 0, programPath, speechIniPath, startFilePath,
          fileGiven ? 1 : 0),
    click: (name) => call('orvane_click', name),
    // `modifiers`: Shift 1, Ctrl 2, Alt 4; `repeat`: an automatic repeat of a held key.
    key: (name, modifiers, repeat = false) => call('orvane_key', name, modifiers, repeat ? 1 : 0),
    menu: (name) => call('orvane_menu', name),
    // Where the page put the chosen file, or null when the file chooser was cancelled.
    open: (path) => module.ccall('orvane_open', null, ['string'], [path]),
    tick: () => call('orvane_tick'),
    // The settings dialog's fields as settings.ini lines, or null when it was cancelled.
    settings: (text) => module.ccall('orvane_settings', null, ['string'], [text]),
    activate: () => call('orvane_activate'),
    dialogSelect: (list, pos) => call('orvane_dialog_select', list, pos),
    dialogOk: () => call('orvane_dialog_ok'),
    dialogCancel: () => call('orvane_dialog_cancel'),
  };
}
