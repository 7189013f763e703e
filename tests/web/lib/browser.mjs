// Debian's Chromium, headless, driven through puppeteer-core: a fresh profile every time, and
// nothing of its own on the network.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvane-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.ORVANE_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run',
      `--user-data-dir=${profile}`],
    // The profile folder is the browser's home too: a runner without a home of its own (the
    // scenario tests run one as nobody) still has somewhere to write.
    env: {...process.env, HOME: profile, XDG_CONFIG_HOME: profile, XDG_CACHE_HOME: profile},
    protocolTimeout: 60000,
  });
  const close = async () => {
    await browser.close().catch(() => {});
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return {browser, close};
}
