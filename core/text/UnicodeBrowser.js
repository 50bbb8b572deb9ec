// The browser's side of core/text/UnicodeBrowser.cpp, linked into the
// module as an emscripten JavaScript library. Text comes as code points in
// the module's memory (HEAPU32); values that are not scalar values as
// U+FFFD, so positions map one to one.
mergeInto(LibraryManager.library, {
  $BrenvikUnicode: {
    // Filled in by init: emscripten copies this object into the module as
    // source text, which keeps functions and plain values only.
    segmenters: null,
    init: function () {
      if (this.segmenters) return;
      this.segmenters = new Map();
    },
    toString: function (ptr, n) {
      const cps = HEAPU32.subarray(ptr >> 2, (ptr >> 2) + n);
      let s = '';
      for (let i = 0; i < n; i += 8192) {
        const part = Array.from(cps.subarray(i, Math.min(n, i + 8192)),
                                (c) => (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) ? 0xFFFD : c);
        s += String.fromCodePoint.apply(null, part);
      }
      return s;
    },
    // Writes the code points of s at ptr (room for cap): their number, or -1.
    fromString: function (s, ptr, cap) {
      let k = 0;
      const base = ptr >> 2;
      for (const ch of s) {
        if (k === cap) return -1;
        HEAPU32[base + k++] = ch.codePointAt(0);
      }
      return k;
    },
    segmenter: function (tag, granularity) {
      const key = tag + ' ' + granularity;
      let seg = this.segmenters.get(key);
      if (!seg) {
        seg = new Intl.Segmenter(tag === '' ? 'und' : tag, {granularity: granularity});
        this.segmenters.set(key, seg);
      }
      return seg;
    },
  },

  brenvik_js_init__deps: ['$BrenvikUnicode'],
  brenvik_js_init: function () { BrenvikUnicode.init(); },

  // form: 0 NFC, 1 lower case. The length written, -1 when out is too
  // small, -2 when the browser failed.
  brenvik_js_map__deps: ['$BrenvikUnicode'],
  brenvik_js_map: function (input, n, form, out, cap) {
    try {
      const s = BrenvikUnicode.toString(input, n);
      return BrenvikUnicode.fromString(form === 0 ? s.normalize('NFC') : s.toLowerCase(), out, cap);
    } catch (e) {
      return -2;
    }
  },

  brenvik_js_is_nfc__deps: ['$BrenvikUnicode'],
  brenvik_js_is_nfc: function (input, n) {
    const s = BrenvikUnicode.toString(input, n);
    return s.normalize('NFC') === s ? 1 : 0;
  },

  // 1 when Intl.Segmenter takes the tag, 0 when it does not.
  brenvik_js_check_tag__deps: ['$BrenvikUnicode'],
  brenvik_js_check_tag: function (tag) {
    try {
      BrenvikUnicode.segmenter(UTF8ToString(tag), 'grapheme');
      return 1;
    } catch (e) {
      return 0;
    }
  },

  // Writes the boundaries of the n code points at input (0, ..., n) to out,
  // which has room for n + 1: their number, or -1 when the browser failed.
  // granularity: 0 grapheme, 1 word.
  brenvik_js_boundaries__deps: ['$BrenvikUnicode'],
  brenvik_js_boundaries: function (input, n, tag, granularity, out) {
    try {
      const s = BrenvikUnicode.toString(input, n);
      const seg = BrenvikUnicode.segmenter(UTF8ToString(tag), granularity === 0 ? 'grapheme' : 'word');
      // UTF-16 index -> code point index, needed only beyond the BMP.
      let position = null;
      if (s.length !== n) {
        position = new Uint32Array(s.length + 1);
        let k = 0;
        for (let i = 0; i < s.length; ++i) {
          position[i] = k;
          const unit = s.charCodeAt(i);
          if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < s.length) position[++i] = k;
          ++k;
        }
        position[s.length] = k;
      }
      const base = out >> 2;
      let count = 0;
      HEAPU32[base + count++] = 0;
      for (const part of seg.segment(s)) {
        const end = part.index + part.segment.length;
        HEAPU32[base + count++] = position ? position[end] : end;
      }
      if (HEAPU32[base + count - 1] !== n) HEAPU32[base + count++] = n;
      return count;
    } catch (e) {
      return -1;
    }
  },
});
