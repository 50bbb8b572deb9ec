// How long a page with many gaps takes to load and to score in headless
// Chromium, the classic page and the responsive page in the same run. A
// measurement, not a test: it prints figures and asserts nothing.
//
//   node bench/browser_load.mjs [GAPS] [RUNS]     (defaults 20000 and 3)
//
// Needs build/bin/brenvik-cli and tests/browser/node_modules (npm ci there).
// Each figure is the median of RUNS runs, each in a fresh browser context:
//   load   from navigation to the load event, then a forced layout (the page
//          is ready to type into)
//   score  the Submit Test click handler with every box filled right, then a
//          forced layout (the result is on the screen)

import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(path.join(root, 'tests/browser/package.json'));
const { chromium } = require('playwright-core');

const CLI = process.env.BRENVIK_CLI || path.join(root, 'build/bin/brenvik-cli');
const CHROMIUM = process.env.BRENVIK_CHROMIUM || '/usr/bin/chromium';
const ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const gaps = Number(process.argv[2] || 20000);
const runs = Number(process.argv[3] || 3);
const text = 'Go. ' + 'ab cd '.repeat(gaps);
const dir = mkdtempSync(path.join(tmpdir(), 'brenvik-bench-'));

function exportPage(name, options) {
  const file = path.join(dir, `${name}.htm`);
  const r = spawnSync(CLI, ['export', '-', '-o', file, ...options], { input: text });
  if (r.status !== 0) throw new Error(`brenvik-cli export failed: ${r.stderr}`);
  return pathToFileURL(file).href;
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

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await chromium.launch({ executablePath: CHROMIUM, headless: true, args: ARGS });
try {
  console.log(`${gaps} gaps, median of ${runs} runs, headless Chromium ${browser.version()}`);
  for (const [kind, variant, options] of [
    ['classic', 'test', []],
    ['responsive', 'test', ['--format', 'responsive']],
    ['classic', 'practice', ['--practice']],
    ['responsive', 'practice', ['--format', 'responsive', '--practice']],
  ]) {
    const url = exportPage(`${kind}-${variant}`, options);
    const loads = [];
    const scores = [];
    let shown = '';
    for (let r = 0; r < runs; r++) {
      const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
      const page = await context.newPage();
      await page.goto('about:blank');
      const t0 = performance.now();
      await page.goto(url, { waitUntil: 'load' });
      await page.evaluate(() => document.body.getBoundingClientRect());
      loads.push(performance.now() - t0);
      const result = await page.evaluate(SCORE[kind]);
      scores.push(result.ms);
      shown = result.shown;
      await context.close();
    }
    const load = median(loads);
    const score = median(scores);
    console.log(`${kind.padEnd(10)} ${variant.padEnd(8)} load ${load.toFixed(0).padStart(5)} ms  ` +
      `score ${score.toFixed(0).padStart(5)} ms  together ${(load + score).toFixed(0).padStart(5)} ms  (${shown})`);
  }
} finally {
  await browser.close();
  rmSync(dir, { recursive: true, force: true });
}
