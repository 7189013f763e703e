// The page's figures in headless Chromium on the loopback: cold start to the prompt shown, a key
// handled and drawn (from the key event to the next frame), and the size of the core and page
// gzipped. usage: node bench/web_page.mjs SITE_DIR (run from tests/web's packages, as the
// browser tests are: NODE_PATH=tests/web/node_modules)
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {launchBrowser} from '../tests/web/lib/browser.mjs';
import {serveSite} from '../tests/web/lib/site_server.mjs';

const site = path.resolve(process.argv[2] ?? 'build-web/site');
const percentile = (xs, p) => [...xs].sort((a, b) => a - b)[Math.ceil((p / 100) * xs.length) - 1];

function gzippedBytes() {
  const files = ['index.html', 'style.css', 'orvane.js', 'orvane.wasm', 'sw.js',
    ...fs.readdirSync(path.join(site, 'js')).map((f) => `js/${f}`)];
  return files.reduce((sum, f) => sum + zlib.gzipSync(fs.readFileSync(path.join(site, f)),
      {level: 9}).length, 0);
}

const server = await serveSite(site);
const {browser, close} = await launchBrowser();
try {
  const starts = [];
  for (let i = 0; i < 5; ++i) {
    const context = await browser.createBrowserContext();  // cold: nothing cached
    const page = await context.newPage();
    const t0 = Date.now();
    await page.goto(`${server.url}index.html`);
    await page.waitForFunction(() =>
      document.querySelector('#client [data-name="Japanease"]')?.textContent.length > 0);
    starts.push(Date.now() - t0);
    await context.close();
  }
  const page = await browser.newPage();
  await page.goto(`${server.url}index.html`);
  await page.waitForSelector('#start-screen[open]');
  await page.keyboard.press('Space');
  await page.evaluate(() => {
    window.keyTimes = [];
    document.addEventListener('keydown', (e) => {
      const at = e.timeStamp;
      requestAnimationFrame(() => window.keyTimes.push(performance.now() - at));
    }, true);
  });
  for (let i = 0; i < 100; ++i) {
    await page.keyboard.press('Tab');
    await new Promise((r) => setTimeout(r, 20));
  }
  const keys = await page.evaluate(() => window.keyTimes);
  console.log(`cold start to the prompt shown: median ${percentile(starts, 50)} ms, ` +
      `worst ${Math.max(...starts)} ms (${starts.length} runs)`);
  console.log(`key to the next frame: median ${percentile(keys, 50).toFixed(1)} ms, ` +
      `95th percentile ${percentile(keys, 95).toFixed(1)} ms (${keys.length} Tabs)`);
  console.log(`core and page gzipped: ${(gzippedBytes() / 1024).toFixed(1)} KB`);
} finally {
  await close();
  server.close();
}
