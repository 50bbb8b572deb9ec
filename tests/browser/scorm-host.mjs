// A learning platform for the SCORM package tests: scorm-again (the
// platform's side of SCORM 1.2 and 2004, from npm) in a host page that sets
// window.API or window.API_1484_11 and opens the package's page in an
// iframe, all served from 127.0.0.1.
//   /sa/...          scorm-again's ES modules
//   /p/N/...         the files of package N, unpacked
//   /host?v=12|2004&p=N[&saved=SUSPEND_DATA]   the host page; window.__saved
//                    (set before it loads) or saved is the attempt the
//                    platform resumes
// The host page gives the tests window.API (or API_1484_11) and
// window.cmi(), the platform's record as renderCMIToJSONObject() gives it.

import { spawnSync } from 'node:child_process';
import { createReadStream, existsSync, mkdirSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { workDir } from './helpers.mjs';

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.xml': 'application/xml', '.xsd': 'application/xml' };

export function cliPath() {
  const cli = process.env.BRENVIK_CLI;
  if (!cli || !existsSync(cli)) throw new Error('BRENVIK_CLI is not set to the built brenvik-cli: run these tests through ctest');
  return cli;
}

let packages = 0;

// Packs text with brenvik-cli export; version '12' or '2004', passMark a
// number or null. Options: export's own (--practice, --show-answers,
// --timer, --title T), and --ignore-case, --lang TAG and --accept WORD
// ANSWER, which go into a test file of the one text that is exported
// instead. Returns the package's number.
export function pack(text, version, passMark, options = []) {
  const n = ++packages;
  const zip = path.join(workDir, `package${n}.zip`);
  const exportOptions = [];
  const test = { format: 'brenvik-test', version: 1, texts: [{ title: 'Text 1', source: text, edits: [] }] };
  let testFile = false;
  for (let i = 0; i < options.length; ++i) {
    const o = options[i];
    if (o === '--ignore-case') { test.matching = 'ignore-case'; testFile = true; }
    else if (o === '--lang') { test.language = options[++i]; testFile = true; }
    else if (o === '--accept') {
      test.texts[0].edits.push({ word: options[i + 1], occurrence: 1, accepted: [options[i + 2]] });
      i += 2;
      testFile = true;
    } else if (o === '--title') exportOptions.push(o, options[++i]);
    else exportOptions.push(o);
  }
  const args = ['export', '-o', zip, '--format', version === '12' ? 'scorm12' : 'scorm2004', ...exportOptions];
  if (passMark !== null) args.push('--pass-mark', String(passMark));
  let r;
  if (testFile) {
    const file = path.join(workDir, `package${n}.ctest`);
    writeFileSync(file, JSON.stringify(test));
    r = spawnSync(cliPath(), [...args, file]);
  } else {
    r = spawnSync(cliPath(), args, { input: text });
  }
  unpack(n, zip, r);
  return n;
}

// Packs a test file with brenvik-cli export, its own options after it
// (--ignore-case, --lang TAG, --practice and the like). Returns the
// package's number.
export function packFile(file, version, passMark, options = []) {
  const n = ++packages;
  const zip = path.join(workDir, `package${n}.zip`);
  const args = ['export', file, '-o', zip, '--format', version === '12' ? 'scorm12' : 'scorm2004', ...options];
  if (passMark !== null) args.push('--pass-mark', String(passMark));
  unpack(n, zip, spawnSync(cliPath(), args));
  return n;
}

function unpack(n, zip, r) {
  if (r.status !== 0) throw new Error(`brenvik-cli export failed: ${r.stderr}`);
  const dir = path.join(workDir, `package${n}`);
  mkdirSync(dir);
  const u = spawnSync('unzip', ['-q', zip, '-d', dir]);
  if (u.status !== 0) throw new Error(`unzip failed: ${u.stderr}`);
}

function hostPage(version) {
  const v12 = version === '12';
  return `<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>platform</title><link rel="icon" href="data:,"></head><body>
<script type="module">
import { ${v12 ? 'Scorm12API' : 'Scorm2004API'} as Api } from '/sa/${v12 ? 'scorm12' : 'scorm2004'}.js';
const params = new URLSearchParams(location.search);
const api = new Api({ autocommit: false, logLevel: 5 });
// The attempt to resume: window.__saved, or the suspend data in ?saved=.
const saved = window.__saved || (params.has('saved') ? { suspend_data: params.get('saved') } : null);
if (saved) api.loadFromJSON(saved, '');
window.${v12 ? 'API' : 'API_1484_11'} = api;
window.cmi = () => JSON.parse(JSON.stringify(api.renderCMIToJSONObject())).cmi;
window.pupil = () => document.querySelector('iframe').contentDocument;
const frame = document.createElement('iframe');
frame.src = '/p/' + params.get('p') + '/index.html';
frame.style.width = '800px';
frame.style.height = '600px';
document.body.append(frame);
</script></body></html>`;
}

export async function startPlatform() {
  const sa = path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules', 'scorm-again', 'dist', 'esm');
  if (!existsSync(path.join(sa, 'scorm12.js'))) throw new Error('scorm-again is not installed: run "npm ci" in tests/browser (test.sh does)');
  const server = createServer((req, res) => {
    const url = new URL(req.url, 'http://127.0.0.1');
    let file = null;
    if (url.pathname === '/favicon.ico') {
      res.writeHead(204);
      res.end();
      return;
    }
    if (url.pathname === '/host') {
      res.writeHead(200, { 'content-type': TYPES['.html'] });
      res.end(hostPage(url.searchParams.get('v')));
      return;
    }
    const m = /^\/(sa|p\/\d+)\/([\w.-]+)$/.exec(url.pathname);
    if (m) file = m[1] === 'sa' ? path.join(sa, m[2]) : path.join(workDir, m[1].replace('p/', 'package'), m[2]);
    if (!file || !existsSync(file)) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, { 'content-type': TYPES[path.extname(file)] || 'application/octet-stream' });
    createReadStream(file).pipe(res);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  return {
    base,
    host: (version, n) => `${base}/host?v=${version}&p=${n}`,
    page: (n) => `${base}/p/${n}/index.html`,
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}

// Script for the host page: types into the pupil's boxes (by index) as
// typing would, each followed by a change event.
export function typeScript(typed) {
  return `(() => { const d = window.pupil(); const typed = ${JSON.stringify(typed)};
    typed.forEach((t, i) => { const box = d.querySelector('input[name="' + i + '"]'); box.value = t;
      box.dispatchEvent(new Event('input', { bubbles: true })); box.dispatchEvent(new Event('change', { bubbles: true })); });
  })()`;
}
