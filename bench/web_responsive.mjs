// The browser edition's module in node: a text of about 20,000 gaps
// (examples/sample.txt repeated) pasted into a new test, its responsive
// page exported, and the whole test described for the page (view).
//   node bench/web_responsive.mjs build/web/bin/brenvik-core.js [REPEATS]
// Prints the gaps, the page's size and the median of five runs per step.
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';

const [modulePath, repeats = '372'] = process.argv.slice(2);
const require = createRequire(import.meta.url);
let start = performance.now();
require(path.join(path.dirname(path.resolve(modulePath)), 'core-api.js'));
const api = await globalThis.BrenvikApi.create(require(path.resolve(modulePath)),
                                               {wasmBinary: readFileSync(modulePath.replace(/\.js$/, '.wasm'))});
const load = performance.now() - start;
const sample = readFileSync(new URL('../examples/sample.txt', import.meta.url), 'utf8');
const text = Array(Number(repeats)).fill(sample.trimEnd()).join('\n');

const median = (times) => times.sort((a, b) => a - b)[Math.floor(times.length / 2)];
function time(step) {
  const times = [];
  let result;
  for (let i = 0; i < 5; ++i) {
    start = performance.now();
    result = step();
    times.push(performance.now() - start);
  }
  return [median(times), result];
}
const [paste, test] = time(() => api.newTest([{text}], {}));
const [page, exported] = time(() => api.exportAs(test, 'responsive'));
const [view, described] = time(() => api.view(test));
console.log(`module loaded in ${load.toFixed(0)} ms; ${described.texts[0].gaps} gaps, ${text.length} characters`);
console.log(`newTest ${paste.toFixed(0)} ms, exportAs responsive ${page.toFixed(0)} ms (${exported.bytes.length} bytes), ` +
            `view ${view.toFixed(0)} ms`);
