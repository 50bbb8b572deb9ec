// brenvik.html in Firefox and WebKit: pasted texts in a few scripts, every
// format compared with brenvik-cli (Chromium runs the whole table).
// Firefox cuts the scripts written without spaces (Japanese, Chinese, Thai,
// Lao, Burmese) into other words than ICU does, since its Intl.Segmenter
// has word models of its own ("とても良い天気" gives other gaps there): its
// table has Hebrew in place of Japanese.

import { after, before, describe, test } from 'node:test';

import { startFirefox } from '../firefox-driver.mjs';
import { startWebKit } from '../webkit-driver.mjs';
import { scriptRoundTrip } from './scenario.mjs';

const ENGINES = [
  ['Firefox', startFirefox, ['ar', 'he', 'hi', 'vi-nfd']],
  ['WebKit', startWebKit, ['ar', 'hi', 'ja', 'vi-nfd']],
];

for (const [engine, start, scripts] of ENGINES) {
  describe(`brenvik.html in ${engine}`, () => {
    let driver;
    before(async () => { driver = await start(); });
    after(async () => { await driver?.close(); });
    for (const name of scripts) {
      test(`a pasted ${name} text: every format as brenvik-cli writes it`, async () => {
        await scriptRoundTrip(driver, name);
        const errors = await driver.takeErrors();
        if (errors.length) throw new Error(`script errors: ${errors.join('; ')}`);
      });
    }
  });
}
