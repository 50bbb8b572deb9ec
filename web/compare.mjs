// Compares the WebAssembly module with brenvik-cli: for each text given,
// the test text (brenvik-cli test) and the responsive page (brenvik-cli
// export --format responsive) must be the same bytes.
//   node web/compare.mjs MODULE.js BRENVIK-CLI TEXT... [--lang TAG] [--title T]
// Exit status 0 when every output is identical, 1 otherwise.
import {execFileSync} from 'node:child_process';
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';

const args = process.argv.slice(2);
const option = (name) => {
  const i = args.indexOf(name);
  if (i < 0) return '';
  const [, value] = args.splice(i, 2);
  return value;
};
const lang = option('--lang');
const title = option('--title');
const [modulePath, cli, ...texts] = args;
if (!modulePath || !cli || texts.length === 0) {
  console.error('usage: node web/compare.mjs MODULE.js BRENVIK-CLI TEXT... [--lang TAG] [--title T]');
  process.exit(2);
}

const BrenvikCore = createRequire(import.meta.url)(path.resolve(modulePath));
// The module is given its code directly: node's fetch does not read files.
const core = await BrenvikCore({wasmBinary: readFileSync(modulePath.replace(/\.js$/, '.wasm'))});

// Calls an entry point with the text's bytes and string arguments; the
// result as bytes, or an Error.
function call(name, bytes, ...strings) {
  const data = core._malloc(bytes.length + 1);
  core.HEAPU8.set(bytes, data);
  const held = strings.map((s) => {
    const size = core.lengthBytesUTF8(s) + 1;
    const p = core._malloc(size);
    core.stringToUTF8(s, p, size);
    return p;
  });
  const status = core['_' + name](data, bytes.length, ...held);
  [data, ...held].forEach((p) => core._free(p));
  const result = Buffer.from(core.HEAPU8.subarray(core._brenvik_result_data(),
                                                  core._brenvik_result_data() + core._brenvik_result_size()));
  if (status !== 0) throw new Error(`${name}: ${result.toString()}`);
  return result;
}

function cliOutput(cliArgs, input) {
  return execFileSync(cli, cliArgs, {input, maxBuffer: 1 << 30});
}

let failed = false;
for (const file of texts) {
  const bytes = readFileSync(file);
  const langArgs = lang ? ['--lang', lang] : [];
  const titleArgs = title ? ['--title', title] : [];
  // An error on both sides counts as the same answer; on one side only, as
  // a difference.
  const attempt = (make) => {
    try {
      return make();
    } catch (e) {
      return null;
    }
  };
  const checks = [
    ['test text', attempt(() => call('brenvik_test_text', bytes, lang)),
     attempt(() => cliOutput(['test', ...langArgs], bytes))],
    ['responsive page', attempt(() => call('brenvik_responsive_page', bytes, title, lang)),
     attempt(() => cliOutput(['export', '--format', 'responsive', '-o', '-', ...titleArgs, ...langArgs], bytes))],
  ];
  for (const [what, web, desktop] of checks) {
    const same = web && desktop ? Buffer.compare(web, desktop) === 0 : !web && !desktop;
    if (!same) failed = true;
    const size = (b) => (b ? `${b.length} bytes` : 'an error');
    console.log(`${same ? 'same' : 'DIFFERENT'}  ${file}  ${what}  (${size(web)} from the module, ` +
                `${size(desktop)} from brenvik-cli)`);
  }
}
process.exit(failed ? 1 : 0);
