// The SCORM checks per engine (Firefox, WebKit) in the scorm-again host
// page: a 2004 package where the pupil answers right, wrong and empty,
// submits, leaves and comes back; a 1.2 package of a test of six texts
// with further answers and letter case ignored. The driver needs visit(url), a plain navigation,
// and evaluate(expression).

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { fileURLToPath } from 'node:url';

import { pack, packFile, startPlatform, typeScript } from './scorm-host.mjs';

async function until(driver, expression) {
  for (let i = 0; i < 200; i++) {
    if (await driver.evaluate(`(() => { try { return Boolean(${expression}); } catch (e) { return false; } })()`)) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`never true: ${expression}`);
}

export function scormEngineTest(engine, startDriver) {
  let platform;
  let driver;
  before(async () => {
    platform = await startPlatform();
    driver = await startDriver();
  });
  after(async () => {
    await driver?.close();
    await platform?.close();
  });

  test(`SCORM 2004 package in ${engine}: scores, interactions, leaving and coming back`, async () => {
    const n = pack('This is a test. The cat sat on the mat.', '2004', 50, ['--practice']);
    await driver.visit(platform.host('2004', n));
    await until(driver, "window.pupil().readyState === 'complete' && window.pupil().getElementById('cloze')");
    await driver.evaluate(typeScript(['at', 'x', '']));
    await driver.evaluate("window.pupil().getElementById('submit-test').click()");
    await until(driver, "window.cmi().success_status === 'failed'");
    const cmi = await driver.evaluate('window.cmi()');
    assert.deepEqual([cmi.score.raw, cmi.score.max, cmi.score.scaled, cmi.completion_status], ['1', '3', '0.3333', 'completed']);
    assert.deepEqual(Object.values(cmi.interactions).filter((i) => i && i.id).map((i) => [i.id, i.learner_response, i.result]),
      [['text1-gap1', 'at', 'correct'], ['text1-gap2', 'x', 'incorrect'], ['text1-gap3', '', 'incorrect']]);
    await driver.evaluate("document.querySelector('iframe').src = 'about:blank'");
    await until(driver, 'window.API_1484_11.isTerminated()');
    const left = await driver.evaluate('window.cmi()');
    assert.equal(left.exit, 'suspend');
    assert.deepEqual(JSON.parse(left.suspend_data), { a: ['at', 'x', ''] });
    // The platform starts the next session with what it kept.
    await driver.visit(`${platform.base}/host?v=2004&p=${n}&saved=${encodeURIComponent(left.suspend_data)}`);
    await until(driver, "window.pupil().readyState === 'complete' && window.pupil().getElementById('cloze')");
    assert.deepEqual(await driver.evaluate("Array.from(window.pupil().querySelectorAll('#cloze input'), (b) => b.value)"), ['at', 'x', '']);
  });

  test(`SCORM 1.2 package of six texts in ${engine}: ids per text, further answers, any letter case`, async () => {
    const file = fileURLToPath(new URL('../../examples/research-form-a.ctest', import.meta.url));
    const n = packFile(file, '12', 10, ['--ignore-case']);
    await driver.visit(platform.host('12', n));
    await until(driver, "window.pupil().readyState === 'complete' && window.pupil().getElementById('cloze')");
    const gaps = await driver.evaluate("JSON.parse(window.pupil().getElementById('scorm-data').textContent).gaps");
    // Every gap with a further answer gets it, the first gap its answer in
    // capitals, the others nothing.
    const typed = gaps.map((g, i) => (g.answers.length > 1 ? g.answers[1] : i === 0 ? g.answers[0].toUpperCase() : ''));
    await driver.evaluate(typeScript(typed));
    await driver.evaluate("window.pupil().getElementById('submit-test').click()");
    await until(driver, "window.cmi().core.lesson_status === 'failed'");
    const cmi = await driver.evaluate('window.cmi()');
    const right = typed.filter((t) => t !== '').length;
    assert.equal(right, 7);
    assert.equal(cmi.core.score.raw, String(Math.round((right * 10000) / gaps.length) / 100));
    const got = Object.values(cmi.interactions).filter((i) => i && i.id);
    assert.deepEqual(got.map((i) => i.id), gaps.map((g) => g.id));
    assert.deepEqual([got[0].id, got[0].result], ['text1-gap1', 'correct']);
    assert.match(got[got.length - 1].id, new RegExp(`^text6-gap${gaps.length}$`));
    assert.deepEqual(got.map((i) => i.result), typed.map((t) => (t ? 'correct' : 'wrong')));
    const accepted = got.filter((i, k) => gaps[k].answers.length > 1);
    assert.deepEqual(accepted.map((i) => Object.values(i.correct_responses).filter((p) => p && p.pattern).map((p) => p.pattern)),
      gaps.filter((g) => g.answers.length > 1).map((g) => g.answers));
  });
}
