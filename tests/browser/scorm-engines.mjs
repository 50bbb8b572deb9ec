// One SCORM check per engine (Firefox, WebKit): a 2004 package in the
// scorm-again host page; the pupil answers right, wrong and empty, submits,
// leaves and comes back. The driver needs visit(url), a plain navigation,
// and evaluate(expression).

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { pack, startPlatform, typeScript } from './scorm-host.mjs';

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
}
