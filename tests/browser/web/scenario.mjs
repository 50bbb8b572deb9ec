// What a teacher does on brenvik.html, through any engine's driver (open and
// evaluate are enough), and what brenvik-cli writes for the same test.

import assert from 'node:assert/strict';
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { runCli, workDir } from '../helpers.mjs';

export const FORMATS = ['ctest', 'classic', 'responsive', 'moodle', 'scorm12', 'scorm2004'];
const FIXTURES = new URL('../../fixtures/scripts/', import.meta.url);

export function pagePath() {
  const page = process.env.BRENVIK_PAGE;
  if (!page) throw new Error('BRENVIK_PAGE is not set: run these tests through ctest in a build that makes the browser edition\'s module');
  return page;
}

let copies = 0;
// A fresh copy of the page for each visit (WebKit's driver writes a copy of
// its own next to an .htm file).
export function pageUrl() {
  const copy = path.join(workDir, `brenvik-${++copies}.htm`);
  copyFileSync(pagePath(), copy);
  return pathToFileURL(copy).href;
}

// The fixture of a script and its language tag (fr-nfd is French, in NFD).
export function fixture(name) {
  return { text: readFileSync(new URL(`${name}.txt`, FIXTURES), 'utf8'), lang: name.replace(/-nfd$/, '') };
}

const js = (value) => JSON.stringify(value);

// Polls until the expression is true; only a page that never gets there
// ends it, with what it waited for.
export async function until(driver, expression, what) {
  for (let i = 0; i < 1200; i++) {
    if (await driver.evaluate(expression)) return;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  throw new Error(`the page never got to: ${what}`);
}

// Opens the page, waits for the core and puts a recorder in front of its
// downloads and its print: what it saves is kept in window.__saved instead.
export async function openPage(driver, { record = true } = {}) {
  await driver.open(pageUrl());
  await until(driver, "document.body.dataset.ready === '1' || !document.getElementById('alert').hidden", 'the core ready');
  assert.equal(await alertText(driver), '');
  if (!record) return;
  await driver.evaluate(`(() => {
    window.__saved = [];
    const blobs = new Map();
    const create = URL.createObjectURL;
    URL.createObjectURL = (blob) => { const url = create.call(URL, blob); blobs.set(url, blob); return url; };
    HTMLAnchorElement.prototype.click = function () { window.__saved.push({ name: this.download, blob: blobs.get(this.href) }); };
    const frame = document.getElementById('print-frame');
    frame.addEventListener('load', () => {
      frame.contentWindow.print = () => { window.__printed = frame.contentDocument.documentElement.outerHTML; };
    });
    return true;
  })()`);
}

export const alertText = (driver) =>
  driver.evaluate("document.getElementById('alert').hidden ? '' : document.getElementById('alert-text').textContent");

export const idle = "document.body.dataset.busy === '0'";

// Sets form fields by id ({id: value}; true/false for checkboxes) as typing would.
export async function setFields(driver, fields) {
  await driver.evaluate(`(() => {
    for (const [id, value] of Object.entries(${js(fields)})) {
      const field = document.getElementById(id);
      if (typeof value === 'boolean') field.checked = value; else field.value = value;
      field.dispatchEvent(new Event(typeof value === 'boolean' ? 'change' : 'input', { bubbles: true }));
      field.dispatchEvent(new Event('change', { bubbles: true }));
    }
    return true;
  })()`);
}

export const click = (driver, selector) =>
  driver.evaluate(`(document.querySelector(${js(selector)}).click(), true)`);

// Puts the texts into the page, one after the other ({title, text, ...fields}).
export async function enterTexts(driver, texts) {
  for (let i = 0; i < texts.length; i++) {
    if (i > 0) await click(driver, '#add-text');
    const { title = '', text, ...fields } = texts[i];
    await setFields(driver, { 'text-title': title, source: text, ...fields });
  }
}

export async function processTest(driver) {
  await click(driver, '#process');
  await until(driver, `${idle} && (/^Processed/.test(document.getElementById('status-text').textContent) || !document.getElementById('alert').hidden)`, 'the test processed');
  assert.equal(await alertText(driver), '');
}

// Clicks each format's button; returns {format: {name, bytes}}.
export async function downloadAll(driver) {
  for (const format of FORMATS) {
    const before = await driver.evaluate('window.__saved.length');
    await click(driver, `button[data-format=${format}]`);
    await until(driver, `window.__saved.length > ${before} || !document.getElementById('alert').hidden`, `${format} saved`);
    assert.equal(await alertText(driver), '', format);
  }
  await driver.evaluate(`(window.__read = null, Promise.all(window.__saved.map((s) => new Promise((resolve) => {
    const reader = new FileReader();
    reader.onload = () => resolve({ name: s.name, data: reader.result.slice(reader.result.indexOf(',') + 1) });
    reader.readAsDataURL(s.blob);
  }))).then((all) => { window.__read = all; window.__saved = []; }), true)`);
  await until(driver, 'window.__read !== null', 'the downloads read');
  const read = await driver.evaluate('window.__read');
  return Object.fromEntries(FORMATS.map((f, i) => [f, { name: read[i].name, bytes: Buffer.from(read[i].data, 'base64') }]));
}

function cli(args, input) {
  const r = runCli(args, input);
  if (r.status !== 0) throw new Error(`brenvik-cli ${args.join(' ')} failed (${r.status}): ${r.stderr}`);
  return r;
}

// Every format the page saved against brenvik-cli's export of the page's own
// test file: the same name (as --out-dir names it) and the same bytes. The
// test file itself is checked by the caller.
export function assertSameAsCli(saved, { passMark } = {}) {
  const dir = mkdtempSync(path.join(workDir, 'cli-'));
  const test = path.join(dir, saved.ctest.name);
  writeFileSync(test, saved.ctest.bytes);
  for (const format of FORMATS.filter((f) => f !== 'ctest')) {
    const out = mkdtempSync(path.join(dir, `${format}-`));
    const mark = passMark !== undefined && format.startsWith('scorm') ? ['--pass-mark', String(passMark)] : [];
    cli(['export', test, '--format', format, '--out-dir', out, ...mark]);
    const [name] = readdirSync(out);
    assert.equal(saved[format].name, name, `${format}: file name`);
    assert.ok(saved[format].bytes.equals(readFileSync(path.join(out, name))), `${format}: the page's bytes differ from brenvik-cli's`);
  }
  return test;
}

// The test file brenvik-cli saves for a text on standard input.
export function cliTestFile(text, args) {
  const file = path.join(mkdtempSync(path.join(workDir, 'cli-')), 'made.ctest');
  cli(['test', '-', ...args, '--save', file, '-o', '/dev/null'], text);
  return readFileSync(file);
}

// A pasted text in one script: every format the same as brenvik-cli's.
export async function scriptRoundTrip(driver, name) {
  const { text, lang } = fixture(name);
  await openPage(driver);
  await enterTexts(driver, [{ text }]);
  await setFields(driver, { language: lang, title: `Test ${lang}` });
  await processTest(driver);
  const saved = await downloadAll(driver);
  assert.ok(saved.ctest.bytes.equals(cliTestFile(text, ['--lang', lang, '--title', `Test ${lang}`])),
    `${name}: the page's test file differs from brenvik-cli's`);
  assertSameAsCli(saved);
}
