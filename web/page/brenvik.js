// The browser edition's page: the teacher's texts and options, kept as a
// test file that only the core writes, shown, edited and exported through
// the core in a Web Worker.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const utf8 = new TextEncoder();
  const fromUtf8 = new TextDecoder('utf-8');

  // ---------------------------------------------------------------- the core

  // Runs in the worker after the module and its wrapper: one call at a time,
  // in the order they came. Bytes are copied out of the module's memory
  // before they are handed over, so that the module never loses its memory.
  const WORKER_MAIN = `
const ready = BrenvikApi.create(BrenvikCore);
ready.then((api) => self.postMessage({ ready: true, version: String(api.version) }),
           (e) => self.postMessage({ ready: false, error: String((e && e.message) || e) }));
self.onmessage = (event) => {
  const { id, method, args } = event.data;
  ready.then((api) => {
    let result = api[method](...args);
    const transfer = [];
    if (result instanceof Uint8Array) {
      result = new Uint8Array(result);
      transfer.push(result.buffer);
    } else if (result && result.bytes instanceof Uint8Array) {
      result = { ...result, bytes: new Uint8Array(result.bytes) };
      transfer.push(result.bytes.buffer);
    }
    self.postMessage({ id, result }, transfer);
  }).catch((e) => self.postMessage({ id, error: String((e && e.message) || e) }));
};`;

  const coreSource = () => `${$('brenvik-core').textContent}\n${$('brenvik-core-api').textContent}\n`;

  class Core {
    constructor(onBusy) {
      this.onBusy = onBusy;
      this.pending = new Map();
      this.nextId = 1;
      this.api = null; // set when the core runs in the page itself
      this.worker = null;
    }

    // Resolves with the core's version once it can answer. Where a browser
    // will not start a worker from the page's own script, the core runs in
    // the page: the same results, only a long text holds the page meanwhile.
    start() {
      this.started = new Promise((resolve, reject) => {
        let url = null;
        const inPage = () => {
          if (this.worker) this.worker.terminate();
          this.worker = null;
          try {
            (0, eval)(coreSource());
            /* global BrenvikApi, BrenvikCore */
            BrenvikApi.create(BrenvikCore).then((api) => {
              this.api = api;
              resolve(String(api.version));
            }, reject);
          } catch (e) {
            reject(e);
          }
        };
        try {
          url = URL.createObjectURL(new Blob([coreSource(), WORKER_MAIN], { type: 'text/javascript' }));
          this.worker = new Worker(url);
        } catch {
          if (url) URL.revokeObjectURL(url);
          inPage();
          return;
        }
        let started = false;
        this.worker.onerror = (event) => {
          event.preventDefault();
          if (!started) {
            started = true;
            inPage();
            // What was asked meanwhile is asked again of the core in the page.
            const waiting = [...this.pending.values()];
            this.pending.clear();
            for (const c of waiting) this.call(c.method, ...c.args).then(c.resolve, c.reject);
          } else {
            this.failAll(event.message || 'The generator stopped.');
          }
        };
        this.worker.onmessage = ({ data }) => {
          if ('ready' in data) {
            started = true;
            URL.revokeObjectURL(url);
            if (data.ready) resolve(data.version);
            else reject(new Error(data.error));
            return;
          }
          const call = this.pending.get(data.id);
          if (!call) return;
          this.pending.delete(data.id);
          this.changed();
          if ('error' in data) call.reject(new Error(data.error));
          else call.resolve(data.result);
        };
      });
      return this.started;
    }

    failAll(message) {
      for (const call of this.pending.values()) call.reject(new Error(message));
      this.pending.clear();
      this.changed();
    }

    changed() {
      this.onBusy(this.pending.size > 0);
    }

    call(method, ...args) {
      if (!this.worker) {
        this.onBusy(true);
        // Let the page paint its progress before the core holds it.
        return this.started
          .then(() => new Promise((resolve) => setTimeout(resolve, 0)))
          .then(() => this.api[method](...args))
          .finally(() => this.onBusy(false));
      }
      return new Promise((resolve, reject) => {
        const id = this.nextId++;
        this.pending.set(id, { resolve, reject, method, args });
        this.changed();
        this.worker.postMessage({ id, method, args });
      });
    }
  }

  // -------------------------------------------------------------- the state

  const emptyText = () => ({ title: '', value: '', source: null, gapLimit: 0, keepLast: false, edits: [] });

  const state = {
    texts: [emptyText()],
    selected: 0,
    // The colours as the test file holds them: a colour the colour field
    // cannot show (a name, three digits) is kept as it was written.
    colours: { pageBackground: '#FFFFFF', pageText: '#000000', answerBox: '#000000', answerText: '#FFFFFF' },
    file: null, // the test file the core wrote last (Uint8Array)
    fileKey: null, // what it was made from
    view: null, // the core's view of file
    viewedFile: null,
    gapRows: 1000,
    // The inputKey() of the test as it was last kept: started empty, opened
    // from a test file, or saved as one. Anything else would be lost with
    // the tab.
    keptKey: null,
  };

  const COLOUR_FIELDS = {
    pageBackground: 'page-background', pageText: 'page-text', answerBox: 'answer-box', answerText: 'answer-text',
  };

  const toLf = (text) => text.replace(/\r\n?/g, '\n');
  const textName = (title, i) => (title.trim() === '' ? `Text ${i + 1}` : title);

  function settingsFromForm() {
    return {
      title: $('title').value,
      variant: $('variant-practice').checked ? 'practice' : 'test',
      showAnswers: $('show-answers').checked,
      timer: $('timer').checked,
      pageBackground: state.colours.pageBackground,
      pageText: state.colours.pageText,
      font: $('font').value,
      textSize: $('text-size').value,
      answerBox: state.colours.answerBox,
      answerText: state.colours.answerText,
    };
  }

  // Everything the test file is made from; equal keys give the same file.
  function inputKey() {
    return JSON.stringify({
      texts: state.texts.map((t) => [t.title, t.value, t.source, t.gapLimit, t.keepLast, t.edits]),
      settings: settingsFromForm(),
      language: $('language').value.trim(),
      matching: $('matching').value,
    });
  }

  const parseFile = (bytes) => JSON.parse(fromUtf8.decode(bytes));

  function showSettings(doc) {
    const s = doc.settings || {};
    $('title').value = s.title ?? 'C-Test';
    $(s.variant === 'practice' ? 'variant-practice' : 'variant-test').checked = true;
    $('show-answers').checked = Boolean(s.showAnswers);
    $('timer').checked = Boolean(s.timer);
    $('font').value = s.font ?? 'Arial';
    $('text-size').value = s.textSize ?? '14';
    const defaults = { pageBackground: '#FFFFFF', pageText: '#000000', answerBox: '#000000', answerText: '#FFFFFF' };
    for (const [name, field] of Object.entries(COLOUR_FIELDS)) {
      const value = s[name] ?? defaults[name];
      state.colours[name] = value;
      if (/^#[0-9a-f]{6}$/i.test(value)) $(field).value = value.toLowerCase();
    }
    $('language').value = doc.language ?? '';
    $('matching').value = doc.matching === 'ignore-case' ? 'ignore-case' : 'exact';
  }

  // Takes a test file the core wrote as the page's whole state.
  function adoptFile(bytes) {
    const doc = parseFile(bytes);
    state.texts = doc.texts.map((t) => ({
      title: t.title ?? '',
      value: toLf(t.source),
      source: t.source,
      gapLimit: t.gapLimit ?? 0,
      keepLast: Boolean(t.keepLastSentence),
      edits: t.edits ?? [],
    }));
    state.selected = Math.min(state.selected, state.texts.length - 1);
    showSettings(doc);
    showTexts();
    state.file = bytes;
    state.fileKey = inputKey();
    state.keptKey = state.fileKey;
  }

  // Only the edits change when a gap is switched or answers are given.
  function adoptEdits(bytes) {
    const doc = parseFile(bytes);
    doc.texts.forEach((t, i) => { state.texts[i].edits = t.edits ?? []; });
    state.file = bytes;
    state.fileKey = inputKey();
  }

  // The test file of what the page shows now. Typed texts go through the
  // core as brenvik-cli reads standard input; texts from files and from the
  // last run keep the core's own source.
  async function currentFile() {
    const key = inputKey();
    if (state.file && key === state.fileKey) return state.file;
    const typed = state.texts.filter((t) => t.source === null || toLf(t.source) !== t.value);
    if (typed.length > 0) {
      // A text without a title gets the one brenvik-cli gives a text on
      // standard input, and the page shows it.
      const asked = typed.map((t) => (t.title.trim() === '' ? { text: t.value } : { title: t.title, text: t.value }));
      const made = parseFile(await core.call('newTest', asked, {}));
      let named = false;
      typed.forEach((t, i) => {
        t.source = made.texts[i].source;
        if (t.title.trim() === '' && made.texts[i].title) {
          t.title = made.texts[i].title;
          named = true;
        }
      });
      if (named) showTexts();
    }
    const doc = {
      format: 'brenvik-test',
      version: 1,
      language: $('language').value.trim(),
      matching: $('matching').value,
      settings: settingsFromForm(),
      texts: state.texts.map((t) => ({
        title: t.title, source: t.source, gapLimit: t.gapLimit, keepLastSentence: t.keepLast, edits: t.edits,
      })),
    };
    const bytes = await core.call('normalise', utf8.encode(JSON.stringify(doc)));
    // The key after the sources were filled in: the texts typed since are
    // still what the page shows.
    state.file = bytes;
    state.fileKey = inputKey();
    return bytes;
  }

  // ------------------------------------------------------------- messages

  function showError(error) {
    $('alert-text').textContent = (error && error.message) || String(error);
    $('alert').hidden = false;
  }

  function clearError() {
    $('alert').hidden = true;
    $('alert-text').textContent = '';
  }

  function say(text) {
    $('status-text').textContent = text;
  }

  // Every action: one at a time in the page's eyes, errors into the alert.
  async function act(work) {
    clearError();
    try {
      await work();
    } catch (e) {
      showError(e);
      say('');
    }
  }

  // ----------------------------------------------------------- the texts

  function showTexts() {
    const list = $('text-list');
    list.replaceChildren(...state.texts.map((t, i) => new Option(textName(t.title, i), String(i))));
    list.selectedIndex = state.selected;
    const t = state.texts[state.selected];
    $('text-title').value = t.title;
    $('source').value = t.value;
    $('gap-limit').value = String(t.gapLimit);
    $('keep-last').checked = t.keepLast;
    $('remove-text').disabled = state.texts.length < 2;
    $('move-up').disabled = state.selected === 0;
    $('move-down').disabled = state.selected === state.texts.length - 1;
  }

  function selectText(i) {
    state.selected = i;
    showTexts();
  }

  function moveText(by) {
    const i = state.selected;
    const j = i + by;
    if (j < 0 || j >= state.texts.length) return;
    [state.texts[i], state.texts[j]] = [state.texts[j], state.texts[i]];
    selectText(j);
  }

  // --------------------------------------------------------- the test shown

  const HELD = {
    off: 'gap switched off',
    limit: 'after the gap limit',
    'last-sentence': 'in the last sentence, kept whole',
  };

  function showView(view) {
    state.view = view;
    const output = $('output');
    output.replaceChildren();
    let gaps = 0;
    view.texts.forEach((t, i) => {
      gaps += t.gaps;
      const heading = document.createElement('h3');
      heading.id = `test-heading-${i}`;
      heading.textContent = `${textName(t.title, i)} (${t.gaps} ${t.gaps === 1 ? 'gap' : 'gaps'})`;
      const body = document.createElement('div');
      body.className = 'test-text';
      body.id = `test-text-${i}`;
      body.tabIndex = 0;
      body.setAttribute('role', 'region');
      body.setAttribute('aria-labelledby', heading.id);
      body.textContent = t.testText;
      output.append(heading, body);
    });
    const notes = $('notes');
    const dropped = view.dropped ?? [];
    notes.textContent = dropped.join('\n');
    notes.hidden = dropped.length === 0;
    const choose = $('gap-text');
    const chosen = Math.min(Math.max(choose.selectedIndex, 0), view.texts.length - 1);
    choose.replaceChildren(...view.texts.map((t, i) => new Option(textName(t.title, i), String(i))));
    choose.selectedIndex = chosen;
    $('gap-choice').hidden = false;
    showGaps();
    return gaps;
  }

  function gapRowsOf(text, ti, everyWord) {
    const edited = new Set((state.texts[ti]?.edits ?? []).map((e) => e.word));
    return text.words.filter((w) => everyWord || w.gap || edited.has(w.word));
  }

  function showGaps() {
    const box = $('gap-table-box');
    const view = state.view;
    if (!view) return;
    // The field that has the focus keeps it in the new table.
    const active = document.activeElement;
    const focus = box.contains(active) && active.dataset.word ? { type: active.type, word: active.dataset.word } : null;
    const ti = Number($('gap-text').value || 0);
    const text = view.texts[ti];
    const rows = gapRowsOf(text, ti, $('every-word').checked);
    const table = document.createElement('table');
    const caption = document.createElement('caption');
    caption.className = 'hint';
    caption.textContent = `${textName(text.title, ti)}: ${text.gaps} ${text.gaps === 1 ? 'gap' : 'gaps'}`;
    const head = table.createTHead().insertRow();
    for (const name of ['No.', 'Word', 'Gap', 'Deleted part', 'Accepted answers', 'Note']) {
      const th = document.createElement('th');
      th.scope = 'col';
      th.textContent = name;
      head.append(th);
    }
    table.prepend(caption);
    const body = table.createTBody();
    for (const w of rows.slice(0, state.gapRows)) {
      const tr = body.insertRow();
      if (w.gap) tr.className = 'has-gap';
      tr.insertCell().textContent = w.number ? String(w.number) : '';
      const word = tr.insertCell();
      word.className = 'word';
      word.id = `word-${ti}-${w.index}`;
      word.textContent = w.word;
      const note = w.canHaveGap ? (HELD[w.heldBy] ?? w.heldBy ?? '') : 'cannot have a gap';
      const on = document.createElement('input');
      on.type = 'checkbox';
      on.checked = w.gap;
      on.disabled = !w.canHaveGap;
      on.dataset.word = String(w.index);
      on.setAttribute('aria-labelledby', `gap-col word-${ti}-${w.index}`);
      tr.insertCell().append(on);
      tr.insertCell().textContent = w.gap ? w.deleted : '';
      const answers = tr.insertCell();
      if (w.gap) {
        const field = document.createElement('input');
        field.type = 'text';
        field.value = (w.accepted ?? []).join('; ');
        field.dataset.word = String(w.index);
        field.setAttribute('aria-label', `Accepted answers for ${w.word}`);
        field.autocomplete = 'off';
        answers.append(field);
      }
      const noteCell = tr.insertCell();
      noteCell.className = 'note-col';
      noteCell.textContent = note;
      // On a narrow screen the note goes under the word instead.
      if (note) {
        const under = document.createElement('small');
        under.className = 'word-note';
        under.textContent = note;
        word.append(under);
      }
    }
    head.cells[2].id = 'gap-col';
    head.cells[5].className = 'note-col';
    const scroller = document.createElement('div');
    scroller.className = 'table-box';
    scroller.tabIndex = 0;
    scroller.setAttribute('role', 'region');
    scroller.setAttribute('aria-label', 'Gaps');
    scroller.append(table);
    const parts = [scroller];
    if (rows.length > state.gapRows) {
      const more = document.createElement('button');
      more.type = 'button';
      more.id = 'more-gaps';
      more.textContent = `Show more (${rows.length - state.gapRows} not shown)`;
      more.addEventListener('click', () => {
        state.gapRows += 1000;
        showGaps();
      });
      parts.push(more);
    }
    if (rows.length === 0) {
      const none = document.createElement('p');
      none.className = 'hint';
      none.textContent = 'The test has no gap.';
      parts.unshift(none);
    }
    box.replaceChildren(...parts);
    if (focus) box.querySelector(`input[type=${focus.type}][data-word="${focus.word}"]`)?.focus();
  }

  let generation = 0;

  async function process() {
    const mine = ++generation;
    say('Processing…');
    const file = await currentFile();
    const view = await core.call('view', file);
    if (mine !== generation) return;
    state.viewedFile = file;
    const gaps = showView(view);
    say(`Processed: ${gaps} ${gaps === 1 ? 'gap' : 'gaps'} in ${view.texts.length} ${view.texts.length === 1 ? 'text' : 'texts'}.`);
  }

  // A change of one gap, on the test as it was processed; if the texts or
  // options changed since, the test is processed again first, since its
  // words may no longer be the ones listed.
  async function editGap(change) {
    const file = await currentFile();
    if (file !== state.viewedFile) {
      await process();
      say('The test changed since it was processed, so it was processed again: make the change again.');
      return;
    }
    const ti = Number($('gap-text').value || 0);
    try {
      adoptEdits(await change(file, ti));
    } finally {
      const view = await core.call('view', state.file);
      state.viewedFile = state.file;
      showView(view);
    }
    say('The gaps were changed.');
  }

  // ------------------------------------------------------------- files

  function saveBytes(bytes, fileName, mimeType) {
    const url = URL.createObjectURL(new Blob([bytes], { type: mimeType }));
    const link = document.createElement('a');
    link.href = url;
    link.download = fileName;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  async function download(format) {
    const extra = {};
    if (format === 'scorm12' || format === 'scorm2004') {
      const mark = $('pass-mark');
      if (mark.validity.badInput) throw new Error('The pass mark must be a whole number from 0 to 100.');
      if (mark.value !== '') extra.passMark = Number(mark.value);
    }
    const file = await currentFile();
    const key = state.fileKey;
    const made = await core.call('exportAs', file, format, extra);
    saveBytes(made.bytes, made.fileName, made.mimeType);
    // Only the test file can be opened again with every edit; the other
    // formats leave the work unsaved.
    if (format === 'ctest') state.keptKey = key;
    // What brenvik-cli would print as warnings: texts left out of the file
    // with their errors, and notes on the texts.
    const notes = [...(made.failed ?? []).map((f) => `Left out: ${f}`), ...(made.warnings ?? [])];
    $('notes').textContent = notes.join('\n');
    $('notes').hidden = notes.length === 0;
    say(notes.length ? `Saved ${made.fileName}, with the notes under Test output.` : `Saved ${made.fileName}.`);
  }

  async function printWorksheet() {
    const file = await currentFile();
    const html = await core.call('printLayout', file);
    const frame = $('print-frame');
    await new Promise((resolve) => {
      frame.onload = resolve;
      frame.srcdoc = html;
    });
    frame.contentWindow.focus();
    frame.contentWindow.print();
    say('The worksheet went to the browser’s print.');
  }

  async function openFiles(files) {
    let added = 0;
    for (const f of files) {
      const bytes = new Uint8Array(await f.arrayBuffer());
      const made = await core.call('openFile', f.name, bytes);
      if (/\.ctest$/i.test(f.name)) {
        state.selected = 0;
        adoptFile(made);
        continue;
      }
      const t = parseFile(made).texts[0];
      const text = { ...emptyText(), title: t.title ?? '', value: toLf(t.source), source: t.source };
      const only = state.texts.length === 1 && state.texts[0].value === '' && state.texts[0].title === '';
      if (only) state.texts = [text];
      else state.texts.push(text);
      state.selected = state.texts.length - 1;
      added++;
    }
    showTexts();
    await process();
    if (added > 0) say(`${$('status-text').textContent} ${added} ${added === 1 ? 'text was' : 'texts were'} added.`);
  }

  // ------------------------------------------------------------- wiring

  const LANGUAGES = [
    ['am', 'Amharic'], ['ar', 'Arabic'], ['hy', 'Armenian'], ['bn', 'Bengali'], ['my', 'Burmese'],
    ['zh-Hans', 'Chinese (simplified)'], ['zh-Hant', 'Chinese (traditional)'], ['cs', 'Czech'], ['da', 'Danish'],
    ['nl', 'Dutch'], ['en', 'English'], ['fi', 'Finnish'], ['fr', 'French'], ['ka', 'Georgian'], ['de', 'German'],
    ['el', 'Greek'], ['he', 'Hebrew'], ['hi', 'Hindi'], ['hu', 'Hungarian'], ['it', 'Italian'], ['ja', 'Japanese'],
    ['km', 'Khmer'], ['ko', 'Korean'], ['lo', 'Lao'], ['ne', 'Nepali'], ['nb', 'Norwegian (Bokmål)'],
    ['nn', 'Norwegian (Nynorsk)'], ['fa', 'Persian'], ['pl', 'Polish'], ['pt', 'Portuguese'], ['ru', 'Russian'],
    ['es', 'Spanish'], ['sv', 'Swedish'], ['ta', 'Tamil'], ['th', 'Thai'], ['tr', 'Turkish'], ['uk', 'Ukrainian'],
    ['ur', 'Urdu'], ['vi', 'Vietnamese'], ['yo', 'Yoruba'],
  ];

  const setBusy = (busy) => {
    $('busy').hidden = !busy;
    document.body.dataset.busy = busy ? '1' : '0';
  };
  const core = new Core(setBusy);

  function wire() {
    $('languages').replaceChildren(...LANGUAGES.map(([tag, name]) => {
      const option = document.createElement('option');
      option.value = tag;
      option.label = name;
      return option;
    }));
    $('alert-close').addEventListener('click', clearError);
    $('text-list').addEventListener('change', (e) => selectText(e.target.selectedIndex));
    $('add-text').addEventListener('click', () => {
      state.texts.push(emptyText());
      selectText(state.texts.length - 1);
      $('source').focus();
    });
    $('remove-text').addEventListener('click', () => {
      if (state.texts.length < 2) return;
      state.texts.splice(state.selected, 1);
      selectText(Math.min(state.selected, state.texts.length - 1));
    });
    $('move-up').addEventListener('click', () => moveText(-1));
    $('move-down').addEventListener('click', () => moveText(1));
    $('text-title').addEventListener('input', (e) => {
      state.texts[state.selected].title = e.target.value;
      $('text-list').options[state.selected].text = textName(e.target.value, state.selected);
    });
    $('source').addEventListener('input', (e) => { state.texts[state.selected].value = e.target.value; });
    $('gap-limit').addEventListener('input', (e) => {
      const n = Number(e.target.value);
      state.texts[state.selected].gapLimit = Number.isSafeInteger(n) && n >= 0 ? n : 0;
    });
    $('keep-last').addEventListener('change', (e) => { state.texts[state.selected].keepLast = e.target.checked; });
    for (const [name, field] of Object.entries(COLOUR_FIELDS)) {
      $(field).addEventListener('input', (e) => { state.colours[name] = e.target.value.toUpperCase(); });
    }
    $('process').addEventListener('click', () => act(process));
    $('open-files').addEventListener('change', (e) => {
      const files = Array.from(e.target.files);
      e.target.value = '';
      act(() => openFiles(files));
    });
    $('gap-text').addEventListener('change', () => { state.gapRows = 1000; showGaps(); });
    $('every-word').addEventListener('change', () => { state.gapRows = 1000; showGaps(); });
    $('gap-table-box').addEventListener('change', (e) => {
      const field = e.target;
      if (!field.dataset.word) return;
      const word = Number(field.dataset.word);
      if (field.type === 'checkbox') {
        const on = field.checked;
        act(() => editGap((file, ti) => core.call('setGap', file, ti, word, on)));
      } else {
        const answers = field.value.split(';').map((a) => a.trim()).filter((a) => a !== '');
        act(() => editGap((file, ti) => core.call('setAccepted', file, ti, word, answers)));
      }
    });
    for (const button of document.querySelectorAll('button[data-format]')) {
      button.addEventListener('click', () => act(() => download(button.dataset.format)));
    }
    $('print').addEventListener('click', () => act(printWorksheet));
    // The browser asks before the tab closes or leaves a test that was
    // changed since it was last kept (the browser words the question).
    window.addEventListener('beforeunload', (e) => {
      if (inputKey() === state.keptKey) return;
      e.preventDefault();
      // Older browsers ask only for a returnValue that is not empty.
      e.returnValue = true;
    });
  }

  wire();
  showTexts();
  state.keptKey = inputKey();
  setBusy(true);
  core.start().then((version) => {
    $('version').textContent = `Version ${version}`;
    document.body.dataset.ready = '1';
    setBusy(core.pending.size > 0);
    say('Ready.');
  }, (e) => {
    setBusy(false);
    showError(e);
    say('The generator could not start.');
  });
})();
