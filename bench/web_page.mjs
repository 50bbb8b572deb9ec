// brenvik.html in headless Chromium: its size, how soon a teacher can type,
// and a long test made and saved. A measurement, not a test: it prints
// figures and asserts nothing.
//
//   node bench/web_page.mjs PAGE [RUNS] [COPIES]   (defaults 5 runs, 371 copies)
//
// PAGE is a built brenvik.html (build/web/bin/brenvik.html, made with the
// browser edition's module). Needs tests/browser/node_modules (npm ci there).
// Each figure is the median of RUNS runs, each in a fresh page:
//   type     from the start of the navigation until a key typed into the
//            source text has arrived in it (the page is ready to type into)
//   core     from the start of the navigation until the core in its worker
//            has answered that it is ready
//   process  examples/sample.txt COPIES times (371 copies: 20,000 gaps) pasted,
//            from the Process click until the test and its gaps are shown
//   save     then from the click on "Responsive page" until the browser has
//            the whole download
//   both     process + save of the same run

import { readFileSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { loadavg } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(path.join(root, 'tests/browser/package.json'));
const { chromium } = require('playwright-core');

const [pageFile, runsArg = '5', copiesArg = '371'] = process.argv.slice(2);
if (!pageFile) {
  console.error('usage: node bench/web_page.mjs PAGE [RUNS] [COPIES]');
  process.exit(2);
}
const runs = Number(runsArg);
const text = readFileSync(path.join(root, 'examples/sample.txt'), 'utf8').repeat(Number(copiesArg));
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const load = () => loadavg().map((x) => x.toFixed(2)).join(' ');

const size = statSync(pageFile).size;
console.log(`brenvik.html: ${size} bytes (${(size / 1024).toFixed(1)} KiB)`);
console.log(`load average before: ${load()}`);

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const figures = { type: [], core: [], process: [], save: [], both: [] };
let gaps = '';
for (let run = 0; run < runs; run++) {
  const context = await browser.newContext({ acceptDownloads: true });
  const page = await context.newPage();
  const start = Date.now();
  await page.goto(pathToFileURL(pageFile).href, { waitUntil: 'commit' });
  await page.locator('#source').pressSequentially('x');
  await page.waitForFunction(() => document.getElementById('source').value === 'x');
  figures.type.push(Date.now() - start);
  await page.waitForFunction(() => document.body.dataset.ready === '1', null, { timeout: 0 });
  figures.core.push(Date.now() - start);

  // As a paste: the whole text at once.
  await page.evaluate((t) => {
    const source = document.getElementById('source');
    source.value = t;
    source.dispatchEvent(new Event('input', { bubbles: true }));
  }, text);
  const processStart = Date.now();
  await page.click('#process');
  await page.waitForFunction(() => /^Processed/.test(document.getElementById('status-text').textContent)
    || !document.getElementById('alert').hidden, null, { timeout: 0 });
  const processed = Date.now() - processStart;
  const status = await page.textContent('#status-text');
  if (!status.startsWith('Processed')) throw new Error(`the page refused: ${await page.textContent('#alert-text')}`);
  gaps = status;
  const saveStart = Date.now();
  const [download] = await Promise.all([page.waitForEvent('download', { timeout: 0 }),
    page.click('button[data-format=responsive]')]);
  await download.path();
  const saved = Date.now() - saveStart;
  figures.process.push(processed);
  figures.save.push(saved);
  figures.both.push(processed + saved);
  await context.close();
}
await browser.close();
console.log(`long text: ${gaps}`);
for (const [name, xs] of Object.entries(figures)) console.log(`${name.padEnd(8)} median ${median(xs)} ms  (${xs.join(', ')})`);
console.log(`load average after: ${load()}`);
