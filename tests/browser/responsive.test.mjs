// The responsive page in Chromium: every variant scored right and wrong on a
// phone and on a desktop screen, no sideways scrolling, axe-core finds no
// accessibility violation, the timer, Show Answers, Enter, printing, answers
// in many scripts typed key by key, and hostile texts that must stay text.

import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, describe, test } from 'node:test';

import { answersOf, axeSourceText, exportPage, launchBrowser, runCli, workDir } from './helpers.mjs';

const CAT = 'This is a test. The cat sat on the mat.';
const PHONE = { viewport: { width: 360, height: 740 }, hasTouch: true, isMobile: true, deviceScaleFactor: 2 };
const DESKTOP = { viewport: { width: 1280, height: 800 } };
const SIZES = [['phone', PHONE], ['desktop', DESKTOP]];
const VARIANTS = [
  ['test version', []],
  ['practice version', ['--practice']],
  ['practice version with Show Answers', ['--practice', '--show-answers']],
];

// Polish, Cyrillic, Greek, Hebrew, emoji, a backslash, a percent sign and
// typographic quotes (the straight ones separate words, so no answer holds them).
const SCRIPTS =
  'Zdanie pierwsze. ' +
  'Pchn\u0105\u0107 w t\u0119 \u0142\u00f3d\u017a je\u017ca lub o\u015bm skrzy\u0144 fig. ' +
  '\u0421\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0451 \u044d\u0442\u0438\u0445 \u043c\u044f\u0433\u043a\u0438\u0445 \u0431\u0443\u043b\u043e\u043a. ' +
  '\u039e\u03b5\u03c3\u03ba\u03b5\u03c0\u03ac\u03b6\u03c9 \u03c4\u03b7\u03bd \u03c8\u03c5\u03c7\u03bf\u03c6\u03b8\u03cc\u03c1\u03b1 \u03b2\u03b4\u03b5\u03bb\u03c5\u03b3\u03bc\u03af\u03b1. ' +
  '\u05e2\u05d8\u05dc\u05e3 \u05d0\u05d1\u05e7 \u05e0\u05e1 \u05d3\u05e8\u05da \u05de\u05d6\u05d2\u05d5 \u05d4\u05e6\u05d5\u05e0\u05df. ' +
  '\u{1F600}\u{1F601}\u{1F602} y \u{1F44D}\u{1F3FD}\u{1F44D} z ab\\cd w ab%cd v \u201equot\u201d u don\u2019t t \u00abguil\u00bb';

// The test text Process writes, each deleted letter a "_".
function testText(source) {
  const r = runCli(['test', '-'], source);
  if (r.status !== 0) throw new Error(`brenvik-cli test failed (${r.status}): ${r.stderr}`);
  return r.stdout.toString('utf8');
}

const responsive = (text, options = []) => exportPage(text, ['--format', 'responsive', ...options]);

// A long text in many lines, a gap in every fiftieth: numbers get no gap,
// and each line of them wraps on a phone. The lines far from the screen are
// not laid out until they come near, and that must change nothing the pupil
// or assistive technology sees.
const SAMPLE = readFileSync(new URL('../../examples/sample.txt', import.meta.url), 'utf8');

// One source line of the given number of gaps, far too long for one block.
const oneLine = (gaps, word = 'ab cd ') => 'Go. ' + word.repeat(gaps);

const lined = (lines) => 'Go.\n' + Array.from({ length: lines }, (_, i) =>
  (i % 50 === 0 ? 'ab cd ' : '') + '1234 5678 '.repeat(8).trimEnd()).join('\n');

let browser;
before(async () => { browser = await launchBrowser(); });
after(async () => { await browser?.close(); });

// A fresh context per page; script errors and dialogs are collected. init:
// a function run in the page before its own script.
async function open(url, { size = DESKTOP, clock = false, init = null } = {}) {
  const context = await browser.newContext(size);
  if (init) await context.addInitScript(init);
  // A step that cannot happen fails instead of waiting for ever.
  context.setDefaultTimeout(15_000);
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('dialog', (d) => { errors.push(`dialog: ${d.message()}`); d.dismiss(); });
  if (clock) {
    await page.clock.install({ time: 0 });
    await page.clock.pauseAt(1000);
  }
  await page.goto(url);
  return { page, context, errors };
}

const box = (i) => `#cloze input[name="${i}"]`;
const gapValues = (page) => page.$$eval('#cloze input', (els) => els.map((e) => e.value));
// Each box's mark as assistive technology gets it: its description and
// whether it is invalid ('' for no mark).
const marks = (page) => page.$$eval('#cloze input', (els) => els.map((e) => {
  const said = e.getAttribute('aria-describedby');
  return `${said ? document.getElementById(said).textContent : ''}${e.getAttribute('aria-invalid') === 'true' ? ' invalid' : ''}`;
}));
// The image drawn in a box: its mark, or 'none'.
const markImage = (page, i) => page.$eval(box(i), (e) => getComputedStyle(e).backgroundImage);
const text = (page, selector) => page.$eval(selector, (e) => e.textContent);

async function fillAll(page, values) {
  for (let i = 0; i < values.length; i++) await page.fill(box(i), values[i]);
}

async function press(page, selector, size) {
  if (size === PHONE) await page.tap(selector);
  else await page.click(selector);
}

// The gaps whose kept part and box stand on different lines.
function splitGaps(page) {
  return page.$$eval('.text .w', (ws) => ws.filter((w) => {
    const rects = Array.from(w.getClientRects()).filter((r) => r.width > 0);
    return new Set(rects.map((r) => Math.round(r.bottom))).size > 1;
  }).map((w) => w.textContent));
}

async function noSidewaysScroll(page) {
  return page.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth);
}

// Records every layout shift from the start, user input or not.
const observeShifts = () => {
  window.shifts = [];
  window.shiftObserver = new PerformanceObserver((list) => { for (const e of list.getEntries()) window.shifts.push(e.value); });
  window.shiftObserver.observe({ type: 'layout-shift', buffered: true });
};
// The layout shifts until four frames after now (the lines near the screen
// are laid out in the frames after the first), with those not yet reported.
const shiftsSoFar = (page) => page.evaluate(() => new Promise((done) => {
  let frames = 4;
  const next = () => (--frames > 0 ? requestAnimationFrame(next)
    : done(window.shifts.concat(window.shiftObserver.takeRecords().map((e) => e.value))));
  requestAnimationFrame(next);
}));

async function axeViolations(page) {
  await page.addScriptTag({ content: axeSourceText() });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
  return violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

describe('responsive page', () => {
  for (const [sizeName, size] of SIZES) {
    for (const [variantName, options] of VARIANTS) {
      test(`${variantName} on a ${sizeName}: right and wrong answers are scored`, async () => {
        const practice = options.includes('--practice');
        const { url } = responsive(CAT, options);

        const right = await open(url, { size });
        assert.ok(await noSidewaysScroll(right.page), 'no sideways scroll on load');
        assert.deepEqual(await gapValues(right.page), ['', '', '']);
        // Boxes are tall enough to touch and wide enough for their answer.
        const heights = await right.page.$$eval('#cloze input', (els) => els.map((e) => e.getBoundingClientRect().height));
        for (const h of heights) assert.ok(h >= 24, `box height ${h}`);
        await fillAll(right.page, ['at', 'n', 'at']);
        const fits = await right.page.$$eval('#cloze input', (els) => els.map((e) => e.scrollWidth <= e.clientWidth));
        assert.deepEqual(fits, [true, true, true], 'each answer fits its box');
        const button = await right.page.$eval('#submit-test', (b) => {
          const r = b.getBoundingClientRect();
          return { left: r.left, right: r.right, width: document.documentElement.clientWidth };
        });
        assert.ok(button.left >= 0 && button.right <= button.width, JSON.stringify(button));
        await press(right.page, '#submit-test', size);
        if (practice) {
          assert.equal(await text(right.page, '#feedback'), 'All correct! Well done.');
          assert.equal(await text(right.page, '#score'), '3');
          assert.equal(await right.page.innerText('#score-line'), 'Score: 3 of 3');
          assert.deepEqual(await gapValues(right.page), ['at', 'n', 'at']);
          assert.deepEqual(await marks(right.page), Array(3).fill('right'));
        } else {
          assert.equal(await text(right.page, '#result'), 'You scored 3 out of a possible 3');
          assert.equal(await right.page.$$eval('form', (f) => f.length), 0, 'the form is gone');
          assert.equal(await right.page.$$eval('button', (b) => b.length), 0, 'the buttons are gone');
        }
        assert.ok(await noSidewaysScroll(right.page), 'no sideways scroll after the check');
        assert.deepEqual(right.errors, []);
        await right.context.close();

        const wrong = await open(url, { size });
        await fillAll(wrong.page, ['at', 'x', ' ']);
        await press(wrong.page, '#submit-test', size);
        if (practice) {
          assert.equal(await text(wrong.page, '#feedback'), 'Some of your answers are wrong.');
          assert.equal(await text(wrong.page, '#score'), '1');
          assert.equal(await wrong.page.innerText('#score-line'), 'Score: 1 of 3');
          assert.deepEqual(await gapValues(wrong.page), ['at', 'x', ' '], 'what was typed stays to be corrected');
          assert.deepEqual(await marks(wrong.page), ['right', 'wrong invalid', 'not answered invalid']);
          // The marks are three different pictures, not only colours.
          const images = [await markImage(wrong.page, 0), await markImage(wrong.page, 1), await markImage(wrong.page, 2)];
          for (const image of images) assert.match(image, /^url\("data:image\/svg\+xml,/);
          assert.equal(new Set(images).size, 3);
          // A second submit after correcting.
          await wrong.page.fill(box(1), 'n');
          assert.deepEqual(await marks(wrong.page), ['right', '', 'not answered invalid'], 'typing clears the mark');
          assert.equal(await markImage(wrong.page, 1), 'none');
          await wrong.page.fill(box(2), 'at');
          await press(wrong.page, '#submit-test', size);
          assert.equal(await text(wrong.page, '#feedback'), 'All correct! Well done.');
          assert.equal(await text(wrong.page, '#score'), '3');
        } else {
          assert.equal(await text(wrong.page, '#result'), 'You scored 1 out of a possible 3');
        }
        assert.deepEqual(wrong.errors, []);
        await wrong.context.close();
      });
    }
  }

  test('axe-core finds no violation in any variant, before and after a check', async () => {
    // axe-core needs the page's real timers, so the pages with a time limit
    // get an hour (300 gaps): far longer than any check takes.
    const LONG = 'Go. ' + 'ab cd '.repeat(300);
    const variants = [...VARIANTS.map(([name, options]) => [name, CAT, options]),
      ['test version with the timer', LONG, ['--timer']],
      ['practice version with everything', LONG, ['--practice', '--show-answers', '--timer']]];
    // Every variant on a phone; the desktop layout once, with every part
    // shown; and a text of 400 lines, most of them far off the screen.
    const runs = [...variants.map((v) => ['phone', PHONE, ...v]), ['desktop', DESKTOP, ...variants[variants.length - 1]],
      ['phone', PHONE, 'practice version of a text in many lines', lined(400), ['--practice', '--show-answers']]];
    for (const [sizeName, size, variantName, source, options] of runs) {
      const { url } = responsive(source, options);
      const { page, context, errors } = await open(url, { size });
      assert.deepEqual(await axeViolations(page), [], `${variantName}, ${sizeName}, on load`);
      await fillAll(page, ['at', 'x', '']);
      await page.click('#submit-test');
      assert.deepEqual(await axeViolations(page), [], `${variantName}, ${sizeName}, after a check`);
      assert.deepEqual(errors, []);
      await context.close();
    }
  });

  test('every box has its name and no typing aid', async () => {
    const { url } = responsive(CAT, ['--practice']);
    const { page, context } = await open(url);
    const boxes = await page.$$eval('#cloze input', (els) => els.map((e) => ({
      name: e.name, label: e.getAttribute('aria-label'), autocomplete: e.autocomplete,
      autocapitalize: e.getAttribute('autocapitalize'), autocorrect: e.getAttribute('autocorrect'), spellcheck: e.spellcheck,
    })));
    assert.deepEqual(boxes, [0, 1, 2].map((i) => ({
      name: String(i), label: `Gap ${i + 1} of 3`, autocomplete: 'off', autocapitalize: 'off', autocorrect: 'off', spellcheck: false,
    })));
    const snapshot = await page.locator('#cloze').ariaSnapshot();
    assert.match(snapshot, /textbox "Gap 1 of 3"/);
    assert.match(snapshot, /textbox "Gap 3 of 3"/);
    await context.close();
  });

  test('Show Answers fills the boxes, and submitting then is cheating', async () => {
    const { url } = responsive(CAT, ['--practice', '--show-answers']);
    const { page, context, errors } = await open(url, { size: PHONE });
    // A right answer is not lost, so there is nothing to ask.
    await page.fill(box(0), 'at');
    await page.tap('#show-answers');
    assert.deepEqual(await gapValues(page), ['at', 'n', 'at']);
    await page.tap('#submit-test');
    assert.equal(await text(page, '#feedback'), 'No cheating!');
    assert.equal(await text(page, '#score'), 'naughty!');
    assert.equal(await page.innerText('#score-line'), 'Score: naughty!');
    // Still cheating on a later submit, as on the classic page.
    await page.fill(box(1), '');
    await page.tap('#submit-test');
    assert.equal(await text(page, '#feedback'), 'No cheating!');
    assert.deepEqual(errors, []);
    await context.close();

    // Without the option there is no button.
    const plain = await open(responsive(CAT, ['--practice']).url);
    assert.equal(await plain.page.$('#show-answers'), null);
    await plain.context.close();
    const testVersion = await open(responsive(CAT, ['--show-answers']).url);
    assert.equal(await testVersion.page.$('#show-answers'), null);
    await testVersion.context.close();
  });

  test('answers are trimmed of blanks and line breaks only, as on the classic page', async () => {
    const cases = [
      [' at', true], ['at  ', true], ['  at ', true], ['at', true],
      ['a t', false], ['At', false], ['a  t', false], ['\tat', false], ['', false], ['at\u00a0', false],
    ];
    const { url } = responsive(CAT, ['--practice']);
    const { page, context, errors } = await open(url);
    for (const [typed, right] of cases) {
      await fillAll(page, [typed, 'n', 'at']);
      await page.click('#submit-test');
      assert.equal(await text(page, '#score'), right ? '3' : '2', JSON.stringify(typed));
      assert.equal(await page.inputValue(box(0)), typed, JSON.stringify(typed));
    }
    // A run of blanks inside counts as one.
    const spaced = await open(responsive('Go. a b\u00e9c', ['--practice']).url);
    assert.deepEqual(answersOf('Go. a b\u00e9c'), ['\u00e9c']);
    await spaced.page.fill(box(0), ' \u00e9c ');
    await spaced.page.click('#submit-test');
    assert.equal(await text(spaced.page, '#score'), '1');
    await spaced.context.close();
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('the timer counts down and submits after 12 seconds per gap, not before', async () => {
    const { url } = responsive(CAT, ['--timer']);
    const { page, context, errors } = await open(url, { size: PHONE, clock: true });
    assert.equal(await text(page, '#timer'), '0:36');
    assert.ok(await page.isVisible('#timer'));
    await page.fill(box(0), 'at');
    await page.clock.runFor(1000);
    assert.equal(await text(page, '#timer'), '0:35');
    await page.clock.runFor(34_999);
    assert.equal(await text(page, '#timer'), '0:01');
    assert.equal(await page.$$eval('form', (f) => f.length), 1, 'not yet submitted');
    await page.clock.runFor(1);
    assert.equal(await text(page, '#result'), 'You scored 1 out of a possible 3');
    assert.equal(await page.$$eval('form', (f) => f.length), 0);
    await page.clock.runFor(60_000);
    assert.deepEqual(errors, []);
    await context.close();

    // Practice version: the check runs once, the boxes stay for another try.
    const practice = await open(responsive('Go. a bb c dd', ['--practice', '--timer']).url, { clock: true });
    await practice.page.clock.runFor(23_999);
    assert.equal(await text(practice.page, '#feedback'), '');
    await practice.page.clock.runFor(1);
    assert.equal(await text(practice.page, '#feedback'), 'Some of your answers are wrong.');
    assert.equal(await text(practice.page, '#score'), '0');
    assert.equal(await text(practice.page, '#timer'), '0:00');
    await practice.page.fill(box(0), 'b');
    await practice.page.fill(box(1), 'd');
    await practice.page.click('#submit-test');
    assert.equal(await text(practice.page, '#feedback'), 'All correct! Well done.');
    assert.deepEqual(practice.errors, []);
    await practice.context.close();

    // Longer limits show minutes and hours.
    const long = await open(responsive('Go. ' + 'ab cd '.repeat(310), ['--timer']).url, { clock: true });
    assert.equal(await text(long.page, '#timer'), '1:02:00');
    await long.context.close();

    // Without the option there is no countdown.
    const none = await open(responsive(CAT).url, { clock: true });
    assert.equal(await none.page.$('#timer'), null);
    await none.page.clock.runFor(3_600_000);
    assert.equal(await none.page.$$eval('form', (f) => f.length), 1);
    await none.context.close();
  });

  test('Enter moves to the next gap, and from the last one to Submit Test', async () => {
    for (const source of [CAT, 'Go. a bc']) {
      const { url } = responsive(source, ['--practice']);
      const { page, context, errors } = await open(url, { size: PHONE });
      const gaps = answersOf(source).length;
      await page.evaluate(() => { window.stayed = true; });
      await page.focus(box(0));
      const visited = [];
      for (let i = 0; i < gaps; i++) {
        await page.keyboard.press('Enter');
        visited.push(await page.evaluate(() => document.activeElement.name || document.activeElement.id));
      }
      assert.deepEqual(visited, [...Array.from({ length: gaps - 1 }, (_, i) => String(i + 1)), 'submit-test']);
      assert.equal(await page.evaluate(() => window.stayed), true, 'the page was not submitted or reloaded');
      assert.equal(page.url(), url);
      assert.equal(await text(page, '#feedback'), '', 'Enter does not check the answers');
      assert.deepEqual(errors, []);
      await context.close();
    }
  });

  test('printed: title, a name line, each gap a line of its length, no buttons, no focus ring', async () => {
    const { url } = responsive(CAT, ['--practice', '--show-answers', '--timer', '--title', 'Printed test']);
    const { page, context } = await open(url, { clock: true });
    await fillAll(page, ['at', 'x', '']);
    await page.click('#submit-test');
    // A box with the focus, as after typing into it.
    await page.focus(box(1));
    await page.keyboard.press('End');
    assert.notEqual(await page.$eval(box(1), (e) => getComputedStyle(e).outlineStyle), 'none', 'focused on the screen');
    assert.ok(await page.isHidden('.name-line'), 'the name line is for paper only');
    await page.emulateMedia({ media: 'print' });
    for (const hidden of ['#submit-test', '#show-answers', '#timer', '#feedback', 'footer']) {
      assert.ok(await page.isHidden(hidden), `${hidden} is not printed`);
    }
    assert.ok(await page.isVisible('.name-line'));
    assert.equal((await page.innerText('.name-line')).trim(), 'Name:');
    assert.equal(await page.innerText('h1'), 'Printed test');
    const lines = await page.$$eval('#cloze input', (els) => els.map((e) => {
      const s = getComputedStyle(e);
      return { width: e.getBoundingClientRect().width, top: s.borderTopStyle, bottom: s.borderBottomStyle, colour: s.color };
    }));
    for (const line of lines) {
      assert.equal(line.top, 'none');
      assert.equal(line.bottom, 'solid');
      assert.equal(line.colour, 'rgba(0, 0, 0, 0)', 'what was typed is not printed');
    }
    assert.ok(lines[0].width > lines[1].width, 'a two-letter gap is longer than a one-letter gap');
    assert.deepEqual([await markImage(page, 0), await markImage(page, 1), await markImage(page, 2)], ['none', 'none', 'none']);
    assert.equal(await page.evaluate(() => document.activeElement.name), '1');
    assert.equal(await page.$eval(box(1), (e) => getComputedStyle(e).outlineStyle), 'none', 'no focus ring on paper');
    await context.close();
  });

  test('answers in many scripts and with special characters count when typed key by key', async () => {
    const answers = answersOf(SCRIPTS);
    for (const needle of ['\u{1F601}\u{1F602}', '\u{1F44D}', '\\cd', '%cd', 'ot\u201d', 'n\u2019t', 'il\u00bb']) {
      assert.ok(answers.includes(needle), `${JSON.stringify(needle)} in ${JSON.stringify(answers)}`);
    }
    for (const range of [/[\u0105\u0119\u0142\u00f3\u017a\u017c\u015b\u0144]/, /[\u0400-\u04ff]/, /[\u0370-\u03ff]/, /[\u0590-\u05ff]/]) {
      assert.ok(answers.some((a) => range.test(a)), `${range} in ${JSON.stringify(answers)}`);
    }
    const { url } = responsive(SCRIPTS, ['--practice', '--show-answers']);
    for (const changed of [false, true]) {
      const { page, context, errors } = await open(url, { size: PHONE });
      const typed = answers.slice();
      if (changed) typed[typed.length - 1] = typed[typed.length - 1].slice(0, -1) + 'x';
      for (let i = 0; i < typed.length; i++) {
        await page.tap(box(i));
        await page.keyboard.type(typed[i]);
      }
      assert.deepEqual(await gapValues(page), typed, 'the boxes hold what was typed');
      await page.tap('#submit-test');
      assert.equal(await text(page, '#feedback'), changed ? 'Some of your answers are wrong.' : 'All correct! Well done.');
      assert.equal(await text(page, '#score'), String(changed ? answers.length - 1 : answers.length));
      assert.ok(await noSidewaysScroll(page));
      assert.deepEqual(errors, []);
      await context.close();
    }
    // Show Answers decodes every answer exactly.
    const shown = await open(url);
    await shown.page.click('#show-answers');
    assert.deepEqual(await gapValues(shown.page), answers);
    await shown.context.close();
  });

  test('each line runs in the direction of its own text, and a box stays beside its kept part', async () => {
    const hebrew = '\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd. \u05d6\u05d4 \u05de\u05d1\u05d7\u05df \u05e7\u05e6\u05e8 \u05de\u05d0\u05d5\u05d3' +
      '\r\nAnd this line is English, with words that are long enough to wrap on a phone screen.';
    const { page, context } = await open(responsive(hebrew, ['--title', '\u05de\u05d1\u05d7\u05df']).url, { size: PHONE });
    // Where the first character of each line stands within the text.
    const sides = await page.$eval('.text', (p) => {
      const box = p.getBoundingClientRect();
      return Array.from(p.children, (line) => {
        const range = document.createRange();
        range.setStart(line.firstChild, 0);
        range.setEnd(line.firstChild, 1);
        const r = range.getBoundingClientRect();
        return `${line.firstChild.data[0]} ${r.right > box.right - 40 ? 'right' : r.left < box.left + 40 ? 'left' : 'middle'}`;
      });
    });
    assert.deepEqual(sides, ['\u05e9 right', 'A left']);
    assert.equal(await page.$eval('h1', (e) => getComputedStyle(e).direction), 'rtl');
    assert.deepEqual(await splitGaps(page), []);
    assert.ok(await noSidewaysScroll(page));
    await context.close();

    // The bundled sample on a phone, at two text sizes: no kept part ends a
    // line with its box on the next.
    for (const size of ['14', '20']) {
      const phone = await open(responsive(SAMPLE, ['--size', size]).url, { size: PHONE });
      assert.deepEqual(await splitGaps(phone.page), [], `text size ${size}`);
      assert.ok(await noSidewaysScroll(phone.page));
      await phone.context.close();
    }
  });

  // A long text in many lines: the lines far from the screen are not laid
  // out until they come near, and that must change nothing the pupil does.
  test('Enter from one line block into a box far off screen focuses it and scrolls it into view', async () => {
    const source = lined(400);
    const gaps = answersOf(source).length;
    assert.equal(gaps, 8);
    const { url } = responsive(source, ['--practice']);
    const { page, context, errors } = await open(url, { size: PHONE });
    const far = await page.$eval(box(1), (e) => e.getBoundingClientRect().top);
    assert.ok(far > 3 * PHONE.viewport.height, `the second box starts far off screen (${far})`);
    await page.focus(box(0));
    for (let i = 1; i < gaps; i++) {
      await page.keyboard.press('Enter');
      assert.equal(await page.evaluate(() => document.activeElement.name), String(i));
      // After the next frame, when the lines around it are laid out, the box is on the screen.
      const where = await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => {
        const r = document.activeElement.getBoundingClientRect();
        done({ top: r.top, bottom: r.bottom, height: innerHeight });
      }))));
      assert.ok(where.top >= 0 && where.bottom <= where.height, `box ${i} on the screen: ${JSON.stringify(where)}`);
    }
    await page.keyboard.type('x');
    assert.equal(await page.inputValue(box(gaps - 1)), 'x');
    await page.keyboard.press('Enter');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'submit-test');
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('for a screen reader, the lines far off the screen are in the accessibility tree', async () => {
    // Chromium in the mode a running screen reader puts it in: it then lays
    // out the lines that content-visibility would skip, so that all of them
    // can be read.
    const reader = await launchBrowser(['--force-renderer-accessibility']);
    try {
      const { url } = responsive(lined(400), ['--practice']);
      const context = await reader.newContext(PHONE);
      const page = await context.newPage();
      await page.goto(url);
      const last = await page.$eval(box(7), (e) => e.getBoundingClientRect().top);
      assert.ok(last > 3 * PHONE.viewport.height, `the last box starts far off screen (${last})`);
      // The browser's own tree, as the screen reader gets it.
      const cdp = await context.newCDPSession(page);
      const { nodes } = await cdp.send('Accessibility.getFullAXTree');
      const shown = nodes.filter((n) => !n.ignored);
      const boxes = shown.filter((n) => n.role?.value === 'textbox').map((n) => n.name?.value);
      assert.deepEqual(boxes, Array.from({ length: 8 }, (_, i) => `Gap ${i + 1} of 8`));
      const lines = shown.filter((n) => n.role?.value === 'StaticText' && /1234 5678/.test(n.name?.value ?? ''));
      assert.equal(lines.length, 400, 'every line of numbers is there to be read');
      await context.close();
    } finally {
      await reader.close();
    }
  });

  test('a reload leaves every box empty, whatever was typed', async () => {
    for (const options of [[], ['--practice']]) {
      const { url } = responsive(lined(100), options);
      const { page, context, errors } = await open(url);
      await fillAll(page, ['at', 'x']);
      await page.reload();
      assert.deepEqual(await gapValues(page), ['', '']);
      assert.deepEqual(errors, []);
      await context.close();
    }
  });

  test('empty source lines keep a line\'s height, and a final line break adds no line', async () => {
    for (const size of ['14', '24']) {
      const { url } = responsive('Go on now.\r\n\r\n\r\nab cd ef\r\n\r\n', ['--size', size]);
      const { page, context } = await open(url, { size: PHONE });
      const lines = await page.$$eval('.text > div', (ds) => ds.map((d) => ({ text: d.textContent, height: d.getBoundingClientRect().height })));
      assert.deepEqual(lines.map((l) => l.text), ['Go on now.', '', '', 'ab c ef', '']);
      const lineHeight = Number(size) * 1.6;
      for (const i of [0, 1, 2, 4]) assert.ok(Math.abs(lines[i].height - lineHeight) < 1, `line ${i}: ${lines[i].height}, not ${lineHeight}`);
      // The text reads as the source, its line breaks as LF.
      assert.equal(await text(page, '.text'), 'Go on now.\n\n\nab c ef\n\n');
      await context.close();
    }
  });

  test('every line is laid out on paper, however far from the screen', async () => {
    const { url } = responsive(lined(400), ['--practice']);
    const { page, context } = await open(url, { size: PHONE });
    // A line not yet laid out counts as one line high; laid out, each of
    // these lines but the first wraps.
    const heights = () => page.$$eval('.text > div', (ds) => ds.slice(1).map((d) => d.getBoundingClientRect().height));
    const lineHeight = await page.$eval('.text > div', (d) => parseFloat(getComputedStyle(d).fontSize) * 1.6);
    const unlaid = (hs) => hs.filter((h) => h < 1.5 * lineHeight).length;
    assert.ok(unlaid(await heights()) > 300, 'on screen, the lines far below wait until they come near');
    await page.emulateMedia({ media: 'print' });
    assert.equal(unlaid(await heights()), 0, 'on paper, every line is laid out in full');
    assert.equal(await page.$eval('.text > div:last-child', (d) => getComputedStyle(d).contentVisibility), 'visible');
    await context.close();
  });

  test('hostile texts and settings stay text and run no script', async () => {
    const attack = '</script><script>window.pwned=1</script><img src=x onerror="window.pwned=2"><!--';
    const source = `Hostile ${attack} here. a b${attack} cd \\'x \u2028 ef"gh <b>ij</b> kl&amp;mn`;
    const title = `${attack}"'\\\u2028${'T'.repeat(10_000)}`;
    const { url, bytes } = responsive(source, [
      '--practice', '--show-answers', '--timer', '--title', title,
      '--font', 'Evil"Font\'};</style><script>window.pwned=3</script>{', '--size', '14px;}</style><script>window.pwned=4</script>',
      '--page-background', '#ffffcc',
    ]);
    assert.equal(bytes.toString('utf8').indexOf('<script>window.pwned'), -1);
    for (const size of [PHONE, DESKTOP]) {
      const { page, context, errors } = await open(url, { size, clock: true });
      assert.equal(await page.evaluate(() => window.pwned), undefined);
      assert.equal(await page.$$eval('img', (i) => i.length), 0);
      assert.equal(await page.$$eval('script', (s) => s.length), 2);
      assert.equal(await page.$eval('h1', (h) => h.textContent), title);
      assert.equal(await page.title(), title);
      // The text shows as written: the test text without its gaps.
      const shown = await page.$eval('.text', (e) => e.textContent);
      assert.equal(shown, testText(source).replace(/\r\n/g, '\n').replace(/_+/g, ''));
      assert.equal(await page.$eval('body', (b) => getComputedStyle(b).backgroundColor), 'rgb(255, 255, 204)');
      assert.match(await page.$eval('body', (b) => getComputedStyle(b).fontFamily), /^"Evil\\"Font'\};<\/style><script>window\.pwned=3<\/script>\{", sans-serif$/);
      assert.equal(await page.$eval('body', (b) => getComputedStyle(b).fontSize), '14px');
      assert.ok(await noSidewaysScroll(page), 'a 10,000-character title wraps');
      const answers = answersOf(source);
      // The buttons are activated as the keyboard or a screen reader does,
      // not by a pointer at a position: under the 10,000-character title the
      // text is off screen, and when scrolling brings it near, its line is
      // laid out at its real height and moves the buttons below it, so a
      // click aimed a moment before can land on the title.
      await page.$eval('#show-answers', (b) => b.click());
      assert.deepEqual(await gapValues(page), answers);
      await page.reload();
      await fillAll(page, answers);
      await page.$eval('#submit-test', (b) => b.click());
      assert.equal(await text(page, '#feedback'), 'All correct! Well done.');
      await page.clock.runFor(3_600_000);
      assert.equal(await page.evaluate(() => window.pwned), undefined);
      assert.deepEqual(errors, []);
      await context.close();
    }
  });

  test('a long word and a narrow screen: the text wraps, nothing scrolls sideways', async () => {
    const source = 'Long words. ' + 'Donaudampfschifffahrtsgesellschaftskapit\u00e4nsm\u00fctzenabzeichen '.repeat(3) +
      'a\tb c \u6f22\u5b57\u6f22\u5b57\u6f22\u5b57 d \u{1F600}\u{1F600}\u{1F600}\u{1F600}';
    const { page, context } = await open(responsive(source, ['--size', '24']).url, { size: PHONE });
    assert.ok(await noSidewaysScroll(page));
    const widths = await page.$$eval('#cloze input', (els) => els.map((e) => e.getBoundingClientRect().right));
    for (const right of widths) assert.ok(right <= 360, `a box ends at ${right}`);
    await context.close();
  });
  test('nothing moves as the page is drawn or checked; boxes fit a finger; marks in place; Show Answers apart', async () => {
    const answers = answersOf(SAMPLE);
    // Right, wrong and empty in turn.
    const typed = answers.map((a, i) => [a, `${a}x`, ''][i % 3]);
    for (const [sizeName, size] of SIZES) {
      for (const textSize of ['14', '24']) {
        const where = `${sizeName}, text size ${textSize}`;
        const { page, context, errors } = await open(responsive(SAMPLE, ['--practice', '--show-answers', '--size', textSize]).url,
          { size, init: observeShifts });
        assert.deepEqual(await shiftsSoFar(page), [], `${where}: layout shifts`);
        // On a touch screen: boxes 32px tall, rows of boxes 12px apart.
        const boxes = await page.$$eval('#cloze input', (els) => els.map((e) => e.getBoundingClientRect()));
        const rows = boxes.reduce((rs, b) => (rs.length && b.top < rs[rs.length - 1].bottom ? rs : [...rs, b]), []);
        if (size === PHONE) {
          assert.ok(Math.min(...boxes.map((b) => b.height)) >= 32, where);
          assert.ok(Math.min(...rows.slice(1).map((r, i) => r.top - rows[i].bottom)) >= 12, where);
        }
        assert.ok(await page.evaluate(() => {
          const [a, b] = ['submit-test', 'show-answers'].map((id) => document.getElementById(id).getBoundingClientRect());
          return Math.max(b.left - a.right, b.top - a.bottom);
        }) >= 48, `${where}: Show Answers apart from Submit Test`);
        for (let i = 0; i < typed.length; i++) if (typed[i]) await page.fill(box(i), typed[i]);
        // Every element's place in the page (not on the screen, which scrolls).
        const places = () => page.$$eval('h1, .text > div, #cloze input, #submit-test, #show-answers, #result, footer', (els) =>
          els.map((e) => { const r = e.getBoundingClientRect(); return `${e.tagName} ${r.left + scrollX} ${r.top + scrollY} ${r.width} ${r.height}`; }));
        const before = await places();
        await press(page, '#submit-test', size);
        assert.deepEqual(await places(), before, where);
        assert.deepEqual(await gapValues(page), typed);
        assert.deepEqual(await marks(page), typed.map((t, i) => ['right', 'wrong invalid', 'not answered invalid'][i % 3]));
        assert.equal(await page.innerText('#score-line'), `Score: ${Math.ceil(answers.length / 3)} of ${answers.length}`);
        assert.deepEqual(errors, []);
        await context.close();
      }
    }
  });

  test('focus shows inside the box and covers neither its kept part nor the lines around it', async () => {
    // "sun i_": a kept part of one letter.
    const { url } = responsive('The sun is up. The sun is up and the day is long.', ['--practice']);
    for (const [sizeName, size] of SIZES) {
      for (const how of ['pointer', 'keyboard']) {
        const { page, context } = await open(url, { size });
        const gap = await page.$$eval('.text .w', (ws) => ws.findIndex((w) => w.textContent === 'i'));
        // The box, and the four bands around it, 12px wide.
        const areas = await page.$eval(box(gap), (e) => {
          const { left: x, top: y, width: w, height: h } = e.getBoundingClientRect();
          return [[x, y, w, h], [x - 12, y - 12, 12, h + 24], [x + w, y - 12, 12, h + 24], [x, y - 12, w, 12], [x, y + h, w, 12]]
            .map(([x, y, width, height]) => ({ x, y, width, height }));
        });
        const pictures = () => Promise.all(areas.map((clip) => page.screenshot({ clip, caret: 'hide' })));
        const blurred = await pictures();
        if (how === 'pointer') await press(page, box(gap), size);
        else await page.focus(box(gap - 1)).then(() => page.keyboard.press('Tab'));
        assert.equal(await page.evaluate(() => document.activeElement.name), String(gap));
        const focused = await pictures();
        assert.deepEqual(focused.map((p, k) => p.equals(blurred[k])), [false, true, true, true, true], `${sizeName}, ${how}`);
        await context.close();
      }
    }
  });

  test('Show Answers asks before it replaces what was typed, by keyboard, touch and screen reader', async () => {
    const { url } = responsive(CAT, ['--practice', '--show-answers']);
    const state = (page) => page.evaluate(() => `${document.getElementById('show-confirm').open ? 'asking' : 'closed'}, ` +
      `focus on ${document.activeElement.id}`);

    // Keyboard: Escape keeps the answers, "Show the answers" replaces them.
    const keys = await open(url);
    await fillAll(keys.page, ['at', 'x', 'a']);
    await keys.page.focus('#show-answers');
    await keys.page.keyboard.press('Enter');
    assert.equal(await state(keys.page), 'asking, focus on keep-answers');
    assert.equal(await keys.page.innerText('#show-confirm-text'), 'They replace what you typed in 2 gaps.');
    assert.match(await keys.page.locator('body').ariaSnapshot(), /dialog "Show the answers\?"/);
    assert.deepEqual(await axeViolations(keys.page), [], 'with the question open');
    await keys.page.keyboard.press('Escape');
    assert.equal(await state(keys.page), 'closed, focus on show-answers');
    assert.deepEqual(await gapValues(keys.page), ['at', 'x', 'a']);
    await keys.page.keyboard.press('Enter');
    await keys.page.keyboard.press('Tab');
    assert.equal(await state(keys.page), 'asking, focus on confirm-show');
    await keys.page.keyboard.press('Enter');
    assert.deepEqual(await gapValues(keys.page), ['at', 'n', 'at']);
    assert.deepEqual(keys.errors, []);
    await keys.context.close();

    // Touch: "Keep my answers", then "Show the answers"; then nothing is left to ask.
    const touch = await open(url, { size: PHONE });
    await touch.page.fill(box(1), 'x');
    await touch.page.tap('#show-answers');
    assert.equal(await touch.page.innerText('#show-confirm-text'), 'They replace what you typed in 1 gap.');
    await touch.page.tap('#keep-answers');
    assert.deepEqual(await gapValues(touch.page), ['', 'x', '']);
    await touch.page.tap('#show-answers');
    await touch.page.tap('#confirm-show');
    assert.deepEqual(await gapValues(touch.page), ['at', 'n', 'at']);
    await touch.page.tap('#show-answers');
    assert.equal(await state(touch.page), 'closed, focus on show-answers');
    assert.deepEqual(touch.errors, []);
    await touch.context.close();

    // Time runs out while the question is open: what was typed is checked.
    const timed = await open(responsive(CAT, ['--practice', '--show-answers', '--timer']).url, { clock: true });
    await fillAll(timed.page, ['at', 'x', '']);
    await timed.page.click('#show-answers');
    await timed.page.clock.runFor(36_000);
    assert.match(await state(timed.page), /^closed/);
    assert.deepEqual(await gapValues(timed.page), ['at', 'x', '']);
    assert.equal(await text(timed.page, '#feedback'), 'Some of your answers are wrong.');
    await timed.context.close();
  });

  test('a very long source line is cut into parts that read, run and work as the one line', async () => {
    const hebrew = '\u05e9\u05dc\u05d5\u05dd. ' + '\u05de\u05d1\u05d7\u05df \u05e7\u05e6\u05e8 '.repeat(800);
    for (const [source, dir] of [[oneLine(1200), 'ltr'], [hebrew, 'rtl']]) {
      const { page, context, errors } = await open(responsive(source, ['--practice']).url, { size: PHONE, init: observeShifts });
      assert.deepEqual(await shiftsSoFar(page), [], 'layout shifts');
      const lines = await page.$$eval('.text > div', (ds) => ds.map((d) => `${d.className} ${d.dir} ${d.children.length >= 3}`));
      assert.deepEqual(lines, [`cut ${dir} true`], 'one block for the one source line, in three parts or more');
      // The line reads as the source, and every part runs its way.
      assert.equal(await text(page, '.text'), testText(source).replace(/_+/g, ''));
      assert.deepEqual(await page.$$eval('.cut > div', (ds) => [...new Set(ds.map((d) => getComputedStyle(d).direction))]), [dir]);
      // The first letter stands at the line's start edge.
      assert.equal(await page.$eval('.cut > div', (d) => {
        const range = document.createRange();
        range.setStart(d.firstChild, 0);
        range.setEnd(d.firstChild, 1);
        const r = range.getBoundingClientRect();
        const edge = d.getBoundingClientRect();
        return r.right > edge.right - 40 ? 'rtl' : r.left < edge.left + 40 ? 'ltr' : 'middle';
      }), dir);
      assert.ok(await noSidewaysScroll(page));
      // Enter goes on from the last box of one part to the first of the next.
      await page.$$eval('.cut > div:first-child input', (els) => els[els.length - 1].focus());
      await page.keyboard.press('Enter');
      assert.equal(await page.evaluate(() => document.activeElement.closest('.cut > div') === document.querySelector('.cut > div:nth-child(2)')), true);
      assert.deepEqual(await axeViolations(page), []);
      // On paper every part is laid out.
      await page.emulateMedia({ media: 'print' });
      assert.deepEqual(await page.$$eval('.cut > div', (ds) => [...new Set(ds.map((d) => getComputedStyle(d).contentVisibility))]), ['visible']);
      assert.deepEqual(errors, []);
      await context.close();
    }
  });

  // A test of two texts: the first gap of the first text also takes a
  // further answer, answers ignore letter case, the texts are in German.
  // Typed: the further answer, the second gap in upper case, a wrong
  // answer, the rest right; the further answer typed decomposed (NFD)
  // counts as its composed form.
  const TWO = [['Erster Text', 'Der Hund lief. Wir sahen dann den Hund im Park und gingen heim.'],
    ['Zweiter Text', 'Es regnet. Die Kinder spielten im Garten und lachten laut.']];
  for (const [variantName, options] of VARIANTS.slice(0, 2)) {
    for (const [sizeName, size] of SIZES) {
      test(`a test of several texts, ${variantName} on a ${sizeName}: further answers, letter case, scores per text`, async () => {
        const ctest = (edits) => JSON.stringify({ format: 'brenvik-test', version: 1, language: 'de', matching: 'ignore-case',
          texts: TWO.map(([title, source], t) => ({ title, source, edits: t === 0 ? edits : [] })) });
        const file = path.join(workDir, `two-${variantName.replace(/ /g, '-')}-${sizeName}.ctest`);
        writeFileSync(file, ctest([]));
        const ws = JSON.parse(runCli(['workspace', file]).stdout.toString('utf8'));
        const gaps = ws.texts.map((t) => t.gaps);
        const first = gaps[0][0];
        writeFileSync(file, ctest([{ word: first.word, occurrence: 1, accepted: ['\u00e9x'] }]));
        const out = file.replace(/ctest$/, 'htm');
        const r = runCli(['export', file, '--format', 'responsive', '-o', out, ...options]);
        assert.equal(r.status, 0, r.stderr);
        const { page, context, errors } = await open(pathToFileURL(out).href, { size });
        assert.equal(await page.getAttribute('html', 'lang'), 'en');
        assert.deepEqual(await page.$$eval('#cloze .text', (els) => els.map((e) => e.lang)), ['de', 'de']);
        assert.deepEqual(await page.$$eval('#cloze h2', (els) => els.map((e) => e.textContent)), ['Erster Text', 'Zweiter Text']);
        const labels = await page.$$eval('#cloze input', (els) => els.map((e) => e.getAttribute('aria-label')));
        const total = gaps[0].length + gaps[1].length;
        assert.deepEqual(labels, Array.from({ length: total }, (_, i) => `Gap ${i + 1} of ${total}`));
        const typed = [...gaps[0], ...gaps[1]].map((g) => g.answer);
        typed[0] = 'e\u0301x';
        typed[1] = typed[1].toUpperCase();
        typed[gaps[0].length] = 'qq';
        await fillAll(page, typed);
        await press(page, '#submit-test', size);
        const perText = [`Erster Text: ${gaps[0].length} of ${gaps[0].length}`,
          `Zweiter Text: ${gaps[1].length - 1} of ${gaps[1].length}`];
        if (options.includes('--practice')) {
          assert.equal(await page.innerText('#score-line'), `Score: ${total - 1} of ${total}`);
          assert.deepEqual(await page.$$eval('#text-scores li', (els) => els.map((e) => e.textContent)), perText);
        } else {
          assert.equal(await page.$eval('#result', (e) => e.firstChild.textContent), `You scored ${total - 1} out of a possible ${total}`);
          assert.deepEqual(await page.$$eval('#result li', (els) => els.map((e) => e.textContent)), perText);
        }
        assert.ok(await noSidewaysScroll(page));
        assert.deepEqual(errors, []);
        await context.close();
      });
    }
  }
});

// A plain test of one text whose answers go beyond Windows-1252: the pupil's
// answers typed decomposed (NFD), as pasted text and some keyboards give
// them, are right. A text within Windows-1252 keeps the plain script, which
// takes the answers as typed.
describe('typed answers in NFC on the page of one plain text', () => {
  const CASES = [
    ['Vietnamese', 'T\u00f4i \u0111i h\u1ecdc. H\u00f4m nay tr\u1eddi \u0111\u1eb9p v\u00e0 ch\u00fang t\u00f4i \u0111i ch\u01a1i \u1edf c\u00f4ng vi\u00ean.', true],
    ['Yoruba', 'Mo l\u1ecd. \u1eccm\u1ecd n\u00e1\u00e0 f\u1eb9\u0301r\u00e0n j\u1eb9 o\u00fanj\u1eb9 l\u00e1ti in\u00fa ik\u00f2k\u00f2 w\u00e1.', true],
    ['French', 'Il part. Le caf\u00e9 \u00e9tait pr\u00e8s de la rivi\u00e8re et na\u00efve \u00e9l\u00e8ve arriv\u00e9e.', false],
  ];
  for (const [name, text, nfc] of CASES) {
    test(`${name}: ${nfc ? 'decomposed answers are right' : 'the plain script, answers as typed'}`, async () => {
      const { url, bytes } = responsive(text);
      assert.equal(bytes.includes("normalize('NFC')"), nfc);
      const answers = answersOf(text);
      assert.ok(answers.some((a) => a.normalize('NFD') !== a), 'some answer has a decomposable letter');
      const { page, context, errors } = await open(url);
      await fillAll(page, answers.map((a) => a.normalize('NFD')));
      await page.click('#submit-test');
      const right = nfc ? answers.length : answers.filter((a) => a.normalize('NFD') === a).length;
      assert.equal(await page.$eval('#result', (e) => e.firstChild.textContent), `You scored ${right} out of a possible ${answers.length}`);
      assert.deepEqual(errors, []);
      await context.close();
    });
  }
});
