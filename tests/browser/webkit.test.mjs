// Both pages in WebKit: Debian's WebKitWebDriver (webkit2gtk-driver) driving
// WebKitGTK's MiniBrowser over W3C WebDriver, on an Xvfb display that this
// file starts. Everything starts once for the file.
//
// W3C WebDriver has no way to run a script before the page's own, so the
// page is loaded from a copy with a small script put in front of its first
// script: it records script errors and, for the timer checks, replaces the
// page's timers with the fake clock.

import { scormEngineTest } from './scorm-engines.mjs';
import { engineTests } from './engines.mjs';
import { startWebKit } from './webkit-driver.mjs';

engineTests('WebKit', startWebKit);
scormEngineTest('WebKit', startWebKit);
