// How long a page with many gaps takes to load and to score in headless
// Chromium, the classic page and the responsive page in the same run. A
// measurement, not a test: it prints figures and asserts nothing.
//
//   node bench/browser_load.mjs [GAPS] [RUNS] [--one|--lined] [--trace]   (defaults 20000 and 5)
//
// Needs build/bin/brenvik-cli (or BRENVIK_CLI) and tests/browser/node_modules
// (npm ci there). Two texts of GAPS gaps each:
//   lined   prose: ten gaps a line, an empty line after every ten lines
//   one     the same words on a single source line, which the responsive
//           page cuts into parts
// --one or --lined runs that text only. Each figure is the median of RUNS
// runs, each in a fresh browser context:
//   ready   in the page, from navigation start to the end of a layout forced
//           in the load event: the text is laid out and the script has set
//           up the boxes, so the page is ready to type into
//   inter   domInteractive: the page is parsed and its script has run
//   wall    from the start of the navigation to the end of a layout forced
//           from outside, as seen by the test driver
//   score   the Submit Test click handler with every box filled right, then a
//           forced layout (the result is on the screen)
//   total   ready + score of the same run: load and Submit
// The load average of the machine is printed before and after each text,
// since the clock times grow with it.
// --trace adds, for one more run of each page, Chromium's own totals of the
// main work: the processor time (thread time, in ms) spent parsing HTML,
// running script (the page's own script runs within the parsing), styling,
// laying out and painting. They say where the time goes, and unlike the
// clock times they hardly grow when other programs keep the processor busy.

import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { loadavg, tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(path.join(root, 'tests/browser/package.json'));
const { chromium } = require('playwright-core');

const CLI = process.env.BRENVIK_CLI || path.join(root, 'build/bin/brenvik-cli');
const CHROMIUM = process.env.BRENVIK_CHROMIUM || '/usr/bin/chromium';
const ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const flags = process.argv.slice(2).filter((a) => a.startsWith('--'));
const numbers = process.argv.slice(2).filter((a) => !a.startsWith('--'));
const gaps = Number(numbers[0] || 20000);
const runs = Number(numbers[1] || 5);
const trace = flags.includes('--trace');

// One gap for each "ab cd": the C-test takes the second half of every second word.
function linedText(count) {
  const lines = [];
  for (let left = count; left > 0; left -= 10) {
    lines.push('ab cd '.repeat(Math.min(10, left)).trimEnd());
    if (lines.length % 11 === 10) lines.push('');
  }
  return 'Go.\n' + lines.join('\n');
}
const TEXTS = [
  ['lined', linedText(gaps)],
  ['one', 'Go. ' + 'ab cd '.repeat(gaps)],
].filter(([name]) => !(flags.includes('--one') || flags.includes('--lined')) || flags.includes(`--${name}`));
const PAGES = [
  ['classic', 'test', []],
  ['responsive', 'test', ['--format', 'responsive']],
  ['classic', 'practice', ['--practice']],
  ['responsive', 'practice', ['--format', 'responsive', '--practice']],
];

const dir = mkdtempSync(path.join(tmpdir(), 'brenvik-bench-'));

function exportPage(name, text, options) {
  const file = path.join(dir, `${name}.htm`);
  const r = spawnSync(CLI, ['export', '-', '-o', file, ...options], { input: text });
  if (r.status !== 0) throw new Error(`brenvik-cli export failed: ${r.stderr}`);
  return pathToFileURL(file).href;
}

// Runs in the page before its own script: a layout forced in the load event
// marks the moment the page is ready.
function markReady() {
  addEventListener('load', () => {
    document.body.getBoundingClientRect();
    window.benchReady = performance.now();
  });
}

// In the page: fill every box right, then time the Submit Test handler and
// the layout of its result.
const SCORE = {
  classic: () => {
    for (let x = 0; x < document.cloze.elements.length; x++) document.cloze.elements[x].value = Words[x];
    const start = performance.now();
    document.querySelector('input[value="Submit Test"]').click();
    document.body.getBoundingClientRect();
    const form = document.forms.buttonform;
    const shown = form && form.feedback ? `${form.feedback.value} ${form.score.value}` : document.body.innerText.trim();
    return { ms: performance.now() - start, shown };
  },
  responsive: () => {
    const data = JSON.parse(document.getElementById('test-data').textContent);
    const boxes = document.getElementById('cloze').getElementsByTagName('input');
    for (let i = 0; i < boxes.length; i++) boxes[i].value = String.fromCodePoint(...data.answers[i]);
    const start = performance.now();
    document.getElementById('submit-test').click();
    document.body.getBoundingClientRect();
    const shown = data.practice
      ? `${document.getElementById('feedback').textContent} ${document.getElementById('score').textContent}`
      : document.getElementById('result').textContent;
    return { ms: performance.now() - start, shown };
  },
};

const TRACED = ['ParseHTML', 'EvaluateScript', 'UpdateLayoutTree', 'Layout', 'PrePaint', 'Paint'];

async function traceTotals(browser, url) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  await page.goto('about:blank');
  const file = path.join(dir, 'trace.json');
  await browser.startTracing(page, { path: file, categories: ['devtools.timeline', 'blink'] });
  await page.goto(url, { waitUntil: 'load' });
  await page.evaluate(() => document.body.getBoundingClientRect());
  await browser.stopTracing();
  await context.close();
  const events = JSON.parse(readFileSync(file, 'utf8')).traceEvents;
  const totals = Object.fromEntries(TRACED.map((name) => [name, 0]));
  for (const e of events) if (e.ph === 'X' && e.name in totals) totals[e.name] += (e.tdur || 0) / 1000;
  return TRACED.map((name) => `${name} ${totals[name].toFixed(0)}`).join(', ');
}

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(0).padStart(5)} ms`;

const browser = await chromium.launch({ executablePath: CHROMIUM, headless: true, args: ARGS });
try {
  console.log(`${gaps} gaps, median of ${runs} runs, headless Chromium ${browser.version()}`);
  for (const [textName, text] of TEXTS) {
    const load = () => loadavg().map((l) => l.toFixed(2)).join(' ');
    console.log(`${textName}: ${text.split('\n').length} source lines (load average ${load()})`);
    for (const [kind, variant, options] of PAGES) {
      const url = exportPage(`${textName}-${kind}-${variant}`, text, options);
      const ready = [];
      const inter = [];
      const wall = [];
      const scores = [];
      const totals = [];
      let shown = '';
      for (let r = 0; r < runs; r++) {
        const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
        await context.addInitScript(markReady);
        const page = await context.newPage();
        await page.goto('about:blank');
        const t0 = performance.now();
        await page.goto(url, { waitUntil: 'load' });
        await page.evaluate(() => document.body.getBoundingClientRect());
        wall.push(performance.now() - t0);
        const timing = await page.evaluate(() => ({
          ready: window.benchReady,
          inter: performance.getEntriesByType('navigation')[0].domInteractive,
        }));
        ready.push(timing.ready);
        inter.push(timing.inter);
        const result = await page.evaluate(SCORE[kind]);
        scores.push(result.ms);
        totals.push(timing.ready + result.ms);
        shown = result.shown;
        await context.close();
      }
      console.log(`  ${kind.padEnd(10)} ${variant.padEnd(8)} ready ${ms(median(ready))}  inter ${ms(median(inter))}  ` +
        `wall ${ms(median(wall))}  score ${ms(median(scores))}  total ${ms(median(totals))}  (${shown})`);
      if (trace) console.log(`      processor ms: ${await traceTotals(browser, url)}`);
    }
    console.log(`  (load average ${load()})`);
  }
} finally {
  await browser.close();
  rmSync(dir, { recursive: true, force: true });
}
