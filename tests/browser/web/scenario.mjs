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

// Clicks each format's button; returns {format: {name, bytes}}, or with
// refusals allowed {format: {refused: the alert's message}} for a format the
// page refused.
export async function downloadAll(driver, { refusals = false } = {}) {
  const refused = {};
  for (const format of FORMATS) {
    const before = await driver.evaluate('window.__saved.length');
    await click(driver, `button[data-format=${format}]`);
    await until(driver, `${idle} && (window.__saved.length > ${before} || !document.getElementById('alert').hidden)`, `${format} saved`);
    const alert = await alertText(driver);
    if (alert !== '' && refusals) refused[format] = alert;
    else assert.equal(alert, '', format);
  }
  await driver.evaluate(`(window.__read = null, Promise.all(window.__saved.map((s) => new Promise((resolve) => {
    const reader = new FileReader();
    reader.onload = () => resolve({ name: s.name, data: reader.result.slice(reader.result.indexOf(',') + 1) });
    reader.readAsDataURL(s.blob);
  }))).then((all) => { window.__read = all; window.__saved = []; }), true)`);
  await until(driver, 'window.__read !== null', 'the downloads read');
  const read = await driver.evaluate('window.__read');
  const saved = FORMATS.filter((f) => !(f in refused));
  return Object.fromEntries([
    ...saved.map((f, i) => [f, { name: read[i].name, bytes: Buffer.from(read[i].data, 'base64') }]),
    ...Object.entries(refused).map(([f, message]) => [f, { refused: message }]),
  ]);
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
    const args = ['export', test, '--format', format, '--out-dir', out, ...mark];
    if (saved[format].refused !== undefined) {
      // Refused by the page: brenvik-cli refuses it too, with the same message.
      const r = runCli(args);
      assert.notEqual(r.status, 0, `${format}: the page refused it, brenvik-cli wrote it`);
      assert.equal(r.stderr.trim(), saved[format].refused, `${format}: another refusal`);
      continue;
    }
    cli(args);
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

// A pasted text in one script: every format the same as brenvik-cli's, or
// refused by both with the same message (a text with no gap).
export async function scriptRoundTrip(driver, name) {
  const { text, lang } = fixture(name);
  await openPage(driver);
  await enterTexts(driver, [{ text }]);
  await setFields(driver, { language: lang, title: `Test ${lang}` });
  await processTest(driver);
  const saved = await downloadAll(driver, { refusals: true });
  assert.ok(saved.ctest.bytes?.equals(cliTestFile(text, ['--lang', lang, '--title', `Test ${lang}`])),
    `${name}: the page's test file differs from brenvik-cli's`);
  assertSameAsCli(saved);
}

// Opens a file in the page as the file field would (any engine: the field's
// files set from a DataTransfer).
export async function openFileInPage(driver, name, bytes) {
  await driver.evaluate(`(() => {
    const data = Uint8Array.from(atob(${js(Buffer.from(bytes).toString('base64'))}), (c) => c.charCodeAt(0));
    const transfer = new DataTransfer();
    transfer.items.add(new File([data], ${js(name)}));
    const field = document.getElementById('open-files');
    field.files = transfer.files;
    field.dispatchEvent(new Event('change', { bubbles: true }));
    return true;
  })()`);
  await until(driver, `${idle} && (/^Processed/.test(document.getElementById('status-text').textContent) || !document.getElementById('alert').hidden)`, `${name} opened`);
  assert.equal(await alertText(driver), '');
}

// Whether the page asks the browser to warn before the tab closes: a
// leave-page event of our own, so that no real prompt can stop a test.
export const warnsOnLeaving = (driver) => driver.evaluate(`(() => {
  const leaving = new Event('beforeunload', { cancelable: true });
  window.dispatchEvent(leaving);
  return leaving.defaultPrevented;
})()`);

export const SEVERAL = [
  { title: 'Morning', text: 'It was early. The sun came up over the hills and the birds began to sing in the trees near the house.', 'gap-limit': '4' },
  { title: 'Market', text: 'We went to town. People were selling apples, bread and cheese. The market was full of voices. We bought some pears.', 'keep-last': true },
  { title: '', text: 'Then it rained. Everybody ran for shelter under the old bridge until the clouds were gone again. Later we walked home.' },
];

const gapField = (type, word) => `document.querySelector('#gap-table-box input[type=${type}][data-word="${word}"]')`;

// Three texts with every setting, edited in the page's gap editor (a gap
// off, accepted answers, a held word refused), saved in every format and
// compared with brenvik-cli, printed, opened again with the edits kept; the
// leave-page warning after the edits and not once the test file is saved.
// The driver's click, where it has one, is a real one, so the page has been
// used as a person uses it when the driver leaves it.
export async function severalTextsEdited(driver) {
  await openPage(driver);
  assert.equal(await warnsOnLeaving(driver), false, 'a page that was never used warns');
  await enterTexts(driver, SEVERAL);
  await setFields(driver, {
    title: 'Three texts', 'variant-practice': true, 'show-answers': true, timer: true, language: 'en',
    matching: 'ignore-case', 'page-background': '#fff8e1', font: 'Verdana', 'text-size': '18', 'pass-mark': '60',
  });
  await (driver.click ? driver.click('#process') : click(driver, '#process'));
  await until(driver, `${idle} && (/^Processed/.test(document.getElementById('status-text').textContent) || !document.getElementById('alert').hidden)`, 'the test processed');
  assert.equal(await alertText(driver), '');

  // The gap editor on the first text: the first gap off, answers for the second.
  const off = await driver.evaluate("document.querySelector('#gap-table-box tbody input[type=checkbox]:checked').dataset.word");
  await driver.evaluate(`(${gapField('checkbox', off)}.click(), true)`);
  await until(driver, `${idle} && !${gapField('checkbox', off)}.checked`, 'the gap off');
  const answered = await driver.evaluate("document.querySelector('#gap-table-box tbody input[type=text]').dataset.word");
  await driver.evaluate(`(() => {
    const field = ${gapField('text', answered)};
    field.value = 'xyz; abc ;';
    field.dispatchEvent(new Event('change', { bubbles: true }));
    return true;
  })()`);
  await until(driver, `${idle} && /changed/.test(document.getElementById('status-text').textContent)`, 'the answers kept');
  // A word the options keep whole is refused with the core's reason.
  await click(driver, '#every-word');
  const held = `[...document.querySelectorAll('#gap-table-box tbody tr')].find((r) => r.textContent.includes('after the gap limit')).querySelector('input')`;
  await driver.evaluate(`(${held}.click(), true)`);
  await until(driver, `${idle} && !document.getElementById('alert').hidden`, 'the refusal');
  assert.match(await alertText(driver), /stays whole/);
  assert.equal(await driver.evaluate(`${held}.checked`), false);
  await click(driver, '#alert-close');
  assert.equal(await warnsOnLeaving(driver), true, 'edited and not saved, and no warning');

  const saved = await downloadAll(driver);
  assert.equal(await warnsOnLeaving(driver), false, 'saved, and still a warning');
  const doc = JSON.parse(saved.ctest.bytes.toString('utf8'));
  assert.deepEqual(doc.texts.slice(0, 2).map((t) => t.title), ['Morning', 'Market']);
  assert.equal(doc.texts[0].gapLimit, 4);
  assert.equal(doc.texts[1].keepLastSentence, true);
  assert.equal(doc.settings.variant, 'practice');
  assert.equal(doc.settings.pageBackground, '#FFF8E1');
  assert.equal(doc.matching, 'ignore-case');
  const edits = doc.texts[0].edits;
  assert.ok(edits.some((e) => e.gap === 'off'), JSON.stringify(edits));
  assert.ok(edits.some((e) => JSON.stringify(e.accepted) === '["xyz","abc"]'), JSON.stringify(edits));
  assertSameAsCli(saved, { passMark: 60 });

  // The print layout went to the print with every text's title.
  await click(driver, '#print');
  await until(driver, `${idle} && typeof window.__printed === 'string'`, 'the worksheet printed');
  const printed = await driver.evaluate('window.__printed');
  for (const title of ['Three texts', 'Morning', 'Market']) assert.ok(printed.includes(title), title);
  // A change after saving warns again.
  await setFields(driver, { title: 'Three texts, changed' });
  assert.equal(await warnsOnLeaving(driver), true, 'changed after saving, and no warning');

  // Opened again in a fresh page (leaving the changed one): the same test,
  // the edits in the editor, nothing to warn about.
  await openPage(driver);
  await openFileInPage(driver, saved.ctest.name, saved.ctest.bytes);
  assert.equal(await driver.evaluate("document.getElementById('title').value"), 'Three texts');
  assert.equal(await driver.evaluate(`${gapField('checkbox', off)}.checked`), false);
  assert.equal(await driver.evaluate(`${gapField('text', answered)}.value`), 'xyz; abc');
  assert.equal(await warnsOnLeaving(driver), false, 'opened from a test file, and a warning');
  const again = await downloadAll(driver);
  assert.ok(again.ctest.bytes.equals(saved.ctest.bytes), 'the test file changed on the way');
}
