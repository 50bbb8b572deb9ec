// brenvik.html in Firefox and WebKit, as in Chromium: every script fixture
// that the engine cuts into the words Debian's ICU 72 cuts, each format
// compared with brenvik-cli, and the test of several texts edited in the
// page's gap editor, saved, reopened and compared (scenario.mjs).
//
// Firefox ESR's Intl.Segmenter has word models of its own for the scripts
// written without spaces rather than ICU's dictionaries, so it leaves out
// Japanese ("行きました" ends 行き|まし|た, ICU 行き|ま|した), Lao
// (ນະຄອນຫຼວງ|ວຽງຈັນ, ICU one word), Burmese (မနက်|ဖြန်, ICU one word), Thai
// (ดำเนิน|สะดวก, ICU one word) and Chinese (老人|们, ICU 老|人们): other words
// get the gaps. WebKitGTK segments every fixture as ICU 72 does.

import { after, before, describe, test } from 'node:test';

import { startFirefox } from '../firefox-driver.mjs';
import { startWebKit } from '../webkit-driver.mjs';
import { scriptRoundTrip, severalTextsEdited } from './scenario.mjs';

const EVERY_SCRIPT = ['am', 'ar', 'bn', 'fr-nfd', 'he', 'hi', 'hy', 'ja', 'ka', 'km', 'ko', 'lo', 'my', 'ne', 'ta', 'th',
  'ur', 'vi-nfd', 'yo', 'zh'];
const FIREFOX_DIFFERS = ['ja', 'lo', 'my', 'th', 'zh'];

const ENGINES = [
  ['Firefox', startFirefox, EVERY_SCRIPT.filter((name) => !FIREFOX_DIFFERS.includes(name))],
  ['WebKit', startWebKit, EVERY_SCRIPT],
];

// The two engines side by side: each waits mostly on its own browser and on
// brenvik-cli, so together they take little longer than the slower alone.
describe('brenvik.html in Firefox and WebKit', { concurrency: true }, () => {
  for (const [engine, start, scripts] of ENGINES) {
    describe(`brenvik.html in ${engine}`, { concurrency: 1 }, () => {
      let driver;
      before(async () => { driver = await start(); });
      after(async () => { await driver?.close(); });
      const checked = (name, steps) => test(name, async () => {
        await steps();
        const errors = await driver.takeErrors();
        if (errors.length) throw new Error(`script errors: ${errors.join('; ')}`);
      });
      for (const name of scripts) {
        checked(`a pasted ${name} text: every format as brenvik-cli writes it`, () => scriptRoundTrip(driver, name));
      }
      checked('several texts, a gap switched off and accepted answers, saved and opened again', () => severalTextsEdited(driver));
    });
  }
});
