// Shared helpers of the browser tests: brenvik-cli runs, pages in a temporary
// folder, and one headless Chromium (Debian's, never a downloaded one).

import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { createRequire } from 'node:module';

export const CHROMIUM = process.env.BRENVIK_CHROMIUM || '/usr/bin/chromium';
export const CHROMIUM_ARGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export function cliPath() {
  const cli = process.env.BRENVIK_CLI;
  if (!cli) throw new Error('BRENVIK_CLI is not set: run these tests through ctest, or set it to build/bin/brenvik-cli');
  if (!existsSync(cli)) throw new Error(`brenvik-cli not found at ${cli}: build it first`);
  return cli;
}

export const workDir = mkdtempSync(path.join(tmpdir(), 'brenvik-browser-'));
process.on('exit', () => rmSync(workDir, { recursive: true, force: true }));

let pageCounter = 0;

// Runs brenvik-cli with text on standard input. Without input, standard
// input is the null device: a run that must not read it (a usage error, a
// named input file) may end before reading, and writing into its closed pipe
// would fail with EPIPE depending on which process the system runs first.
export function runCli(args, input) {
  const options = { maxBuffer: 1 << 30 };
  if (input === undefined) options.stdio = ['ignore', 'pipe', 'pipe'];
  else options.input = input;
  const r = spawnSync(cliPath(), args, options);
  if (r.error) throw r.error;
  return { status: r.status, stdout: r.stdout, stderr: r.stderr.toString('utf8') };
}

// Exports the page of text with the given options; returns its path, file URL and bytes.
export function exportPage(text, options = []) {
  const file = path.join(workDir, `page${++pageCounter}.htm`);
  const r = runCli(['export', '-', '-o', file, ...options], text);
  if (r.status !== 0) throw new Error(`brenvik-cli export failed (${r.status}): ${r.stderr}`);
  return { file, url: pathToFileURL(file).href, bytes: readFileSync(file) };
}

// The answers the pupil must type: the non-empty deleted parts, before the
// page writer escapes them.
export function answersOf(text) {
  const r = runCli(['workspace', '-'], text);
  if (r.status !== 0) throw new Error(`brenvik-cli workspace failed (${r.status}): ${r.stderr}`);
  const workspace = JSON.parse(r.stdout.toString('utf8'));
  return workspace.RightHalves.filter((a) => a !== '');
}

// The page as the browser reads it (it declares iso-8859-1, read as windows-1252).
// (Decoded by hand: some node versions read windows-1252 as ISO-8859-1.)
const CP1252_80_9F = [
  0x20ac, 0x81, 0x201a, 0x192, 0x201e, 0x2026, 0x2020, 0x2021, 0x2c6, 0x2030, 0x160, 0x2039, 0x152, 0x8d, 0x17d, 0x8f,
  0x90, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x2dc, 0x2122, 0x161, 0x203a, 0x153, 0x9d, 0x17e, 0x178,
];
export function pageText(bytes) {
  let out = '';
  for (const b of bytes) out += String.fromCharCode(b >= 0x80 && b <= 0x9f ? CP1252_80_9F[b - 0x80] : b);
  return out;
}

export function scriptOf(bytes) {
  const text = pageText(bytes);
  const open = '<SCRIPT language=JavaScript> \r\n';
  const start = text.indexOf(open);
  const end = text.indexOf('</SCRIPT>');
  if (start < 0 || end < 0) throw new Error('page has no script');
  return text.slice(start + open.length, end);
}

// extraArgs: further Chromium switches, for the tests that need them.
export async function launchBrowser(extraArgs = []) {
  let chromium;
  try {
    ({ chromium } = await import('playwright-core'));
  } catch (e) {
    throw new Error(`playwright-core is not installed: run "npm ci" in tests/browser (test.sh does) (${e.message})`);
  }
  if (!existsSync(CHROMIUM)) {
    throw new Error(`Chromium not found at ${CHROMIUM}: install the Debian package chromium (test.sh does)`);
  }
  // launch() gives the browser a fresh temporary profile folder of its own.
  return chromium.launch({ executablePath: CHROMIUM, headless: true, args: [...CHROMIUM_ARGS, ...extraArgs] });
}

// axe-core's source, injected into a page to check its accessibility.
let axeSource;
export function axeSourceText() {
  if (axeSource === undefined) {
    try {
      axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
    } catch (e) {
      throw new Error(`axe-core is not installed: run "npm ci" in tests/browser (test.sh does) (${e.message})`);
    }
  }
  return axeSource;
}
