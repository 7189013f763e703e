// Drives the page as a learner would, one script command at a time: keys through the browser's
// key events, clicks on its elements, its menu bar and file chooser; and reads back what the page
// shows. Message boxes and the help are closed after each command, as orvane-sim's modal boxes
// return at once.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {quote} from './script.mjs';

const KEYS = {
  Tab: 'Tab', Enter: 'Enter', Space: 'Space', Left: 'ArrowLeft', Right: 'ArrowRight',
  Up: 'ArrowUp', Down: 'ArrowDown', R: 'KeyR', W: 'KeyW', S: 'KeyS', E: 'KeyE',
};
const MODIFIERS = {Shift: 'Shift', Ctrl: 'Control', Alt: 'Alt'};
// The DevTools protocol's modifier bits and each key's event fields, for an automatic repeat,
// which puppeteer's keyboard sends only for a key it holds down itself.
const CDP_MODIFIERS = {Alt: 1, Control: 2, Shift: 8};
const KEY_EVENTS = {
  Tab: {key: 'Tab', code: 'Tab', windowsVirtualKeyCode: 9},
  Enter: {key: 'Enter', code: 'Enter', windowsVirtualKeyCode: 13, text: '\r'},
  Space: {key: ' ', code: 'Space', windowsVirtualKeyCode: 32, text: ' '},
  ArrowLeft: {key: 'ArrowLeft', code: 'ArrowLeft', windowsVirtualKeyCode: 37},
  ArrowUp: {key: 'ArrowUp', code: 'ArrowUp', windowsVirtualKeyCode: 38},
  ArrowRight: {key: 'ArrowRight', code: 'ArrowRight', windowsVirtualKeyCode: 39},
  ArrowDown: {key: 'ArrowDown', code: 'ArrowDown', windowsVirtualKeyCode: 40},
  KeyE: {key: 'e', code: 'KeyE', windowsVirtualKeyCode: 69},
  KeyR: {key: 'r', code: 'KeyR', windowsVirtualKeyCode: 82},
  KeyS: {key: 's', code: 'KeyS', windowsVirtualKeyCode: 83},
  KeyW: {key: 'w', code: 'KeyW', windowsVirtualKeyCode: 87},
};

const flag = (b) => (b ? '1' : '0');

// What the file chooser is given for PATH. A browser reads a FIFO, socket or device as an empty
// file, so the page could never tell one from an empty lesson; a device's own file chooser offers
// none of them. Such a PATH is handed over as a name with nothing behind it, which the browser
// cannot read, as it cannot read a folder or a missing file.
let nothing = null;  // an empty folder of the run's own
function chosenPath(p) {
  const st = fs.statSync(p, {throwIfNoEntry: false});
  if (!st || st.isFile() || st.isDirectory()) return p;
  if (!nothing) {
    nothing = fs.mkdtempSync(path.join(os.tmpdir(), 'orvane-special-'));
    process.on('exit', () => fs.rmSync(nothing, {recursive: true, force: true}));
  }
  return path.join(nothing, path.basename(p));
}
// A name inside a quoted attribute selector.
const attr = (name) => name.replace(/["\\]/g, '\\$&');

export class PageDriver {
  constructor(page, print) {
    this.page = page;
    this.print = print;
    this.started = false;
  }

  async start(config) {
    this.started = true;
    await this.page.evaluate((c) => window.orvaneTest.start(c), config);
    // The start screen waits for a key, as for the learner's switch.
    await this.page.waitForSelector('#start-screen[open]');
    await this.page.keyboard.press('Space');
    await this.settle();
  }

  finished() {
    return this.page.evaluate(() => window.orvaneTest.finished());
  }

  files() {
    return this.page.evaluate(() => window.orvaneTest.files());
  }

  // Waits for what the page does after an event (reading a chosen file), closes the boxes and
  // the help in front of the window, and prints the transcript lines the bridge wrote.
  async settle() {
    const page = this.page;
    await page.waitForFunction(() => window.orvaneTest.idle());
    for (;;) {
      // The settings dialog too: orvane-sim's settings dialog gives nothing back at once.
      const closer = await page.$('dialog.box[role="alertdialog"][open] button, ' +
          '#help-dialog[open] .box-buttons button, ' +
          '#settings-dialog[open] .box-buttons [data-action="cancel"]');
      if (!closer) break;
      await closer.click();
      await page.waitForFunction(() => window.orvaneTest.idle());
    }
    for (const line of await page.evaluate(() => window.orvaneTest.lines())) this.print(line);
  }

  refuse(c) {
    this.print(`refused ${c.text}`);
    return null;
  }

  voiceDialogOpen() {
    return this.page.$eval('#voice-dialog', (d) => d.open);
  }

  // A button of the main window a person could click: shown, enabled, nothing modal in front.
  async clickable(handle) {
    if (await this.voiceDialogOpen()) return false;
    return handle.evaluate((e) => !e.hidden && !e.disabled && e.getClientRects().length > 0);
  }

  async perform(c) {
    const result = await this.act(c);
    if (typeof result === 'string') return result;
    await this.settle();
    return null;
  }

  async act(c) {
    const page = this.page;
    switch (c.op) {
      case 'click': {
        const button = await page.$(`#client button[data-name="${attr(c.arg)}"]`);
        if (!button) {
          if (await page.$(`#client [data-name="${attr(c.arg)}"]`)) return this.refuse(c);
          return `no control named '${c.arg}'`;
        }
        if (!(await this.clickable(button))) return this.refuse(c);
        return button.click();
      }
      case 'clickword': {
        for (const button of await page.$$('#client button[data-word]')) {
          const caption = await button.evaluate((e) => e.dataset.caption);
          if (caption === c.arg && (await this.clickable(button))) return button.click();
        }
        return this.refuse(c);
      }
      case 'key':
        return this.key(c.arg);
      case 'menu':
        return this.menu(c);
      case 'open':
      case 'open-cancel': {
        if (await this.voiceDialogOpen()) return this.refuse(c);
        const [chooser] = await Promise.all([
          page.waitForFileChooser(),
          this.chooseMenuItem(await page.$('#menubar [data-picks-file]')),
        ]);
        if (c.op === 'open-cancel') return chooser.cancel();
        return chooser.accept([chosenPath(path.resolve(process.cwd(), c.arg))]);
      }
      case 'dialog-select': {
        if (!(await this.voiceDialogOpen())) return this.refuse(c);
        const options = await page.$$(`#voice-dialog [data-name="${c.arg}"] [role="option"]`);
        if (c.a < 0 || c.a >= options.length) return this.refuse(c);
        return options[c.a].click();
      }
      case 'dialog-ok':
      case 'dialog-cancel': {
        if (!(await this.voiceDialogOpen())) return this.refuse(c);
        const action = c.op === 'dialog-ok' ? 'ok' : 'cancel';
        return (await page.$(`#voice-dialog .dialog-button[data-action="${action}"]`)).click();
      }
      case 'tick':
        return page.evaluate(() => window.orvaneTest.tick());
      case 'wait':
        return page.evaluate((ms) => window.orvaneTest.advance(ms), c.a);
      case 'show':
        return this.show(c.arg);
      case 'show-focus':
        return this.print(`focus ${await this.focusName()}`);
      case 'show-timer': {
        const t = await page.evaluate(() => window.orvaneTest.timer());
        return this.print(`timer enabled=${flag(t.enabled)} interval=${t.interval}`);
      }
      case 'show-dialog':
        for (const list of ['ListBox1', 'ListBox2']) {
          const items = await page.$$eval(`#voice-dialog [data-name="${list}"] [role="option"]`,
              (os) => os.map((o) => [o.textContent, o.getAttribute('aria-selected') === 'true']));
          items.forEach(([text, selected], i) =>
            this.print(`${list} ${i} ${quote(text)} selected=${flag(selected)}`));
        }
        return null;
      default:
        return 'unexpected command';
    }
  }

  async key(stroke) {
    // "key Enter repeat": an automatic repeat of a held key.
    const repeat = stroke.endsWith(' repeat');
    let rest = repeat ? stroke.slice(0, -' repeat'.length) : stroke;
    const held = [];
    for (let m; (m = /^(Shift|Ctrl|Alt)\+(.+)$/.exec(rest));) {
      held.push(MODIFIERS[m[1]]);
      rest = m[2];
    }
    const key = KEYS[rest];
    if (!key) return `no key named '${stroke}'`;
    for (const m of held) await this.page.keyboard.down(m);
    if (repeat) {
      this.cdp ??= await this.page.target().createCDPSession();
      const fields = {...KEY_EVENTS[key],
        modifiers: held.reduce((bits, m) => bits | CDP_MODIFIERS[m], 0)};
      if (fields.modifiers & ~CDP_MODIFIERS.Shift) delete fields.text;
      await this.cdp.send('Input.dispatchKeyEvent', {type: fields.text ? 'keyDown' : 'rawKeyDown',
        autoRepeat: true, ...fields});
      await this.cdp.send('Input.dispatchKeyEvent', {type: 'keyUp', ...fields, text: undefined});
    } else {
      await this.page.keyboard.press(key);
    }
    for (const m of held.reverse()) await this.page.keyboard.up(m);
    return null;
  }

  // Opens the item's menu from the menu bar and clicks the item.
  async chooseMenuItem(item) {
    const title = await item.evaluateHandle((e) => e.closest('.menu-slot').querySelector(
        '.menu-title'));
    await title.click();
    await item.click();
  }

  async menu(c) {
    const item = await this.page.$(`#menubar [data-name="${attr(c.arg)}"]`);
    if (!item) return `no menu item named '${c.arg}'`;
    if (await item.evaluate((e) => 'picksFile' in e.dataset)) {
      return 'File > Open is \'open PATH\' or \'open cancel\'';
    }
    const runnable = await item.evaluate((e) => e.classList.contains('menu-item') &&
        e.getAttribute('aria-disabled') !== 'true');
    if (!runnable || (await this.voiceDialogOpen())) return this.refuse(c);
    return this.chooseMenuItem(item);
  }

  // The main window's focused control: where the browser's focus is when the window has it,
  // else the one the window shows focused behind a dialog.
  focusName() {
    return this.page.evaluate(() => {
      const client = document.getElementById('client');
      const active = document.activeElement;
      const shown = client.querySelector('.focused');
      if (client.contains(active)) {
        const name = active === client ? null : active.dataset.name;
        if ((shown?.dataset.name ?? null) !== name) return `mismatch (${name} ${shown?.dataset.name})`;
        return name ?? 'none';
      }
      return shown?.dataset.name ?? 'none';
    });
  }

  async show(name) {
    const found = await this.page.evaluate((n) => {
      const e = document.querySelector(`#client [data-name="${CSS.escape(n)}"]`);
      if (e) {
        return {caption: e.dataset.caption ?? '', visible: !e.hidden && e.getClientRects().length > 0,
          enabled: !e.disabled, checked: false};
      }
      const m = document.querySelector(`#menubar [data-name="${CSS.escape(n)}"]`);
      if (!m) return null;
      return {caption: m.dataset.caption ?? '', visible: true,
        enabled: m.getAttribute('aria-disabled') !== 'true',
        checked: m.getAttribute('aria-checked') === 'true'};
    }, name);
    if (!found) return `no control or menu item named '${name}'`;
    this.print(`${name} caption=${quote(found.caption)} visible=${flag(found.visible)} ` +
        `enabled=${flag(found.enabled)} checked=${flag(found.checked)}`);
    return null;
  }
}
