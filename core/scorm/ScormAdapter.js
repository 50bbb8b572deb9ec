// The adapter of a SCORM package: it reports what the pupil does on the
// package's copy of the responsive page to the learning platform. The page
// itself is the page written for the web; the package writer adds, just
// before </body>, the data block <script type="application/json"
// id="scorm-data"> and then this script, so it runs after the page's own.
//
// What the adapter reads of the page, and nothing else:
//  - form#cloze holds one <input> per gap, in text order; the input named
//    "N" is gap N + 1 as the page numbers them (numbers run on from text to
//    text). The data block lists the gaps in the same order.
//  - #result is changed by a check (Submit Test, or the timer running out)
//    and by nothing else: the test version writes its sentence there in
//    place of the form, the practice version its feedback and score. A
//    MutationObserver on it sees every check, however it was started.
//  - After a check that came after Show Answers, #score-total is hidden (the
//    page shows "Score: naughty!"): such a check reports no score.
// The test version takes the form out of the page when it is submitted; the
// adapter keeps the form, so the typed answers are still there to report.
//
// Without a platform (the page opened on its own, or no API found within
// 500 frames up, then from the opener up) the adapter does nothing, and no
// call of it can raise an error into the page.
(function () {
  'use strict';
  var dataBlock = document.getElementById('scorm-data');
  var form = document.getElementById('cloze');
  var resultRegion = document.getElementById('result');
  if (!dataBlock || !form || !resultRegion) return;
  var data;
  try {
    data = JSON.parse(dataBlock.textContent);
  } catch (e) {
    return;
  }
  var v12 = data.version === '1.2';
  var apiName = v12 ? 'API' : 'API_1484_11';
  var calls = v12
    ? { init: 'LMSInitialize', get: 'LMSGetValue', set: 'LMSSetValue', commit: 'LMSCommit', finish: 'LMSFinish' }
    : { init: 'Initialize', get: 'GetValue', set: 'SetValue', commit: 'Commit', finish: 'Terminate' };
  // SCORM 1.2 keeps 4,096 characters of suspend data, 2004 64,000.
  var suspendLimit = v12 ? 4096 : 64000;
  // A fill-in response or pattern: 1.2 platforms keep 255 characters,
  // 2004 platforms 250 per string.
  var responseLimit = v12 ? 255 : 250;
  var maxSearch = 500;

  // The API object in win, or null; a frame of another origin throws.
  function apiIn(win) {
    try {
      var api = win[apiName];
      return api && typeof api[calls.init] === 'function' ? api : null;
    } catch (e) {
      return null;
    }
  }

  // win, then its parents, up to maxSearch frames.
  function searchUp(win) {
    for (var i = 0; win && i <= maxSearch; i++) {
      var api = apiIn(win);
      if (api) return api;
      var parent = null;
      try {
        parent = win.parent;
      } catch (e) {
        return null;
      }
      if (!parent || parent === win) return null;
      win = parent;
    }
    return null;
  }

  function findApi() {
    var api = searchUp(window);
    if (api) return api;
    var opener = null;
    try {
      opener = window.opener;
    } catch (e) {
      opener = null;
    }
    return opener ? searchUp(opener) : null;
  }

  var api = findApi();
  if (!api) return;

  function call(name, a, b) {
    try {
      var value = b === undefined ? api[calls[name]](a === undefined ? '' : a) : api[calls[name]](a, b);
      return value === undefined || value === null ? '' : String(value);
    } catch (e) {
      return '';
    }
  }
  function get(element) { return call('get', element); }
  function set(element, value) { return call('set', element, String(value)) === 'true'; }

  if (call('init') !== 'true') return;
  var started = Date.now();
  var finished = false;   // the platform was told goodbye
  var state = { answers: null, shown: false, done: false };
  var boxList = null;
  var scoreTotal = document.getElementById('score-total');

  function boxes() {
    if (!boxList) boxList = Array.prototype.slice.call(form.getElementsByTagName('input'));
    return boxList;
  }

  function isBlank(c) { return c === 32 || c === 10 || c === 13; }

  // The typed answer as the page scores it: composed (NFC), so that a
  // letter typed as base and accent matches, without blanks at its ends
  // and with runs of spaces as one.
  function trimAnswer(s) {
    if (typeof s.normalize === 'function') s = s.normalize('NFC');
    var start = 0;
    var end = s.length;
    while (end > 0 && isBlank(s.charCodeAt(end - 1))) end--;
    while (start < end && isBlank(s.charCodeAt(start))) start++;
    return s.slice(start, end).replace(/ {2,}/g, ' ');
  }

  function isRight(typed, gap) {
    var ignoreCase = data.matching === 'ignoreCase';
    var t = ignoreCase ? typed.toLowerCase() : typed;
    for (var i = 0; i < gap.answers.length; i++) {
      if (t === (ignoreCase ? gap.answers[i].toLowerCase() : gap.answers[i])) return true;
    }
    return false;
  }

  function pad(n) { return n < 10 ? '0' + n : String(n); }

  // The time since the page started: 1.2 "HH:MM:SS.SS", 2004 "PT1H2M3.45S".
  function sessionTime() {
    var centis = Math.max(0, Math.round((Date.now() - started) / 10));
    var h = Math.floor(centis / 360000);
    var m = Math.floor(centis / 6000) % 60;
    var s = Math.floor(centis / 100) % 60;
    var c = centis % 100;
    if (v12) return pad(h) + ':' + pad(m) + ':' + pad(s) + '.' + pad(c);
    return 'PT' + h + 'H' + m + 'M' + s + '.' + pad(c) + 'S';
  }

  // A language tag as SCORM 2004's {lang=} delimiter takes it: the tag when
  // it is a language with at most one short subtag group, else the language.
  var lang = '';
  if (/^[a-zA-Z]{1,8}(-[a-zA-Z0-9-]{2,8})?$/.test(data.language || '')) lang = data.language;
  else if (/^[a-zA-Z]{1,8}(-|$)/.test(data.language || '')) lang = data.language.split('-')[0];

  // A string of a 2004 fill-in value. A string that starts with "{" would be
  // read as a delimiter; the {lang=} delimiter before it makes it text.
  function fillIn(s) {
    s = s.slice(0, responseLimit);
    if (s.charAt(0) === '{') return '{lang=' + (lang || 'und') + '}' + s;
    return s;
  }

  function percent(right, total) {
    return total === 0 ? 0 : Math.round((right * 10000) / total) / 100;
  }

  // Suspend data: {"a":[typed answers],"s":1 after Show Answers,"d":1 once
  // the test version is submitted}. When the answers do not fit, the pupil
  // comes back without them rather than the save failing.
  function saveState() {
    var list = boxes();
    var answers = [];
    for (var i = 0; i < list.length; i++) answers.push(list[i].value);
    var flags = (state.shown ? ',"s":1' : '') + (state.done ? ',"d":1' : '');
    var text = '{"a":' + JSON.stringify(answers) + flags + '}';
    if (text.length > suspendLimit) text = flags ? '{' + flags.slice(1) + '}' : '';
    set('cmi.suspend_data', text);
  }

  function restore() {
    var text = get('cmi.suspend_data');
    if (!text) return;
    var saved;
    try {
      saved = JSON.parse(text);
    } catch (e) {
      return;
    }
    if (!saved || typeof saved !== 'object') return;
    state.shown = saved.s === 1;
    state.done = saved.d === 1;
    var list = boxes();
    if (state.done || !Array.isArray(saved.a) || saved.a.length !== list.length) return;
    for (var i = 0; i < list.length; i++) {
      if (typeof saved.a[i] === 'string') list[i].value = saved.a[i];
    }
  }

  function setInteraction(n, gap, typed, result) {
    var prefix = 'cmi.interactions.' + n + '.';
    set(prefix + 'id', gap.id);
    set(prefix + 'type', 'fill-in');
    var m = 0;
    for (var i = 0; i < gap.answers.length; i++) {
      var answer = gap.answers[i];
      // "[,]" separates the strings of a 2004 response and cannot be
      // escaped; such an answer is judged here but not given as a pattern.
      if (answer.length > responseLimit || (!v12 && answer.indexOf('[,]') >= 0)) continue;
      var pattern = answer;
      if (!v12) {
        pattern = '{case_matters=' + (data.matching === 'ignoreCase' ? 'false' : 'true') + '}' +
          (lang ? '{lang=' + lang + '}' + answer : fillIn(answer));
      }
      set(prefix + 'correct_responses.' + m + '.pattern', pattern);
      m++;
    }
    if (v12) set(prefix + 'student_response', typed.slice(0, responseLimit));
    else set(prefix + 'learner_response', fillIn(typed));
    set(prefix + 'result', result);
    set(prefix + 'weighting', '1');
  }

  // One check of the page: score, status, time and one interaction per gap.
  function report() {
    if (finished) return;
    if (scoreTotal && scoreTotal.hidden) state.shown = true;
    // The test version takes its form out of the page when it is submitted.
    if (!form.isConnected) state.done = true;
    var list = boxes();
    var gaps = data.gaps;
    var total = Math.min(list.length, gaps.length);
    var right = 0;
    for (var i = 0; i < total; i++) {
      var typed = trimAnswer(list[i].value);
      var ok = isRight(typed, gaps[i]);
      if (ok) right++;
      var result = state.shown ? 'neutral' : ok ? 'correct' : v12 ? 'wrong' : 'incorrect';
      setInteraction(i, gaps[i], typed, result);
    }
    // Show Answers counts as no score.
    if (state.shown) right = 0;
    var pct = percent(right, total);
    var status = data.passMark === null || data.passMark === undefined ? 'completed'
      : pct >= data.passMark ? 'passed' : 'failed';
    if (v12) {
      set('cmi.core.score.min', '0');
      set('cmi.core.score.max', '100');
      set('cmi.core.score.raw', String(pct));
      set('cmi.core.lesson_status', status);
      set('cmi.core.session_time', sessionTime());
    } else {
      set('cmi.score.min', '0');
      set('cmi.score.max', String(total));
      set('cmi.score.raw', String(right));
      set('cmi.score.scaled', String(total === 0 ? 0 : Math.round((right * 10000) / total) / 10000));
      set('cmi.completion_status', 'completed');
      set('cmi.success_status', status === 'completed' ? 'unknown' : status);
      set('cmi.session_time', sessionTime());
    }
    saveState();
    call('commit');
  }

  // Leaving the page: the attempt can be resumed unless the test version
  // was submitted. Once only; nothing is reported after it.
  function leave() {
    if (finished) return;
    saveState();
    if (v12) {
      set('cmi.core.session_time', sessionTime());
      set('cmi.core.exit', state.done ? '' : 'suspend');
    } else {
      set('cmi.session_time', sessionTime());
      set('cmi.exit', state.done ? 'normal' : 'suspend');
    }
    call('commit');
    finished = true;
    call('finish');
  }

  restore();
  var statusElement = v12 ? 'cmi.core.lesson_status' : 'cmi.completion_status';
  var status = get(statusElement);
  if (status === '' || status === 'not attempted' || status === 'unknown') set(statusElement, 'incomplete');

  new MutationObserver(report).observe(resultRegion, {
    childList: true, characterData: true, subtree: true, attributes: true
  });
  form.addEventListener('change', function () { if (!finished) saveState(); });
  // Some platforms (ILIAS) send what a closing page saves only while it
  // runs beforeunload; pagehide and unload still come where that does not
  // (a frame the platform replaces). The first of them leaves.
  window.addEventListener('beforeunload', leave);
  window.addEventListener('pagehide', leave);
  window.addEventListener('unload', leave);
})();
