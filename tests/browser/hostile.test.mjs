// Hostile texts in a real browser: answers that are pieces of emoji
// sequences, right-to-left words, a lone combining accent and a file that is
// not UTF-8 are typed key by key and judged right; a wrong one is judged
// wrong.

import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';

import { answersOf, exportPage, launchBrowser } from './helpers.mjs';

let browser;
before(async () => { browser = await launchBrowser(); });
after(async () => { await browser?.close(); });

const box = (i) => `form[name=cloze] input[name="${i}"]`;
const feedback = (page) => page.inputValue('form[name=buttonform] input[name=feedback]');
const score = (page) => page.inputValue('form[name=buttonform] input[name=score]');

// Halving counts characters, so a word of emoji may lose a skin-tone
// modifier alone, half of a joined family or one flag letter.
const EMOJI =
  'Emoji here. x \u{1F44D}\u{1F3FD} y \u{1F468}\u200d\u{1F469}\u200d\u{1F467} z \u{1F1F3}\u{1F1F4}\u{1F1F3}\u{1F1F4} ' +
  'w \u{1F600}\u{1F603}\u{1F604} v \u{1D11E}\u{1D11E}q';
const RTL = 'Shalom. \u05d0 \u05e9\u05dc\u05d5\u05dd \u05d1 \u05de\u05e8\u05d7\u05d1\u05d0 \u0627\u0644\u0639\u0627\u0644\u0645';
const COMBINING = 'Accents. x nai\u0308ve y cafe\u0301s';

async function typeAndScore(url, typed) {
  const context = await browser.newContext();
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(url);
  for (let i = 0; i < typed.length; i++) {
    await page.click(box(i));
    await page.keyboard.type(typed[i]);
  }
  const values = await page.$$eval('form[name=cloze] input', (els) => els.map((e) => e.value));
  await page.click('input[value="Submit Test"]');
  const result = { values, feedback: await feedback(page), score: await score(page), errors };
  await context.close();
  return result;
}

describe('hostile answers in the browser', () => {
  for (const [name, text] of [['emoji sequences', EMOJI], ['right-to-left', RTL], ['combining accents', COMBINING]]) {
    test(`${name}: typed answers are right, a changed one is wrong`, async () => {
      const answers = answersOf(text);
      assert.ok(answers.length >= 2, JSON.stringify(answers));
      const { url } = exportPage(text, ['--practice']);

      const right = await typeAndScore(url, answers);
      assert.deepEqual(right.values, answers, 'the boxes hold what was typed');
      assert.equal(right.feedback, 'All correct! Well done.');
      assert.equal(right.score, String(answers.length));
      assert.deepEqual(right.errors, []);

      // The last answer without its last UTF-16 unit: a broken character is wrong.
      const broken = answers.slice();
      broken[broken.length - 1] = broken[broken.length - 1].slice(0, -1) + 'x';
      const wrong = await typeAndScore(url, broken);
      assert.equal(wrong.feedback, 'Some of your answers are wrong.');
      assert.equal(wrong.score, String(answers.length - 1));
    });
  }

  test('a Windows-1252 file (not UTF-8) gives answers that are judged right', async () => {
    const bytes = Buffer.from('Caf\xe9 cr\xe8me. Na\xefve gar\xe7on d\xe9j\xe0 vu tr\xe8s \x80uro', 'latin1');
    const answers = answersOf(bytes);
    assert.deepEqual(answers, ['\u00e7on', 'u', 'ro']);
    const { url } = exportPage(bytes, ['--practice']);
    const right = await typeAndScore(url, answers);
    assert.equal(right.feedback, 'All correct! Well done.');
    assert.deepEqual(right.errors, []);
  });
});
