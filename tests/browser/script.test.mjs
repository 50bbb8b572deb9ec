// Property test without a browser: for many generated texts and settings the
// page's script parses, its Words array decodes to exactly the answers, and
// the style sheet keeps its three rules.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';
import vm from 'node:vm';

import { answersOf, exportPage, pageText, runCli, scriptOf, workDir } from './helpers.mjs';

// Small deterministic generator (mulberry32), so a failure can be replayed.
function generator(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const pick = (list) => list[Math.floor(next() * list.length)];
  return { next, pick };
}

const PIECES = [
  'house', 'cat', 'is', 'a', 'I', 'Mixed', 'CaSe', 'WORLD', 'caf\u00e9', 'na\u00efve', '\u017c\u00f3\u0142w',
  '\u0142\u00f3d\u017a', '\u043f\u0440\u0438\u0432\u0435\u0442', '\u03b3\u03ac\u03bc\u03bf\u03c2', '\u6f22\u5b57\u304b\u306a',
  '\u{1F600}', '\u{1F469}\u200d\u{1F52C}', '\\', '\\n', '%', '%41', '%u0041', '%%', '%E9', '<', '>', '&', '&amp;',
  '</script>', '<!--', '\t', '\u0001', '\u001f', '\u007f', '\u0085', '\u2028', '\u2029', '\u00a0', '\u20ac',
  '(see)', '[x]', '{y}', '$', '`', '#', '*', '+', '=', '~', '|', '^', 'B52', '3rd', '\ufffd',
];
const SEPARATORS = [' ', ' ', ' ', ', ', '. ', '! ', '? ', '.\r\n', '\r\n\r\n', '"', "'", '-', '/', ': ', '; ', '\n', '\r'];
const FONTS = ['Arial', 'Times New Roman', 'Georgia, serif', 'Bad"Font', 'x</script>', 'a{b}c;d', '\u0141ato', 'O\'Brien', '/*x*/'];
const SIZES = ['14', '18', '1.2em', '12;}', '"', '\u0661\u0664'];

function generate(rng) {
  let text = rng.pick(['A first sentence. ', 'Hi! ', 'Really? ', '', 'No mark at all ']);
  const words = 1 + Math.floor(rng.next() * 30);
  for (let i = 0; i < words; i++) {
    let word = '';
    const parts = 1 + Math.floor(rng.next() * 3);
    for (let p = 0; p < parts; p++) word += rng.pick(PIECES);
    text += word + rng.pick(SEPARATORS);
  }
  return text;
}

function colour(rng) {
  return '#' + Array.from({ length: 6 }, () => rng.pick('0123456789abcdefABCDEF'.split(''))).join('');
}

test('every generated page has a valid script whose Words are the answers', () => {
  const rng = generator(20261208);
  let pages = 0;
  let refused = 0;
  for (let n = 0; n < 120; n++) {
    const text = generate(rng);
    const options = ['--font', rng.pick(FONTS), '--size', rng.pick(SIZES), '--title', generate(rng).slice(0, 40),
      '--page-background', colour(rng), '--page-text', colour(rng), '--answer-box', colour(rng),
      '--answer-text', colour(rng)];
    if (rng.next() < 0.5) options.push('--practice');
    if (rng.next() < 0.5) options.push('--show-answers');
    if (rng.next() < 0.3) options.push('--timer');
    const answers = answersOf(text);
    const label = `case ${n}: ${JSON.stringify(text)} ${JSON.stringify(options)}`;
    if (answers.length === 0) {
      const r = runCli(['export', '-', '-o', `${workDir}/refused.htm`, ...options], text);
      assert.equal(r.status, 1, label);
      refused++;
      continue;
    }
    const { bytes } = exportPage(text, options);
    const script = scriptOf(bytes);
    assert.doesNotThrow(() => new Function(script), label);
    const words = vm.runInNewContext(`${script}\n;Words`, { unescape, escape, document: {} });
    assert.deepEqual(Array.from(words), answers, label);

    const page = pageText(bytes);
    const gaps = page.match(/<INPUT class=boxes size=5 name=\d+>/g) ?? [];
    assert.equal(gaps.length, answers.length, label);
    const style = page.slice(page.indexOf('<STYLE type=text/css>'), page.indexOf('</STYLE>'));
    assert.equal(style.split('{').length - 1, 3, label);
    assert.equal(style.split('}').length - 1, 3, label);
    assert.doesNotMatch(style, /["']|\/\*/, label);
    assert.ok(page.endsWith('</HTML>'), label);
    pages++;
  }
  assert.ok(pages > 80, `only ${pages} pages with answers (${refused} refused)`);
});

test('the golden page of the cat text is what brenvik-cli export writes', () => {
  const fixture = readFileSync(new URL('../fixtures/export/cat-test.htm', import.meta.url));
  const { bytes } = exportPage('This is a test. The cat sat on the mat.');
  assert.ok(bytes.equals(fixture));
});
