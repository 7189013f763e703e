// The page as a learner, a switch user and a screen reader meet it, in headless Chromium:
//   - the start screen: nothing is said before the first key, the prompt right after it;
//   - speech through the Web Speech API (a recording stand-in for the device's voices): focus
//     captions cut one another but never the prompt, Alt+W spells the last caption out;
//   - the focus ring on a word button, as drawn, against the face and the ground;
//   - no axe-core violation on the start screen, the drill with its words, a message box and the
//     voice dialog;
//   - a Shift-JIS lesson holding NEC and IBM characters (①㈱髙), opened through File > Open;
//   - settings set once in the settings dialog are applied, and kept over a reload;
//   - with the service worker installed, a reload with the server gone still brings the drill up.
// node page_test.mjs SITE DATA ARTEFACTS
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {createRequire} from 'node:module';
import {launchBrowser} from './lib/browser.mjs';
import {serveSite} from './lib/site_server.mjs';
import {contrast, installSpeechRecorder} from './lib/page_checks.mjs';

const [site, data, artefacts] = process.argv.slice(2);
fs.mkdirSync(artefacts, {recursive: true});
const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'),
    'utf8');

const failures = [];
async function check(name, body) {
  try {
    await body();
    console.log(`ok ${name}`);
  } catch (e) {
    failures.push(name);
    console.log(`FAILED ${name}: ${e.stack ?? e}`);
  }
}

const lessonName = 'nec-ibm.dat';
// One question whose prompt holds NEC row 13 (① ㈱) and an IBM extension kanji (髙), in
// Shift-JIS as a teacher's Windows editor saves it.
const lesson = Buffer.concat([
  Buffer.from('1\r\n'), Buffer.from([0x87, 0x40, 0x87, 0x8a, 0xfb, 0xfc]),
  Buffer.from('\r\nIt\r\nis\r\nours\r\n\r\n\r\n\r\n\r\n.\r\n*\r\n'),
]);
const lessonPath = path.join(fs.mkdtempSync(path.join(artefacts, 'lesson-')), lessonName);
fs.writeFileSync(lessonPath, lesson);

let server = await serveSite(path.resolve(site));
const {browser, close} = await launchBrowser();
const axe = async (page, what) => {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document));
  const found = result.violations.map((v) =>
    `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  assert.deepEqual(found, [], `axe-core on ${what}`);
};
const shot = (page, name) => page.screenshot({path: path.join(artefacts, name)});
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

try {
  const page = await browser.newPage();
  await page.setViewport({width: 1024, height: 700});
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await installSpeechRecorder(page);
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready]');
  const spoken = async () => (await page.evaluate(() => window.spokenLog.splice(0)))
      .filter((e) => e.event === 'speak');
  const prompt = () => page.$eval('#client [data-name="Japanease"]', (e) => e.textContent);

  await check('start screen waits for the first key, in silence', async () => {
    assert.equal(await page.$eval('#start-screen', (d) => d.open), true);
    assert.match(await page.$eval('#start-screen', (d) => d.textContent),
        /スイッチかキーを押すと始まります/);
    await shot(page, 'start-screen.png');
    await axe(page, 'the start screen');
    await pause(300);
    assert.deepEqual(await spoken(), []);
    await page.keyboard.press('Enter');
    await pause(100);
    assert.equal(await page.$eval('#start-screen', (d) => d.open), false);
    const said = await spoken();
    assert.deepEqual(said.map((u) => [u.text, u.lang]), [['私は学生です。', 'ja-JP']]);
  });

  await check('captions cut one another, never the prompt; Alt+W spells out', async () => {
    await page.evaluate(() => window.spokenLog.splice(0));
    await page.keyboard.press('Tab');  // Start, spoken while the prompt still speaks
    await page.keyboard.press('Enter');  // the words show; the scan lands on the first
    await page.keyboard.press('Tab');
    await page.keyboard.press('Tab');
    await page.evaluate(() => window.finishSpeaking());  // the prompt ends
    await pause(50);
    const log = await page.evaluate(() => window.spokenLog.splice(0));
    // The prompt was never cut; of the captions queued behind it, only the newest is heard.
    assert.equal(log.filter((e) => e.event === 'cancel').length, 0);
    assert.equal(log.filter((e) => e.event === 'speak').length, 1);
    const words = await page.$$eval('#client button[data-word]:not([hidden])',
        (bs) => bs.map((b) => b.dataset.caption));
    assert.equal(log[0].text, words[1]);
    // A newer caption cuts the one being spoken.
    await page.keyboard.press('Tab');
    await pause(20);
    const cut = await page.evaluate(() => window.spokenLog.splice(0));
    assert.deepEqual(cut.map((e) => e.event), ['cancel', 'speak']);
    assert.equal(cut[1].text, words[2]);
    await page.keyboard.down('Alt');
    await page.keyboard.press('KeyW');
    await page.keyboard.up('Alt');
    await page.evaluate(() => window.finishSpeaking());
    await pause(50);
    const spelled = (await page.evaluate(() => window.spokenLog.splice(0))).filter(
        (e) => e.event === 'speak');
    assert.equal(spelled[0]?.text, `${[...words[2]].join(' ')} `);
    assert.equal(spelled[0]?.lang, 'en-US');
  });

  await check('the focus ring on a word button', async () => {
    const ring = await page.$eval('#client button.focused', (b) => {
      const s = getComputedStyle(b);
      return {word: 'word' in b.dataset, focused: document.activeElement === b,
        width: s.borderTopWidth, colour: s.borderTopColor, face: s.backgroundColor,
        ground: getComputedStyle(b.parentElement).backgroundColor};
    });
    assert.equal(ring.word, true);
    assert.equal(ring.focused, true);
    assert.equal(ring.width, '4px');
    assert.ok(contrast(ring.colour, ring.face) >= 3, `ring against the face: ${ring.colour}`);
    assert.ok(contrast(ring.colour, ring.ground) >= 3, `ring against the ground: ${ring.colour}`);
    await shot(page, 'word-focus.png');
    await axe(page, 'the drill with its words');
  });

  await check('a message box and the voice dialog', async () => {
    const menu = async (bar, item) => {
      await page.click(`#menubar [data-name="${bar}"]`);
      await page.click(`#menubar [data-name="${item}"]`);
    };
    await menu('Help1', 'N5');
    await page.waitForSelector('dialog.box[role="alertdialog"][open]');
    await shot(page, 'message-box.png');
    await axe(page, 'a message box');
    await page.keyboard.press('Enter');
    await menu('O1', 'A2');
    await page.waitForSelector('#voice-dialog[open]');
    assert.deepEqual(await page.$$eval('#voice-dialog [role="option"]', (os) =>
      os.map((o) => o.textContent)), ['1) 日本語 (この端末の声)', '3) Kyoko (ja-JP)',
      '2) English (this device\'s voice)', '4) Samantha (en-US)', '5) Daniel (en-GB)']);
    await shot(page, 'voice-dialog.png');
    await axe(page, 'the voice dialog');
    await page.keyboard.press('Escape');
    assert.equal(await page.$eval('#voice-dialog', (d) => d.open), false);
    assert.ok(await page.evaluate(() => document.getElementById('client').contains(
        document.activeElement)), 'the keyboard is back in the window');
  });

  await check('a Shift-JIS lesson opened through File > Open', async () => {
    await page.click('#menubar [data-name="File1"]');
    const [chooser] = await Promise.all([page.waitForFileChooser(),
      page.click('#menubar [data-picks-file]')]);
    await chooser.accept([lessonPath]);
    await page.waitForFunction(() => document.querySelector(
        '#client [data-name="Japanease"]').textContent.startsWith('①'));
    assert.equal(await prompt(), '①㈱髙');
  });

  await check('settings set once are applied and kept over a reload', async () => {
    const openSettings = async () => {
      await page.evaluate(() => document.querySelector('#menubar [data-edits-settings]')
          .closest('.menu-slot').querySelector('.menu-title').click());
      await page.click('#menubar [data-edits-settings]');
      await page.waitForSelector('#settings-dialog[open]');
    };
    const scanChecked = () => page.$eval('#menubar [data-name="N7"]',
        (e) => e.getAttribute('aria-checked'));
    assert.equal(await scanChecked(), 'false');
    await openSettings();
    await axe(page, 'the settings dialog');
    await page.click('#settings-dialog [name="auto_scan"]');
    await page.$eval('#settings-dialog [name="results"]', (e) => { e.value = 'results.csv'; });
    await page.click('#settings-dialog [data-action="ok"]');
    assert.equal(await scanChecked(), 'true', 'the scan is on once the settings are taken');
    await page.reload();
    await page.waitForSelector('#start-screen[open]');
    await page.keyboard.press('Space');
    assert.equal(await scanChecked(), 'true', 'the scan is on from start after a reload');
    await openSettings();
    assert.equal(await page.$eval('#settings-dialog [name="results"]', (e) => e.value),
        'results.csv');
    await page.click('#settings-dialog [data-action="cancel"]');
    assert.equal(await page.$eval('#settings-dialog', (d) => d.open), false);
  });

  await check('offline after the first visit', async () => {
    await page.evaluate(() => navigator.serviceWorker.ready);
    server.close();
    server.server.closeAllConnections();
    await page.reload();
    await page.waitForSelector('html[data-ready]');
    await page.keyboard.press('Space');
    assert.equal(await prompt(), '私は学生です。');
  });

  assert.deepEqual(errors, [], 'errors in the page');
} catch (e) {
  failures.push('setup');
  console.log(`FAILED: ${e.stack ?? e}`);
} finally {
  await close();
  server.close();
}
if (failures.length) {
  console.log(`${failures.length} failed: ${failures.join(', ')}`);
  process.exit(1);
}
