// brenvik.html in Chromium: every script's text and a test of several texts
// edited in the page's gap editor, saved in every format and compared with
// brenvik-cli byte for byte; the test file opened again; no request leaves
// the page; axe-core; a phone's width.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, afterEach, before, describe, test } from 'node:test';

import { axeSourceText, CHROMIUM, CHROMIUM_ARGS } from '../helpers.mjs';
import {
  alertText, assertSameAsCli, click, downloadAll, enterTexts, idle, openPage, pagePath, processTest,
  scriptRoundTrip, setFields, until,
} from './scenario.mjs';

// Every script fixture but two whose words or sentences Chromium's own
// Unicode data cuts otherwise than Debian's ICU 72: Khmer (U+17D4 ends a
// sentence in newer data) and Lao (Chromium's dictionary splits the third
// sentence's words elsewhere).
const SCRIPTS = ['am', 'ar', 'bn', 'fr-nfd', 'he', 'hi', 'hy', 'ja', 'ka', 'ko', 'my', 'ne', 'ta', 'th',
  'ur', 'vi-nfd', 'yo', 'zh'];

const SEVERAL = [
  { title: 'Morning', text: 'It was early. The sun came up over the hills and the birds began to sing in the trees near the house.', 'gap-limit': '4' },
  { title: 'Market', text: 'We went to town. People were selling apples, bread and cheese. The market was full of voices. We bought some pears.', 'keep-last': true },
  { title: '', text: 'Then it rained. Everybody ran for shelter under the old bridge until the clouds were gone again. Later we walked home.' },
];

describe('brenvik.html in Chromium', () => {
  let browser;
  let context;
  let page;
  const requests = [];
  const errors = [];
  const driver = {
    async open(url) {
      await page?.close();
      page = await context.newPage();
      page.on('pageerror', (e) => errors.push(e.message));
      // A refusal of the page's security policy is only a console message.
      page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
      page.on('request', (r) => { if (!/^(file|blob|data|about):/.test(r.url())) requests.push(r.url()); });
      await page.goto(url);
    },
    evaluate: (expression) => page.evaluate(expression),
  };

  before(async () => {
    const { chromium } = await import('playwright-core');
    browser = await chromium.launch({ executablePath: CHROMIUM, args: CHROMIUM_ARGS });
    context = await browser.newContext({ acceptDownloads: true });
    // Anything that would leave the machine is stopped and counted.
    await context.route('**/*', (route) => {
      if (/^(file|blob|data):/.test(route.request().url())) return route.continue();
      requests.push(route.request().url());
      return route.abort();
    });
  });
  after(async () => { await browser?.close(); });
  afterEach(() => {
    assert.deepEqual(errors.splice(0), [], 'script errors');
    assert.deepEqual(requests.splice(0), [], 'the page asked for something over the network');
  });

  test('the page is one file under 1 MB', () => {
    assert.ok(readFileSync(pagePath()).length < 1024 * 1024);
  });

  for (const name of SCRIPTS) {
    test(`a pasted ${name} text: every format as brenvik-cli writes it`, () => scriptRoundTrip(driver, name));
  }

  test('several texts, a gap switched off and accepted answers, saved and opened again', async () => {
    await openPage(driver);
    await enterTexts(driver, SEVERAL);
    await setFields(driver, {
      title: 'Three texts', 'variant-practice': true, 'show-answers': true, timer: true, language: 'en',
      matching: 'ignore-case', 'page-background': '#fff8e1', font: 'Verdana', 'text-size': '18', 'pass-mark': '60',
    });
    await processTest(driver);
    // The gap editor on the first text: the first gap off, answers for the second.
    const gaps = await page.$$('#gap-table-box tbody input[type=checkbox]:checked');
    const off = await gaps[0].getAttribute('data-word');
    await gaps[0].click();
    await until(driver, `${idle} && !document.querySelector('#gap-table-box input[type=checkbox][data-word="${off}"]').checked`, 'the gap off');
    const answers = page.locator('#gap-table-box tbody input[type=text]').first();
    const answered = await answers.getAttribute('data-word');
    await answers.fill('xyz; abc ;');
    await answers.press('Tab');
    await until(driver, `${idle} && /changed/.test(document.getElementById('status-text').textContent)`, 'the answers kept');
    // A word the options keep whole is refused with the core's reason.
    await click(driver, '#every-word');
    const held = page.locator('#gap-table-box tbody tr', { hasText: 'after the gap limit' }).first().locator('input');
    await held.click();
    await until(driver, `${idle} && !document.getElementById('alert').hidden`, 'the refusal');
    assert.match(await alertText(driver), /stays whole/);
    assert.equal(await held.isChecked(), false);
    await click(driver, '#alert-close');

    const saved = await downloadAll(driver);
    const doc = JSON.parse(saved.ctest.bytes.toString('utf8'));
    assert.deepEqual(doc.texts.slice(0, 2).map((t) => t.title), ['Morning', 'Market']);
    assert.equal(doc.texts[0].gapLimit, 4);
    assert.equal(doc.texts[1].keepLastSentence, true);
    assert.equal(doc.settings.variant, 'practice');
    assert.equal(doc.settings.pageBackground, '#FFF8E1');
    assert.equal(doc.matching, 'ignore-case');
    const edits = doc.texts[0].edits;
    assert.ok(edits.some((e) => e.gap === 'off'), JSON.stringify(edits));
    assert.ok(edits.some((e) => JSON.stringify(e.accepted) === '["xyz","abc"]'), JSON.stringify(edits));
    assertSameAsCli(saved, { passMark: 60 });

    // The print layout went to the print with every text's title.
    await click(driver, '#print');
    await until(driver, `${idle} && typeof window.__printed === 'string'`, 'the worksheet printed');
    const printed = await driver.evaluate('window.__printed');
    for (const title of ['Three texts', 'Morning', 'Market']) assert.ok(printed.includes(title), title);

    // Opened again in a fresh page: the same test, the edits in the editor.
    await openPage(driver);
    await page.setInputFiles('#open-files', { name: saved.ctest.name, mimeType: 'application/json', buffer: saved.ctest.bytes });
    await until(driver, `${idle} && /^Processed/.test(document.getElementById('status-text').textContent)`, 'the file opened');
    assert.equal(await alertText(driver), '');
    assert.equal(await page.inputValue('#title'), 'Three texts');
    assert.equal(await page.isChecked(`#gap-table-box input[type=checkbox][data-word="${off}"]`), false);
    assert.equal(await page.inputValue(`#gap-table-box input[type=text][data-word="${answered}"]`), 'xyz; abc');
    const again = await downloadAll(driver);
    assert.ok(again.ctest.bytes.equals(saved.ctest.bytes), 'the test file changed on the way');
  });

  test('a text file opened, a real download, a refused language in the alert', async () => {
    // No recorder: the browser's own download.
    await openPage(driver, { record: false });
    await page.setInputFiles('#open-files', {
      name: 'Lesson one.txt', mimeType: 'text/plain', buffer: Buffer.from('First line. Here are some words for the test to cut.\r\n', 'latin1'),
    });
    await until(driver, `${idle} && /^Processed/.test(document.getElementById('status-text').textContent)`, 'the text opened');
    assert.equal(await page.inputValue('#text-title'), 'Lesson one');
    const [download] = await Promise.all([page.waitForEvent('download'), click(driver, 'button[data-format=responsive]')]);
    const bytes = readFileSync(await download.path());
    assert.ok(bytes.length > 0 && /\.html?$/.test(download.suggestedFilename()), download.suggestedFilename());

    await setFields(driver, { language: 'not a tag!' });
    await click(driver, '#process');
    await until(driver, "!document.getElementById('alert').hidden", 'the refusal shown');
    assert.match(await alertText(driver), /language tag/);
  });

  test('axe-core finds nothing, in light and dark, and 360 px need no sideways scrolling', async () => {
    for (const [scheme, width] of [['light', 1280], ['dark', 360]]) {
      await openPage(driver);
      await page.emulateMedia({ colorScheme: scheme });
      await page.setViewportSize({ width, height: 800 });
      await enterTexts(driver, SEVERAL);
      await processTest(driver);
      await click(driver, '#every-word');
      await page.addScriptTag({ content: axeSourceText() });
      const result = await page.evaluate('axe.run(document)');
      assert.deepEqual(result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`), [], scheme);
      const [scroll, client] = await page.evaluate('[document.documentElement.scrollWidth, document.documentElement.clientWidth]');
      assert.ok(scroll <= client, `${width} px: the page is ${scroll} px wide`);
    }
  });

  test('the keyboard alone reaches every control in page order, each with a visible focus', async () => {
    await openPage(driver);
    await enterTexts(driver, SEVERAL.slice(0, 1));
    await processTest(driver);
    await page.evaluate('document.activeElement.blur()');
    const seen = [];
    for (;;) {
      await page.keyboard.press('Tab');
      const at = await page.evaluate(`(() => {
        const e = document.activeElement;
        if (e === document.body || e === null) return null;
        // The file field is hidden behind its button, which shows the focus.
        const shown = e.id === 'open-files' ? document.querySelector('label[for=open-files]') : e;
        const style = getComputedStyle(shown);
        const all = [...document.querySelectorAll('*')];
        return { name: e.id || e.dataset.format || e.tagName, index: all.indexOf(e), outline: style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2 };
      })()`);
      if (at === null || seen.some((s) => s.index === at.index)) break;
      seen.push(at);
    }
    const names = seen.map((s) => s.name);
    for (const id of ['open-files', 'text-list', 'source', 'variant-test', 'page-background', 'process', 'gap-text', 'ctest', 'scorm2004', 'print']) {
      assert.ok(names.includes(id), `${id} is not reached: ${names.join(' ')}`);
    }
    assert.deepEqual(seen.map((s) => s.index), seen.map((s) => s.index).sort((a, b) => a - b), 'page order');
    assert.deepEqual(seen.filter((s) => !s.outline).map((s) => s.name), [], 'no visible focus');
  });
});
