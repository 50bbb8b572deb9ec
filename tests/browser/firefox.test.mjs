// Both pages in Firefox: Debian's firefox-esr driven by puppeteer-core over
// WebDriver BiDi, started once for this file.

import { scormEngineTest } from './scorm-engines.mjs';
import { engineTests } from './engines.mjs';
import { startFirefox } from './firefox-driver.mjs';

engineTests('Firefox', startFirefox);
scormEngineTest('Firefox', startFirefox);
