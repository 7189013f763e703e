// orvane-sim-web [SCRIPT]: orvane-sim's contract, kept by the page in a real browser. It runs
// in the folder that holds toi.dat and speech.ini, reads the same script (standard input without
// SCRIPT) and prints the same transcript, driving the page in Debian's Chromium as a learner
// would: keys as the browser's key events, clicks on the page's elements, menu items through its
// menu bar, File > Open through its file chooser, and `show` read back from what the page shows.
// The say, message, error, beep, help, focus and exit lines come from the bridge's adapters (as
// orvane-sim's come from its recording adapter); `wait` moves the page's test clock on.
//
// Options (the build's bin/orvane-sim-web passes them): --site DIR (the built site), --program
// PATH (the program's own file, beside which the help lies).
import fs from 'node:fs';
import path from 'node:path';
import {launchBrowser} from './lib/browser.mjs';
import {PageDriver} from './lib/page_driver.mjs';
import {parseLine} from './lib/script.mjs';
import {serveSite} from './lib/site_server.mjs';

const args = process.argv.slice(2);
const option = (name) => {
  const at = args.indexOf(name);
  return at < 0 ? null : args.splice(at, 2)[1];
};
const site = option('--site');
const programPath = option('--program') ?? '/usr/bin/orvane';
if (!site || args.length > 1 || args[0]?.startsWith('--')) {
  process.stderr.write('usage: orvane-sim-web [SCRIPT]\n');
  process.exit(2);
}
const name = args[0] ?? '<stdin>';
let text;
try {
  text = fs.readFileSync(args[0] ?? 0, 'utf8');
} catch {
  process.stderr.write(`orvane-sim-web: cannot read ${name}\n`);
  process.exit(2);
}

const out = [];
const print = (line) => out.push(line);

// The folder as the program would find it: its entries, what may be written.
function folderEntries(dir) {
  const writable = (p) => {
    try {
      fs.accessSync(p, fs.constants.W_OK);
      return true;
    } catch {
      return false;
    }
  };
  const entries = fs.readdirSync(dir).map((entry) => {
    const p = path.join(dir, entry);
    const st = fs.statSync(p, {throwIfNoEntry: false}) ?? fs.lstatSync(p);
    if (st.isDirectory()) return {name: entry, type: 'dir'};
    if (!st.isFile()) return {name: entry, type: 'special'};
    return {name: entry, type: 'file', writable: writable(p),
      bytes: fs.readFileSync(p).toString('base64')};
  });
  return {entries, writable: writable(dir)};
}

// What the drill wrote into its folder goes back to disk.
function writeBack(dir, files) {
  for (const [entry, base64] of Object.entries(files)) {
    const p = path.join(dir, entry);
    const bytes = Buffer.from(base64, 'base64');
    const old = fs.existsSync(p) ? fs.readFileSync(p) : null;
    if (!old || !old.equals(bytes)) fs.writeFileSync(p, bytes);
  }
}

async function main() {
  const lines = text.split('\n');
  if (lines.at(-1) === '') lines.pop();
  const config = {voices: [], rate: 175, minRate: 80, lastError: 0, programPath};
  const server = await serveSite(path.resolve(site));
  const {browser, close} = await launchBrowser();
  let driver = null;
  let status = 0;
  try {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    await page.goto(`${server.url}index.html?test`);
    await page.waitForSelector('html[data-ready]', {timeout: 30000});
    driver = new PageDriver(page, print);
    for (let i = 0; i < lines.length; ++i) {
      let c;
      try {
        c = parseLine(lines[i]);
      } catch (e) {
        throw Object.assign(e, {line: i + 1});
      }
      if (!c) continue;
      const problem = await step(c, config, driver);
      if (problem) throw Object.assign(new Error(problem), {line: i + 1});
      if (driver.started && await driver.finished()) break;
      if (errors.length) throw new Error(`the page failed: ${errors.join('; ')}`);
    }
    if (driver.started) writeBack(process.cwd(), await driver.files());
  } catch (e) {
    status = 2;
    process.stdout.write(out.join('\n') + (out.length ? '\n' : ''));
    out.length = 0;
    process.stderr.write(`orvane-sim-web: ${name}${e.line ? `:${e.line}` : ''}: ${e.message}\n`);
  } finally {
    await close();
    server.close();
  }
  if (status) process.exit(status);
  const written = process.stdout.write(out.join('\n') + (out.length ? '\n' : ''));
  if (!written) await new Promise((resolve) => process.stdout.once('drain', resolve));
}

// Runs one command; a message when it cannot stand where it is.
async function step(c, config, driver) {
  const setup = ['voice', 'rate', 'lasterror'].includes(c.op);
  if (setup) {
    if (driver.started) return `'${c.text}' must come before start`;
    if (c.op === 'voice') config.voices.push({language: c.a, title: c.arg});
    if (c.op === 'rate') Object.assign(config, {rate: c.a, minRate: c.b});
    if (c.op === 'lasterror') config.lastError = c.a;
    return null;
  }
  if (c.op === 'start') {
    if (driver.started) return 'the program has started already';
    const {entries, writable} = folderEntries(process.cwd());
    await driver.start({...config, startFile: c.arg, folder: entries, folderWritable: writable});
    return null;
  }
  if (!driver.started) return `'${c.text}' needs the program started first`;
  return driver.perform(c);
}

await main();
