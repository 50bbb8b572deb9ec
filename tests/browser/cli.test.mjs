// brenvik-cli export as a black box: exit status, messages, files written or
// left alone, settings from the command line.

import assert from 'node:assert/strict';
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { pageText, runCli, workDir } from './helpers.mjs';

const CAT = 'This is a test. The cat sat on the mat.';
const out = (name) => path.join(workDir, name);

test('no answer: exit 1, the list error on stderr, no file written', () => {
  for (const text of ['', 'Hello world.', 'One. a 42 b 7']) {
    const file = out('none.htm');
    const r = runCli(['export', '-o', file], text);
    assert.equal(r.status, 1, JSON.stringify(text));
    assert.equal(r.stderr, 'Indice de liste hors limites (-1)\n');
    assert.equal(existsSync(file), false);
  }
  // An existing page of that name stays as it was.
  const file = out('kept.htm');
  writeFileSync(file, 'old page');
  assert.equal(runCli(['export', '-', '-o', file], 'Hello world.').status, 1);
  assert.equal(readFileSync(file, 'utf8'), 'old page');
});

test('usage errors: exit 2 and nothing written', () => {
  const file = out('usage.htm');
  const cases = [
    [],
    ['-'],
    ['-o'],
    ['-o', file, '--page-background', 'red'],
    ['-o', file, '--page-text', '#12345'],
    ['-o', file, '--answer-box', '#12345G'],
    ['-o', file, '--answer-text', 'FFFFFF0'],
    ['-o', file, '--answer-text'],
    ['-o', file, '--bogus'],
    ['-o', file, '--timer=1'],
    ['-o', file, '--out-dir', out('usage-dir')],
  ];
  // No input: none of these may read it. (A case wrongly accepted would read
  // an empty text and end with status 1.)
  for (const args of cases) {
    const r = runCli(['export', ...args]);
    assert.equal(r.status, 2, JSON.stringify(args));
    assert.match(r.stderr, /Usage: brenvik-cli export/);
    assert.equal(existsSync(file), false, JSON.stringify(args));
  }
  const help = runCli(['export', '--help']);
  assert.equal(help.status, 0);
  assert.match(help.stdout.toString(), /--page-background #RRGGBB/);
});

test('input from a file or standard input, decoded like File > Open', () => {
  const utf8 = out('in-utf8.txt');
  const latin = out('in-1252.txt');
  writeFileSync(utf8, 'Le caf\u00e9. Un caf\u00e9 tr\u00e8s bon.\n', 'utf8');
  writeFileSync(latin, Buffer.from('Le caf\xe9. Un caf\xe9 tr\xe8s bon.\n', 'latin1'));
  const pages = [];
  for (const args of [[utf8], [latin], ['-'], []]) {
    const file = out(`in-${pages.length}.htm`);
    const stdin = args.length && args[0] !== '-' ? undefined : 'Le caf\u00e9. Un caf\u00e9 tr\u00e8s bon.\r\n';
    assert.equal(runCli(['export', ...args, '-o', file], stdin).status, 0, JSON.stringify(args));
    pages.push(readFileSync(file));
  }
  for (const p of pages) assert.ok(p.equals(pages[0]));
  const text = pageText(pages[0]);
  assert.match(text, /unescape\('%66\u00e9'\)/);
  assert.ok(pages[0].includes(Buffer.from('Un  ca', 'latin1')));

  const missing = runCli(['export', out('does-not-exist.txt'), '-o', out('x.htm')]);
  assert.equal(missing.status, 1);
  assert.match(missing.stderr, /^Impossible d'ouvrir le fichier .*does-not-exist\.txt\n$/);
});

test('settings reach the page; colours in either case come out upper-case', () => {
  const file = out('settings.htm');
  const r = runCli(['export', '-o', file, '--practice', '--show-answers', '--timer', '--title', '\u0141\u00f3d\u017a & co',
    '--font', 'Georgia', '--size=16', '--page-background', '#ffffcc', '--page-text', '#003366',
    '--answer-box', '#336699', '--answer-text=#ffff00'], CAT);
  assert.equal(r.status, 0, r.stderr);
  const page = pageText(readFileSync(file));
  assert.ok(page.includes('<H2 align=center>&#321;\u00f3d&#378; &amp; co</H2>'));
  assert.ok(page.includes('FONT-SIZE:16px; WORD-SPACING: normal; COLOR:#003366; FONT-STYLE: normal; FONT-FAMILY:Georgia;'));
  assert.ok(page.includes('BACKGROUND-COLOR: #FFFFCC;'));
  assert.ok(page.includes('<TD bgColor=#336699>\r\n <FONT color=#FFFF00>'));
  assert.ok(page.includes("setTimeout('CheckAnswer()',36000)\"><FORM name=cloze>"));
  assert.ok(page.includes('value="Show Answers"'));
  assert.ok(page.includes('var c = 0 \r\n'));
  assert.ok(!page.includes('document.clear()'));
});

test('--format: classic by default and byte for byte, responsive as UTF-8, anything else a usage error', () => {
  const options = ['--practice', '--show-answers', '--timer', '--title', '\u0141\u00f3d\u017a & co', '--font', 'Georgia'];
  const pages = {};
  for (const format of [null, 'classic', 'responsive']) {
    const file = out(`format-${format}.htm`);
    const args = ['export', '-o', file, ...options, ...(format ? ['--format', format] : [])];
    const r = runCli(args, CAT);
    assert.equal(r.status, 0, r.stderr);
    pages[format] = readFileSync(file);
  }
  assert.ok(pages.classic.equals(pages[null]), '--format classic writes what export always wrote');
  assert.ok(pages.classic.subarray(0, 21).equals(Buffer.from('<!DOCTYPE HTML PUBLIC')));
  const responsive = pages.responsive.toString('utf8');
  assert.ok(responsive.startsWith('<!DOCTYPE html>\n'));
  assert.ok(Buffer.from(responsive, 'utf8').equals(pages.responsive), 'well-formed UTF-8');
  assert.ok(responsive.includes('<h1 dir="auto">\u0141\u00f3d\u017a &amp; co</h1>'));
  assert.ok(responsive.includes('--font:"Georgia",sans-serif'));
  assert.ok(responsive.includes('{"practice":true,"showAnswers":true,"seconds":36,"answers":[[97,116],[110],[97,116]]}'));
  // "--format=responsive" is the same option.
  const file = out('format-eq.htm');
  assert.equal(runCli(['export', '-o', file, ...options, '--format=responsive'], CAT).status, 0);
  assert.ok(readFileSync(file).equals(pages.responsive));

  for (const args of [['--format', 'bogus'], ['--format', 'Classic'], ['--format', ''], ['--format'],
    ['--format', 'classic', '--format', 'responsive']]) {
    const none = out('format-usage.htm');
    const r = runCli(['export', '-o', none, ...args], CAT);
    assert.equal(r.status, 2, JSON.stringify(args));
    assert.match(r.stderr, /Usage: brenvik-cli export .*--format classic\|responsive/);
    assert.equal(existsSync(none), false);
  }
  assert.match(runCli(['export', '-o', out('x.htm'), '--format', 'bogus'], CAT).stderr,
    /unknown format bogus \(known: classic\|responsive\|moodle\|pdf\|scorm12\|scorm2004\)/);
  const help = runCli(['export', '--help']).stdout.toString();
  assert.match(help, /--format NAME/);
  assert.match(help, /^ +responsive +a UTF-8 page/m);

  // No answer: the same error and nothing written, in either format.
  for (const format of ['classic', 'responsive']) {
    const none = out(`none-${format}.htm`);
    const r = runCli(['export', '-o', none, '--format', format], 'Hello world.');
    assert.equal(r.status, 1);
    assert.equal(r.stderr, 'Indice de liste hors limites (-1)\n');
    assert.equal(existsSync(none), false);
  }
});
