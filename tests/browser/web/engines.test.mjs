// brenvik.html in Firefox and WebKit: pasted texts in a few scripts, every
// format compared with brenvik-cli (Chromium runs the whole table).

import { after, before, describe, test } from 'node:test';

import { startFirefox } from '../firefox-driver.mjs';
import { startWebKit } from '../webkit-driver.mjs';
import { scriptRoundTrip } from './scenario.mjs';

const SCRIPTS = ['ar', 'hi', 'ja', 'vi-nfd'];

for (const [engine, start] of [['Firefox', startFirefox], ['WebKit', startWebKit]]) {
  describe(`brenvik.html in ${engine}`, () => {
    let driver;
    before(async () => { driver = await start(); });
    after(async () => { await driver?.close(); });
    for (const name of SCRIPTS) {
      test(`a pasted ${name} text: every format as brenvik-cli writes it`, async () => {
        await scriptRoundTrip(driver, name);
        const errors = await driver.takeErrors();
        if (errors.length) throw new Error(`script errors: ${errors.join('; ')}`);
      });
    }
  });
}
