// The browser edition's API over the core's WebAssembly module: a classic
// script (no modules, so that it loads from file:// and in a Web Worker)
// that defines the global BrenvikApi.
//   BrenvikApi.create(BrenvikCore [, moduleOptions]) -> Promise<api>
// BrenvikCore is the module's factory (brenvik-core.js or
// brenvik-core-single.js); moduleOptions go to it (node passes wasmBinary).
// A test is always the bytes of a test file (Uint8Array of its UTF-8 JSON);
// every method is synchronous and throws an Error with the core's own
// message when the core refuses.
(function (root) {
  'use strict';

  const FORMATS = ['classic', 'responsive', 'moodle', 'scorm12', 'scorm2004', 'ctest'];
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();

  function bytesOf(value, what) {
    if (value instanceof Uint8Array) return value;
    if (value instanceof ArrayBuffer) return new Uint8Array(value);
    if (ArrayBuffer.isView(value)) return new Uint8Array(value.buffer, value.byteOffset, value.byteLength);
    if (typeof value === 'string') return encoder.encode(value);
    throw new TypeError(what + ' must be bytes (Uint8Array) or a string');
  }

  function index(value, what) {
    if (!Number.isInteger(value) || value < 0 || value > 0x7fffffff) {
      throw new RangeError(what + ' must be a whole number from 0');
    }
    return value;
  }

  function wrap(core) {
    // Copies the arguments into the module's memory, calls the entry point
    // and frees them again; the result is the core's, or its message thrown.
    // kinds: 'b' bytes (pointer and size), 's' a NUL-terminated string,
    // 'i' an integer.
    function call(name, kinds, args) {
      const held = [];
      const raw = [];
      try {
        kinds.split('').forEach(function (kind, i) {
          if (kind === 'i') {
            raw.push(args[i]);
            return;
          }
          const bytes = kind === 'b' ? args[i] : encoder.encode(args[i]);
          const p = core._malloc(bytes.length + 1);
          if (!p) throw new Error('out of memory');
          held.push(p);
          core.HEAPU8.set(bytes, p);
          core.HEAPU8[p + bytes.length] = 0;
          raw.push(p);
          if (kind === 'b') raw.push(bytes.length);
        });
        const status = core['_' + name].apply(null, raw);
        const data = core._brenvik_result_data();
        const result = core.HEAPU8.slice(data, data + core._brenvik_result_size());
        if (status !== 0) throw new Error(decoder.decode(result));
        return result;
      } finally {
        held.forEach(function (p) { core._free(p); });
      }
    }
    const json = function (bytes) { return JSON.parse(decoder.decode(bytes)); };

    return {
      version: core.UTF8ToString(core._brenvik_version()),
      formats: FORMATS.slice(),

      openFile: function (name, bytes) {
        return call('brenvik_open_file', 'sb', [String(name), bytesOf(bytes, 'bytes')]);
      },
      newTest: function (texts, options) {
        return call('brenvik_new_test', 'b', [encoder.encode(JSON.stringify({texts: texts || [], options: options || {}}))]);
      },
      normalise: function (testFile) {
        return call('brenvik_normalise', 'b', [bytesOf(testFile, 'testFile')]);
      },
      view: function (testFile) {
        return json(call('brenvik_view', 'b', [bytesOf(testFile, 'testFile')]));
      },
      setGap: function (testFile, textIndex, wordIndex, on) {
        return call('brenvik_set_gap', 'biii',
                    [bytesOf(testFile, 'testFile'), index(textIndex, 'textIndex'), index(wordIndex, 'wordIndex'), on ? 1 : 0]);
      },
      setAccepted: function (testFile, textIndex, wordIndex, answers) {
        if (!Array.isArray(answers)) throw new TypeError('answers must be an array of strings');
        return call('brenvik_set_accepted', 'biib',
                    [bytesOf(testFile, 'testFile'), index(textIndex, 'textIndex'), index(wordIndex, 'wordIndex'),
                     encoder.encode(JSON.stringify(answers.map(String)))]);
      },
      // {bytes, fileName, mimeType, warnings, failed}: warnings the file is
      // written with; failed, the texts left out of it with their errors.
      exportAs: function (testFile, format, extra) {
        const passMark = extra && extra.passMark !== undefined && extra.passMark !== null ? String(extra.passMark) : '';
        const bytes = call('brenvik_export', 'bss', [bytesOf(testFile, 'testFile'), String(format), passMark]);
        const info = JSON.parse(core.UTF8ToString(core._brenvik_result_info()));
        info.bytes = bytes;
        return info;
      },
      printLayout: function (testFile) {
        return decoder.decode(call('brenvik_print_layout', 'b', [bytesOf(testFile, 'testFile')]));
      },
    };
  }

  root.BrenvikApi = {
    create: function (moduleFactory, moduleOptions) {
      return Promise.resolve(moduleFactory(moduleOptions || {})).then(wrap);
    },
  };
})(typeof globalThis !== 'undefined' ? globalThis : self);
