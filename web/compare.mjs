// Compares the WebAssembly module (through web/core-api.js) with
// brenvik-cli, byte for byte, over every format of one test:
//   node web/compare.mjs MODULE.js BRENVIK-CLI text FILE [--lang TAG]
//       the test of a text file, opened in the browser (openFile, the
//       language set as the page sets it) and pasted (newTest), against
//       `brenvik-cli test FILE --save` and `brenvik-cli test --save` from
//       standard input
//   node web/compare.mjs MODULE.js BRENVIK-CLI ctest FILE.ctest
//       a test file opened in the browser against brenvik-cli's reading of it
//   node web/compare.mjs MODULE.js BRENVIK-CLI settings FILE
//       a test made with every option and setting the page offers (newTest),
//       exported by both
// Then every format: exportAs(test, F) against `brenvik-cli export T.ctest
// --format F -o OUT` (the SCORM packages with a pass mark). An error on
// both sides counts as the same answer. One line per check; exit status 0
// when every check is the same, 1 otherwise.
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';

const args = process.argv.slice(2);
const option = (name) => {
  const i = args.indexOf(name);
  if (i < 0) return '';
  const [, value] = args.splice(i, 2);
  return value;
};
const lang = option('--lang');
const [modulePath, cli, kind, file] = args;
if (!file || !['text', 'ctest', 'settings'].includes(kind)) {
  console.error('usage: node web/compare.mjs MODULE.js BRENVIK-CLI (text|ctest|settings) FILE [--lang TAG]');
  process.exit(2);
}

const require = createRequire(import.meta.url);
require(path.join(path.dirname(path.resolve(modulePath)), 'core-api.js'));
// The module is given its code directly: node's fetch does not read files.
const api = await globalThis.BrenvikApi.create(require(path.resolve(modulePath)),
                                               {wasmBinary: readFileSync(modulePath.replace(/\.js$/, '.wasm'))});

const PASS_MARK = 60;
const FORMATS = ['classic', 'responsive', 'moodle', 'scorm12', 'scorm2004', 'ctest'];
const work = mkdtempSync(path.join(os.tmpdir(), 'brenvik-compare-'));
process.on('exit', () => rmSync(work, {recursive: true, force: true}));

// The output of a brenvik-cli run that writes OUT, or null when it fails
// without writing one.
function cliFile(cliArgs, out, input) {
  rmSync(out, {force: true});
  try {
    execFileSync(cli, cliArgs, {input, stdio: ['pipe', 'ignore', 'ignore'], maxBuffer: 1 << 30});
  } catch (e) {
    // A test of several texts of which some fail is still written.
  }
  try {
    return readFileSync(out);
  } catch (e) {
    return null;
  }
}

function webBytes(make) {
  try {
    return Buffer.from(make());
  } catch (e) {
    return null;
  }
}

let failed = false;
function check(what, web, desktop) {
  const same = web && desktop ? Buffer.compare(web, desktop) === 0 : !web && !desktop;
  if (!same) failed = true;
  const size = (b) => (b ? `${b.length} bytes` : 'an error');
  console.log(`${same ? 'same' : 'DIFFERENT'}  ${path.basename(file)}  ${what}  (${size(web)} from the module, ` +
              `${size(desktop)} from brenvik-cli)`);
}

const text = (bytes) => new TextDecoder().decode(bytes);
const withLanguage = (testFile) => {
  const test = JSON.parse(text(testFile));
  test.language = lang;
  return api.normalise(new TextEncoder().encode(JSON.stringify(test)));
};

let web;  // the module's test file
const desktop = path.join(work, 'desktop.ctest');
const langArgs = lang ? ['--lang', lang] : [];
if (kind === 'text') {
  const bytes = readFileSync(file);
  web = webBytes(() => withLanguage(api.openFile(path.basename(file), bytes)));
  check('opened test file', web, cliFile(['test', file, ...langArgs, '--save', desktop, '-o', '/dev/null'], desktop));
  const pasted = webBytes(() => api.newTest([{text: text(bytes)}], {language: lang}));
  check('pasted test file', pasted,
        cliFile(['test', ...langArgs, '--save', desktop, '-o', '/dev/null'], desktop, bytes));
} else if (kind === 'ctest') {
  web = webBytes(() => api.openFile(path.basename(file), readFileSync(file)));
  check('test file read and written', web, cliFile(['test', file, '--save', desktop, '-o', '/dev/null'], desktop));
} else {
  web = webBytes(() => api.newTest(
      [{title: 'Erster Text', text: text(readFileSync(file))}, {text: 'Der Hund lief über die Wiese. Er fand dort einen alten Knochen und trug ihn nach Hause.'}],
      {language: lang || 'de', matching: 'ignore-case', gapLimit: 12, keepLastSentence: true,
       settings: {title: 'Übung 3: Tiere', variant: 'practice', showAnswers: true, timer: true,
                  pageBackground: '#fafad2', pageText: '#102030', answerBox: '#C0C0C0', answerText: '#000080',
                  font: 'DejaVu Serif', textSize: '18'}}));
  // What the page keeps must be what brenvik-cli reads and writes again.
  writeFileSync(path.join(work, 'settings.ctest'), web || '');
  check('test file with settings read and written', web,
        cliFile(['test', path.join(work, 'settings.ctest'), '--save', desktop, '-o', '/dev/null'], desktop));
}
if (!web) {
  console.log(`no test file from the module: ${path.basename(file)}`);
  process.exit(failed ? 1 : 0);
}
// Both sides export the module's test file (the same bytes as brenvik-cli's
// when the checks above are the same).
const testPath = path.join(work, 'test.ctest');
writeFileSync(testPath, web);
for (const format of FORMATS) {
  const scorm = format.startsWith('scorm');
  const out = path.join(work, 'out');
  const desktopBytes = format === 'ctest'
      ? readFileSync(testPath)
      : cliFile(['export', testPath, '--format', format, ...(scorm ? ['--pass-mark', String(PASS_MARK)] : []),
                 '-o', out], out);
  check(format, webBytes(() => api.exportAs(web, format, scorm ? {passMark: PASS_MARK} : {}).bytes), desktopBytes);
}
process.exit(failed ? 1 : 0);
