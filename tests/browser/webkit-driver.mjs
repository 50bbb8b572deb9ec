// WebKit for the browser tests: Debian's WebKitWebDriver (webkit2gtk-driver)
// driving WebKitGTK's MiniBrowser over W3C WebDriver, on an Xvfb display that
// startWebKit() starts.
//
// W3C WebDriver has no way to run a script before the page's own, so the
// page is loaded from a copy with a small script put in front of its first
// script: it records script errors and, for the timer checks, replaces the
// page's timers with the fake clock.

import { spawn } from 'node:child_process';
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import net from 'node:net';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { FAKE_CLOCK } from './engines.mjs';

const WEBKIT_DRIVER = process.env.BRENVIK_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
const MINIBROWSER = process.env.BRENVIK_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const XVFB = process.env.BRENVIK_XVFB || '/usr/bin/Xvfb';
const ELEMENT = 'element-6066-11e4-a52e-4f735466cecf';

const ERROR_COLLECTOR = `window.__brenvikErrors = [];
window.addEventListener('error', (e) => { window.__brenvikErrors.push(String(e.message)); });`;

function requireFile(file, what) {
  if (!existsSync(file)) throw new Error(`${what} not found at ${file}: install it (test.sh does)`);
}

// Starts Xvfb on a display number it picks itself and reports on fd 3.
function startXvfb() {
  const proc = spawn(XVFB, ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
  let stderr = '';
  proc.stderr.on('data', (d) => { stderr += d; });
  return new Promise((resolve, reject) => {
    let out = '';
    proc.stdio[3].on('data', (d) => {
      out += d;
      if (out.includes('\n')) resolve({ proc, display: `:${out.trim()}` });
    });
    proc.on('error', reject);
    proc.on('exit', (code) => reject(new Error(`Xvfb ended (${code}) before it opened a display: ${stderr}`)));
  });
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A W3C WebDriver command; a WebDriver error becomes an exception.
async function command(base, method, path, body) {
  const response = await fetch(`${base}${path}`, {
    method,
    headers: { 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const reply = await response.json();
  if (!response.ok || (reply.value && reply.value.error)) {
    throw new Error(`WebDriver ${method} ${path}: ${reply.value?.error}: ${reply.value?.message}`);
  }
  return reply.value;
}

// Starts WebKitWebDriver on a free port and waits until it answers. A port
// taken in between makes the driver exit; then another port is tried.
async function startDriver(display) {
  for (let attempt = 1; ; attempt++) {
    const port = await freePort();
    const proc = spawn(WEBKIT_DRIVER, [`--port=${port}`], {
      env: { ...process.env, DISPLAY: display },
      stdio: ['ignore', 'ignore', 'pipe'],
    });
    let stderr = '';
    proc.stderr.on('data', (d) => { stderr += d; });
    let exited = false;
    proc.on('exit', () => { exited = true; });
    const base = `http://127.0.0.1:${port}`;
    // Start-up, not a page: poll the status until it is ready (at most 30 s).
    for (let i = 0; i < 300 && !exited; i++) {
      try {
        const status = await command(base, 'GET', '/status');
        if (status.ready) return { proc, base };
      } catch {
        // not listening yet
      }
      await pause(100);
    }
    proc.kill();
    if (attempt === 3) throw new Error(`WebKitWebDriver did not start: ${stderr}`);
  }
}

// The page with the collector (and the fake clock) in front of its first
// script; bytes outside ASCII are kept as they are.
function preparedCopy(url, fakeClock) {
  const file = fileURLToPath(url);
  const page = readFileSync(file).toString('latin1');
  const at = page.search(/<script/i);
  if (at < 0) throw new Error(`no script in ${file}`);
  const extra = `<script>${ERROR_COLLECTOR}${fakeClock ? `\n${FAKE_CLOCK}` : ''}</script>`;
  const copy = file.replace(/\.htm$/, fakeClock ? '.webkit-clock.htm' : '.webkit.htm');
  writeFileSync(copy, Buffer.from(page.slice(0, at) + extra + page.slice(at), 'latin1'));
  return pathToFileURL(copy).href;
}

export async function startWebKit() {
  requireFile(WEBKIT_DRIVER, 'WebKitWebDriver (Debian package webkit2gtk-driver)');
  requireFile(MINIBROWSER, 'MiniBrowser (Debian package libwebkit2gtk-4.1-0)');
  requireFile(XVFB, 'Xvfb (Debian package xvfb)');
  const xvfb = await startXvfb();
  let driver;
  let session;
  const stop = async () => {
    if (session) await command(driver.base, 'DELETE', `/session/${session}`).catch(() => {});
    driver?.proc.kill();
    xvfb.proc.kill();
  };
  try {
    driver = await startDriver(xvfb.display);
    const created = await command(driver.base, 'POST', '/session', {
      capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] } } },
    });
    session = created.sessionId;
  } catch (e) {
    await stop();
    throw e;
  }
  const run = (method, path, body) => command(driver.base, method, `/session/${session}${path}`, body);
  // No script time limit: the driver keeps one with the page's own
  // setTimeout, which the fake clock replaces.
  await run('POST', '/timeouts', { script: null });
  const find = async (selector) => (await run('POST', '/element', { using: 'css selector', value: selector }))[ELEMENT];
  const evaluate = (expression) => run('POST', '/execute/sync', { script: `return (${expression});`, args: [] });
  // Errors of pages already left, and of the page shown (taken from it).
  const errors = [];
  const takePageErrors = async () => errors.push(...((await evaluate('(window.__brenvikErrors || []).splice(0)')) ?? []));

  return {
    async open(url, { fakeClock = false } = {}) {
      await takePageErrors();
      await run('POST', '/url', { url: preparedCopy(url, fakeClock) });
    },
    evaluate,
    // A plain navigation (the SCORM host page, served over HTTP).
    async visit(url) {
      await takePageErrors();
      await run('POST', '/url', { url });
    },
    // WebKitWebDriver types characters of the Basic Multilingual Plane as
    // keys but drops the others (emoji): those are inserted as typed text
    // through the editing command a keyboard's text input uses.
    async type(selector, text) {
      const element = await find(selector);
      for (const piece of text.match(/[\u0000-\uffff]+|[^\u0000-\uffff]+/gu) ?? []) {
        if (/^[\u0000-\uffff]/u.test(piece)) {
          await run('POST', `/element/${element}/value`, { text: piece });
        } else {
          await run('POST', '/execute/sync', {
            script: 'arguments[0].focus(); document.execCommand("insertText", false, arguments[1]);',
            args: [{ [ELEMENT]: element }, piece],
          });
        }
      }
    },
    async click(selector) {
      await run('POST', `/element/${await find(selector)}/click`, {});
    },
    advance: (ms) => evaluate(`window.__brenvikClock.advance(${Number(ms)})`),
    async takeErrors() {
      await takePageErrors();
      return errors.splice(0);
    },
    close: stop,
  };
}
