// SCORM packages against a real runtime (scorm-again) in Chromium: what the
// platform receives for right, wrong and empty answers in both versions,
// Show Answers, a pupil who leaves and comes back, answers too long to keep,
// and the page with no platform at all.

import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { launchBrowser } from './helpers.mjs';
import { pack, packFile, startPlatform, typeScript } from './scorm-host.mjs';

const CAT = 'This is a test. The cat sat on the mat.';   // gaps: at, n, at
const TIME_12 = /^\d{2,}:\d{2}:\d{2}(\.\d{1,2})?$/;
const TIME_2004 = /^PT\d+H\d+M\d+(\.\d{1,2})?S$/;
// Six texts in English, each with one further accepted answer.
const FORM_A = fileURLToPath(new URL('../../examples/research-form-a.ctest', import.meta.url));

describe('SCORM packages in Chromium with scorm-again', () => {
  let browser;
  let platform;
  let errors;
  before(async () => {
    browser = await launchBrowser();
    platform = await startPlatform();
  });
  after(async () => {
    await browser?.close();
    await platform?.close();
  });

  // A pupil's session: the host page with the package in its frame.
  async function session(version, n, saved) {
    const context = await browser.newContext();
    const page = await context.newPage();
    errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    if (saved) await page.addInitScript((s) => { window.__saved = s; }, saved);
    await page.goto(platform.host(version, n));
    await page.waitForFunction(() => window.pupil?.()?.readyState === 'complete' && window.pupil().getElementById('cloze'));
    const api = version === '12' ? 'API' : 'API_1484_11';
    return {
      page,
      type: (typed) => page.evaluate(typeScript(typed)),
      click: (id) => page.evaluate((i) => window.pupil().getElementById(i).click(), id),
      boxes: () => page.evaluate(() => Array.from(window.pupil().querySelectorAll('#cloze input'), (b) => b.value)),
      cmi: () => page.evaluate(() => window.cmi()),
      // Waits for the platform to hold what a check reported.
      reported: (expression) => page.waitForFunction(expression),
      leave: async () => {
        await page.evaluate(() => { document.querySelector('iframe').src = 'about:blank'; });
        await page.waitForFunction((a) => window[a].isTerminated(), api);
      },
      close: () => context.close(),
    };
  }

  const interactions12 = (cmi) => Object.values(cmi.interactions).filter((i) => typeof i === 'object' && i && i.id)
    .map((i) => ({ id: i.id, type: i.type, response: i.student_response, result: i.result, weighting: i.weighting,
      patterns: Object.values(i.correct_responses).filter((p) => typeof p === 'object' && p).map((p) => p.pattern) }));
  const interactions2004 = (cmi) => Object.values(cmi.interactions).filter((i) => typeof i === 'object' && i && i.id)
    .map((i) => ({ id: i.id, type: i.type, response: i.learner_response, result: i.result, weighting: i.weighting,
      patterns: Object.values(i.correct_responses).filter((p) => typeof p === 'object' && p).map((p) => p.pattern) }));

  test('SCORM 1.2, test version with a pass mark: right, wrong and empty answers', async () => {
    const s = await session('12', pack(CAT, '12', 60));
    await s.type(['at', 'x', '']);
    await s.click('submit-test');
    await s.reported(() => window.cmi().core.lesson_status === 'failed');
    let cmi = await s.cmi();
    assert.deepEqual(cmi.core.score, { raw: '33.33', min: '0', max: '100' });
    assert.match(cmi.core.session_time, TIME_12);
    assert.deepEqual(interactions12(cmi), [
      { id: 'text1-gap1', type: 'fill-in', response: 'at', result: 'correct', weighting: '1', patterns: ['at'] },
      { id: 'text1-gap2', type: 'fill-in', response: 'x', result: 'wrong', weighting: '1', patterns: ['n'] },
      { id: 'text1-gap3', type: 'fill-in', response: '', result: 'wrong', weighting: '1', patterns: ['at'] },
    ]);
    await s.leave();
    cmi = await s.cmi();
    assert.equal(cmi.core.exit, '', 'a submitted test is not resumed');
    assert.equal(JSON.parse(cmi.suspend_data).d, 1);
    assert.deepEqual(errors, []);
    await s.close();
  });

  test('SCORM 2004, test version: points, scaled score, case and language in the patterns', async () => {
    const s = await session('2004', pack(CAT, '2004', 60, ['--lang', 'en-GB', '--accept', 'cat', 'AT']));
    await s.type(['AT', 'n', 'at']);
    await s.click('submit-test');
    await s.reported(() => window.cmi().success_status === 'passed');
    const cmi = await s.cmi();
    assert.equal(cmi.score.raw, '3');
    assert.equal(cmi.score.min, '0');
    assert.equal(cmi.score.max, '3');
    assert.equal(cmi.score.scaled, '1');
    assert.equal(cmi.completion_status, 'completed');
    assert.match(cmi.session_time, TIME_2004);
    assert.deepEqual(interactions2004(cmi), [
      { id: 'text1-gap1', type: 'fill-in', response: 'AT', result: 'correct', weighting: '1',
        patterns: ['{case_matters=true}{lang=en-GB}at', '{case_matters=true}{lang=en-GB}AT'] },
      { id: 'text1-gap2', type: 'fill-in', response: 'n', result: 'correct', weighting: '1', patterns: ['{case_matters=true}{lang=en-GB}n'] },
      { id: 'text1-gap3', type: 'fill-in', response: 'at', result: 'correct', weighting: '1', patterns: ['{case_matters=true}{lang=en-GB}at'] },
    ]);

    const wrong = await session('2004', pack(CAT, '2004', null, ['--ignore-case']));
    await wrong.type(['AT', 'x', '']);
    await wrong.click('submit-test');
    await wrong.reported(() => window.cmi().completion_status === 'completed');
    const w = await wrong.cmi();
    assert.deepEqual([w.score.raw, w.score.max, w.score.scaled, w.success_status], ['1', '3', '0.3333', 'unknown']);
    assert.deepEqual(interactions2004(w).map((i) => [i.response, i.result, i.patterns[0]]),
      [['AT', 'correct', '{case_matters=false}at'], ['x', 'incorrect', '{case_matters=false}n'], ['', 'incorrect', '{case_matters=false}at']]);
    assert.deepEqual(errors, []);
    await s.close();
    await wrong.close();
  });

  for (const version of ['12', '2004']) {
    test(`SCORM ${version}, practice version: the latest check counts, Show Answers counts as no score`, async () => {
      const s = await session(version, pack(CAT, version, 50, ['--practice', '--show-answers']));
      const status = version === '12' ? (c) => c.core.lesson_status : (c) => c.success_status;
      const raw = version === '12' ? (c) => c.core.score.raw : (c) => c.score.raw;
      const results = (c) => (version === '12' ? interactions12(c) : interactions2004(c)).map((i) => i.result);
      await s.type(['at', 'x', '']);
      await s.click('submit-test');
      await s.reported(`window.cmi().${version === '12' ? 'core.lesson_status' : 'success_status'} === 'failed'`);
      await s.type(['at', 'n', '']);
      await s.click('submit-test');
      await s.reported(`window.cmi().${version === '12' ? 'core.lesson_status' : 'success_status'} === 'passed'`);
      let cmi = await s.cmi();
      assert.equal(raw(cmi), version === '12' ? '66.67' : '2');
      assert.deepEqual(results(cmi), ['correct', 'correct', version === '12' ? 'wrong' : 'incorrect']);
      await s.click('show-answers');
      await s.click('submit-test');
      await s.reported(`window.cmi().${version === '12' ? 'core.lesson_status' : 'success_status'} === 'failed'`);
      cmi = await s.cmi();
      assert.equal(status(cmi), 'failed');
      assert.equal(raw(cmi), '0');
      assert.deepEqual(results(cmi), ['neutral', 'neutral', 'neutral']);
      assert.deepEqual(errors, []);
      await s.close();
    });

    test(`SCORM ${version}: a pupil who leaves comes back to the typed answers`, async () => {
      const n = pack(CAT, version, null, ['--practice']);
      const first = await session(version, n);
      await first.type(['at', 'x', '']);
      await first.leave();
      const left = await first.cmi();
      assert.equal(version === '12' ? left.core.exit : left.exit, 'suspend');
      assert.deepEqual(JSON.parse(left.suspend_data), { a: ['at', 'x', ''] });
      await first.close();

      const saved = version === '12'
        ? { suspend_data: left.suspend_data, core: { entry: 'resume', lesson_status: 'incomplete' } }
        : { suspend_data: left.suspend_data, entry: 'resume', completion_status: 'incomplete' };
      const back = await session(version, n, saved);
      assert.deepEqual(await back.boxes(), ['at', 'x', '']);
      await back.type(['at', 'n', 'at']);
      await back.click('submit-test');
      await back.reported(`window.cmi().${version === '12' ? 'core.lesson_status' : 'completion_status'} === 'completed'`);
      const cmi = await back.cmi();
      assert.equal(version === '12' ? cmi.core.score.raw : cmi.score.raw, version === '12' ? '100' : '3');
      assert.deepEqual(errors, []);
      await back.close();
    });
  }

  for (const version of ['12', '2004']) {
    test(`SCORM ${version}, a test of six texts: ids per text and gap, accepted answers, any letter case`, async () => {
      const s = await session(version, packFile(FORM_A, version, 50, ['--ignore-case']));
      // Per box in page order: the text it is in (by the headings before it)
      // and its right answers.
      const boxes = await s.page.evaluate(() => {
        const d = window.pupil();
        const gaps = JSON.parse(d.getElementById('scorm-data').textContent).gaps;
        const out = [];
        let text = 0;
        for (const element of d.querySelectorAll('#cloze h2, #cloze input')) {
          if (element.tagName === 'H2') text++;
          else out.push({ text, answers: gaps[out.length].answers });
        }
        return out;
      });
      assert.equal(new Set(boxes.map((b) => b.text)).size, 6);
      assert.equal(boxes.filter((b) => b.answers.length === 2).length, 6, 'one further answer in each text');
      // The further answer where there is one; else in turn the answer in
      // capitals, a wrong one and none.
      const typed = boxes.map((b, i) => (b.answers.length > 1 ? b.answers[1]
        : i % 3 === 0 ? b.answers[0].toUpperCase() : i % 3 === 1 ? 'zzz' : ''));
      const right = boxes.map((b, i) => b.answers.length > 1 || i % 3 === 0);
      const rightCount = right.filter(Boolean).length;
      await s.type(typed);
      await s.click('submit-test');
      const pct = Math.round((rightCount * 10000) / boxes.length) / 100;
      const status = pct >= 50 ? 'passed' : 'failed';
      await s.reported(version === '12' ? `window.cmi().core.lesson_status === '${status}'`
        : `window.cmi().success_status === '${status}'`);
      assert.match(await s.page.evaluate(() => window.pupil().getElementById('result').textContent),
        new RegExp(`^You scored ${rightCount} out of a possible ${boxes.length}`));
      const cmi = await s.cmi();
      if (version === '12') {
        assert.deepEqual(cmi.core.score, { raw: String(pct), min: '0', max: '100' });
      } else {
        assert.deepEqual([cmi.score.raw, cmi.score.min, cmi.score.max], [String(rightCount), '0', String(boxes.length)]);
      }
      const wrong = version === '12' ? 'wrong' : 'incorrect';
      const pattern = version === '12' ? (a) => a : (a) => `{case_matters=false}{lang=en}${a}`;
      assert.deepEqual((version === '12' ? interactions12 : interactions2004)(cmi), boxes.map((b, i) => ({
        id: `text${b.text}-gap${i + 1}`, type: 'fill-in', response: typed[i], result: right[i] ? 'correct' : wrong,
        weighting: '1', patterns: b.answers.map(pattern) })));
      assert.deepEqual(errors, []);
      await s.close();
    });
  }

  test('SCORM 2004: the attempt is saved and finished by beforeunload, as a closing tab gives it', async () => {
    const s = await session('2004', pack(CAT, '2004', null, ['--practice']));
    await s.type(['at', '', 'x']);
    // Only the event: the page stays, as when a platform sends what is saved
    // during beforeunload and nothing after it.
    await s.page.evaluate(() => document.querySelector('iframe').contentWindow.dispatchEvent(new Event('beforeunload')));
    await s.page.waitForFunction(() => window.API_1484_11.isTerminated());
    const cmi = await s.cmi();
    assert.equal(cmi.exit, 'suspend');
    assert.match(cmi.session_time, TIME_2004);
    assert.deepEqual(JSON.parse(cmi.suspend_data), { a: ['at', '', 'x'] });
    assert.deepEqual(errors, []);
    await s.close();
  });

  test('SCORM 1.2: answers past 4,096 characters are not kept, and nothing fails', async () => {
    const s = await session('12', pack(CAT, '12', null));
    await s.type(['at', 'x'.repeat(5000), '']);
    await s.leave();
    const cmi = await s.cmi();
    assert.equal(cmi.suspend_data, '');
    assert.equal(cmi.core.exit, 'suspend');
    assert.deepEqual(errors, []);
    await s.close();
  });

  test('the page alone, with no platform, works and raises no error', async () => {
    for (const version of ['12', '2004']) {
      const context = await browser.newContext();
      const page = await context.newPage();
      const seen = [];
      page.on('pageerror', (e) => seen.push(e.message));
      page.on('console', (m) => { if (m.type() === 'error') seen.push(m.text()); });
      await page.goto(platform.page(pack(CAT, version, 60)));
      await page.fill('input[name="0"]', 'at');
      await page.click('#submit-test');
      assert.equal(await page.textContent('#result'), 'You scored 1 out of a possible 3');
      assert.deepEqual(seen, []);
      await context.close();
    }
  });
});
