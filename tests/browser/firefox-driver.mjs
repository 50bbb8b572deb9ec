// Firefox for the browser tests: Debian's firefox-esr driven by puppeteer-core
// over WebDriver BiDi, one browser per startFirefox().

import { existsSync } from 'node:fs';

import { FAKE_CLOCK } from './engines.mjs';

export const FIREFOX = process.env.BRENVIK_FIREFOX || '/usr/bin/firefox-esr';

export async function startFirefox() {
  let puppeteer;
  try {
    ({ default: puppeteer } = await import('puppeteer-core'));
  } catch (e) {
    throw new Error(`puppeteer-core is not installed: run "npm ci" in tests/browser (test.sh does) (${e.message})`);
  }
  if (!existsSync(FIREFOX)) {
    throw new Error(`Firefox not found at ${FIREFOX}: install the Debian package firefox-esr (test.sh does)`);
  }
  // launch() gives Firefox a fresh temporary profile of its own.
  const browser = await puppeteer.launch({ browser: 'firefox', executablePath: FIREFOX, headless: true });
  let page = null;
  const errors = [];

  const closePage = async () => {
    if (page) await page.close();
    page = null;
  };

  return {
    async open(url, { fakeClock = false } = {}) {
      await closePage();
      page = await browser.newPage();
      page.on('pageerror', (e) => errors.push(e.message));
      if (fakeClock) await page.evaluateOnNewDocument(FAKE_CLOCK);
      await page.goto(url, { waitUntil: 'load' });
    },
    evaluate: (expression) => page.evaluate(expression),
    // A plain navigation (the SCORM host page).
    async visit(url) {
      await closePage();
      page = await browser.newPage();
      page.on('pageerror', (e) => errors.push(e.message));
      await page.goto(url, { waitUntil: 'load' });
    },
    async type(selector, text) {
      await page.focus(selector);
      await page.keyboard.type(text);
    },
    click: (selector) => page.click(selector),
    advance: (ms) => page.evaluate(`window.__brenvikClock.advance(${Number(ms)})`),
    takeErrors: async () => errors.splice(0),
    async close() {
      await closePage();
      await browser.close();
    },
  };
}
