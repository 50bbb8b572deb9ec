// The checks both pages, the classic and the responsive one, must pass in
// every engine pupils use. Firefox and WebKit each run them through a small
// driver (firefox.test.mjs, webkit.test.mjs) that starts its browser once:
//   open(url, { fakeClock })  load a page; with fakeClock the page's timers
//                             run only when advance() says
//   evaluate(expression)      the value of a script expression in the page
//   type(selector, text)      focus the element and type text key by key
//   click(selector)
//   advance(ms)               run the page's timers due within ms
//   takeErrors()              the script errors of the pages so far, once
//   close()

import assert from 'node:assert/strict';
import { after, afterEach, before, describe, test } from 'node:test';

import { answersOf, exportPage } from './helpers.mjs';

// Replaces the page's timers before its own script runs: time stands still
// until advance(ms), which runs every timer due by then in order of due time
// (then of creation). String callbacks, as the classic page's BODY tag uses,
// are run as global code.
export const FAKE_CLOCK = `(() => {
  let now = 0;
  let nextId = 1;
  const timers = new Map();
  const add = (fn, delay, args, repeat) => {
    const id = nextId++;
    const wait = Math.max(0, Number(delay) || 0);
    timers.set(id, { fn, args, at: now + wait, every: repeat ? Math.max(1, wait) : 0 });
    return id;
  };
  window.setTimeout = (fn, delay, ...args) => add(fn, delay, args, false);
  window.setInterval = (fn, delay, ...args) => add(fn, delay, args, true);
  window.clearTimeout = window.clearInterval = (id) => { timers.delete(id); };
  window.__brenvikClock = {
    advance(ms) {
      const end = now + ms;
      for (;;) {
        let due = null;
        for (const [id, t] of timers) {
          if (t.at <= end && (due === null || t.at < due[1].at)) due = [id, t];
        }
        if (due === null) break;
        const [id, t] = due;
        now = t.at;
        if (t.every) t.at += t.every; else timers.delete(id);
        if (typeof t.fn === 'function') t.fn(...t.args); else (0, eval)(String(t.fn));
      }
      now = end;
      return timers.size;
    },
  };
})();`;

// How the scenarios find their way around each page.
export const KINDS = {
  classic: {
    options: [],
    submit: 'input[value="Submit Test"]',
    show: 'input[value="Show Answers"]',
    feedback: 'document.forms.buttonform.feedback.value',
    score: 'document.forms.buttonform.score.value',
    result: 'document.body.innerText.trim()',
    // The classic page empties a wrong box; the responsive page keeps what
    // was typed, marked, for the pupil to correct.
    keepsWrongAnswers: false,
  },
  responsive: {
    options: ['--format', 'responsive'],
    submit: '#submit-test',
    show: '#show-answers',
    feedback: "document.getElementById('feedback').textContent",
    score: "document.getElementById('score').textContent",
    result: "document.getElementById('result').textContent",
    keepsWrongAnswers: true,
  },
};

const CAT = 'This is a test. The cat sat on the mat.';

// One text in every script the page must handle: Polish, Cyrillic, Greek,
// Hebrew, Arabic, emoji, and a backslash, a percent sign and typographic
// quotes in the answers.
export const EVERY_SCRIPT =
  'Zdanie pierwsze. Pchn\u0105\u0107 \u0142\u00f3d\u017a je\u017ca \u0421\u044a\u0435\u0448\u044c \u043c\u044f\u0433\u043a\u0438\u0445 ' +
  '\u03c8\u03c5\u03c7\u03bf\u03c6\u03b8\u03cc\u03c1\u03b1 \u03b2\u03b4\u03b5\u03bb\u03c5\u03b3\u03bc\u03af\u03b1 ' +
  '\u05e9\u05dc\u05d5\u05dd \u05de\u05d1\u05d7\u05df \u0645\u0631\u062d\u0628\u0627 \u0627\u0644\u0639\u0627\u0644\u0645 ' +
  '\u{1F600}\u{1F601}\u{1F602} y ab\\cd z ab%cd w \u201equot\u201d v don\u2019t';

const gaps = (n) => Array.from({ length: n }, (_, i) => `form[name=cloze] input[name="${i}"]`);

async function values(driver, count) {
  return driver.evaluate(`Array.from(document.forms.cloze.elements).slice(0, ${count}).map((e) => e.value)`);
}

async function typeAll(driver, typed) {
  const boxes = gaps(typed.length);
  for (let i = 0; i < typed.length; i++) if (typed[i] !== '') await driver.type(boxes[i], typed[i]);
}

// Declares the engine's tests: the browser starts once before them and
// stops after them.
export function engineTests(engine, startDriver) {
  describe(`both pages in ${engine}`, () => {
    let driver;
    before(async () => { driver = await startDriver(); });
    after(async () => { await driver?.close(); });
    // Every check ends without a script error on its pages.
    afterEach(async () => { if (driver) assert.deepEqual(await driver.takeErrors(), []); });

    for (const [kindName, kind] of Object.entries(KINDS)) {
      const page = (text, options = []) => exportPage(text, [...kind.options, ...options]).url;

      test(`${kindName} page: the test version scores right and wrong answers`, async () => {
        for (const [typed, right] of [[['at', 'x', 'AT'], 1], [['at', 'n', ' at '], 3]]) {
          await driver.open(page(CAT));
          assert.deepEqual(await values(driver, 3), ['', '', '']);
          await typeAll(driver, typed);
          await driver.click(kind.submit);
          assert.equal(await driver.evaluate(kind.result), `You scored ${right} out of a possible 3`);
          assert.equal(await driver.evaluate('document.forms.length'), 0, 'the form is gone');
        }
      });

      test(`${kindName} page: the practice version gives feedback and takes a second try`, async () => {
        await driver.open(page(CAT, ['--practice']));
        await typeAll(driver, ['at', 'x', 'At']);
        await driver.click(kind.submit);
        assert.equal(await driver.evaluate(kind.feedback), 'Some of your answers are wrong.');
        assert.equal(await driver.evaluate(kind.score), '1');
        if (kind.keepsWrongAnswers) {
          assert.deepEqual(await values(driver, 3), ['at', 'x', 'At']);
          assert.equal(await driver.evaluate("document.getElementById('score-line').textContent"), 'Score: 1 of 3');
          assert.deepEqual(await driver.evaluate("Array.from(document.forms.cloze.elements, (e) => e.getAttribute('aria-describedby'))"),
            ['said-right', 'said-wrong', 'said-wrong']);
          await driver.evaluate("Array.from(document.forms.cloze.elements).slice(1).forEach((e) => { e.value = ''; })");
        } else {
          assert.deepEqual(await values(driver, 3), ['at', '', '']);
        }
        await typeAll(driver, ['', 'n', 'at']);
        await driver.click(kind.submit);
        assert.equal(await driver.evaluate(kind.feedback), 'All correct! Well done.');
        assert.equal(await driver.evaluate(kind.score), '3');
        assert.deepEqual(await values(driver, 3), ['at', 'n', 'at']);
      });

      test(`${kindName} page: Show Answers fills the boxes, and submitting then is cheating`, async () => {
        await driver.open(page(CAT, ['--practice', '--show-answers']));
        await driver.click(kind.show);
        assert.deepEqual(await values(driver, 3), ['at', 'n', 'at']);
        await driver.click(kind.submit);
        assert.equal(await driver.evaluate(kind.feedback), 'No cheating!');
        assert.equal(await driver.evaluate(kind.score), 'naughty!');
        if (kindName !== 'responsive') return;

        // The responsive page asks before it replaces typed answers.
        await driver.open(page(CAT, ['--practice', '--show-answers']));
        await typeAll(driver, ['x']);
        await driver.click(kind.show);
        assert.equal(await driver.evaluate("document.getElementById('show-confirm').open"), true);
        assert.equal(await driver.evaluate('document.activeElement.id'), 'keep-answers');
        await driver.click('#keep-answers');
        assert.equal(await driver.evaluate("document.getElementById('show-confirm').open"), false);
        assert.deepEqual(await values(driver, 3), ['x', '', '']);
        await driver.click(kind.show);
        await driver.click('#confirm-show');
        assert.deepEqual(await values(driver, 3), ['at', 'n', 'at']);
      });

      test(`${kindName} page: the timer submits after 12 seconds per gap and not before`, async () => {
        await driver.open(page(CAT, ['--timer']), { fakeClock: true });
        await typeAll(driver, ['at']);
        if (kindName === 'responsive') {
          assert.equal(await driver.evaluate("document.getElementById('timer').textContent"), '0:36');
        }
        await driver.advance(35_999);
        assert.equal(await driver.evaluate('document.forms.length > 0'), true, 'not yet submitted');
        if (kindName === 'responsive') {
          assert.equal(await driver.evaluate("document.getElementById('timer').textContent"), '0:01');
        }
        await driver.advance(1);
        assert.equal(await driver.evaluate(kind.result), 'You scored 1 out of a possible 3');

        await driver.open(page('Go. a bb c dd', ['--practice', '--timer']), { fakeClock: true });
        await driver.advance(23_999);
        assert.equal(await driver.evaluate(kind.feedback), '');
        await driver.advance(1);
        assert.equal(await driver.evaluate(kind.feedback), 'Some of your answers are wrong.');
        assert.equal(await driver.evaluate(kind.score), '0');
      });

      test(`${kindName} page: answers in every script are right when typed right`, async () => {
        const answers = answersOf(EVERY_SCRIPT);
        for (const needle of ['\u{1F601}\u{1F602}', '\\cd', '%cd', 'ot\u201d', 'n\u2019t']) {
          assert.ok(answers.includes(needle), `${JSON.stringify(needle)} in ${JSON.stringify(answers)}`);
        }
        const url = page(EVERY_SCRIPT, ['--practice', '--show-answers']);
        await driver.open(url);
        await typeAll(driver, answers);
        assert.deepEqual(await values(driver, answers.length), answers, 'the boxes hold what was typed');
        await driver.click(kind.submit);
        assert.equal(await driver.evaluate(kind.feedback), 'All correct! Well done.');
        assert.equal(await driver.evaluate(kind.score), String(answers.length));

        await driver.open(url);
        const wrong = answers.slice();
        const cased = answers.findIndex((a) => a.toUpperCase() !== a);
        wrong[cased] = answers[cased].toUpperCase();
        await typeAll(driver, wrong);
        await driver.click(kind.submit);
        assert.equal(await driver.evaluate(kind.feedback), 'Some of your answers are wrong.');
        assert.equal(await driver.evaluate(kind.score), String(answers.length - 1));

        await driver.open(url);
        await driver.click(kind.show);
        assert.deepEqual(await values(driver, answers.length), answers, 'Show Answers decodes every answer');
      });
    }
  });
}
