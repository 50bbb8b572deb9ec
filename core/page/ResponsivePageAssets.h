#pragma once
// The fixed parts of the responsive page: its style sheet and its script.
// Neither holds anything the teacher wrote. The settings reach the style
// sheet as custom properties in a :root rule written before this text; the
// script reads the variant, the time limit and the answers from the page's
// JSON data block and finds everything else by id.

#include <string_view>

namespace brenvik::page {

// Screen: one column at most 48rem wide that wraps the text and never
// scrolls sideways. The text is one block per source line (white-space:
// pre-wrap keeps its blanks; an empty line keeps a line's height), and each
// line takes its direction from its own first letter (unicode-bidi:
// plaintext), so Hebrew or Arabic lines run right to left. A kept part and
// its box stay on one line (class k) unless together they are too long for
// a phone's line. Boxes are as wide as their answer (--n cells, set by the
// n1, n2, .. rules written before this text) plus room for the caret, and
// at least 24px tall. Marks after a checked box say right or wrong in a
// symbol, not in colour. Print: black on white, a name line, each gap a
// line of its length, no buttons, no feedback, no timer.
//
// Written for speed with thousands of gaps as well: no universal or
// pseudo-element selector that every element must be matched against, one
// shared rule per box width instead of a style per box, plain inline
// wrappers (an inline-block per gap would double the layout time), no
// dir="auto", whose upkeep while a long text is parsed grows with the square
// of its length, and content-visibility: auto on the line blocks, so that
// only the lines near the screen are styled and laid out: a line far off
// screen counts as one line high (or as high as it was when last shown)
// until it comes near. They stay in find in page and focusable, and
// Chromium lays them out for a running screen reader, which reads every
// line and box; overflow-clip-margin leaves room for a focused box's
// outline, which the paint containment would otherwise cut at the line's
// edge. Printing shows every line.
inline constexpr std::string_view kResponsiveStyle = R"CSS(html{-webkit-text-size-adjust:100%;text-size-adjust:100%}
body{margin:0;background:var(--bg);color:var(--fg);font-family:var(--font);font-size:var(--size);line-height:1.6}
main,footer{max-width:48rem;margin:0 auto;padding:0 1rem}
h1{margin:1rem 0;padding:.4em .6em;background:var(--box-bg);color:var(--box-fg);font-size:1.5em;line-height:1.3;text-align:center;overflow-wrap:anywhere}
[hidden]{display:none!important}
.name-line{display:none}
.instruction{font-weight:bold;font-style:italic}
.text{margin:1em 0}
.text>div{min-height:1.6em;white-space:pre-wrap;overflow-wrap:anywhere;unicode-bidi:plaintext;text-align:start;content-visibility:auto;contain-intrinsic-block-size:auto 1.6em;overflow-clip-margin:8px}
.text input{box-sizing:border-box;font:inherit;line-height:1.4;width:calc(var(--n)*1.2ch + 1.5ch + 2px);max-width:100%;min-height:24px;margin:0 .1ch;padding:0 .25ch;border:1px solid var(--fg);border-radius:3px;background:var(--box-bg);color:var(--box-fg);caret-color:var(--box-fg);vertical-align:baseline;unicode-bidi:plaintext}
.k{white-space:nowrap}
.w.right::after{content:"\2713";content:"\2713"/"right";margin-left:.15em;font-weight:bold}
.w.wrong::after{content:"\2717";content:"\2717"/"wrong";margin-left:.15em;font-weight:bold}
.timer-line{font-weight:bold}
.controls{display:flex;flex-wrap:wrap;gap:.75rem;margin:1rem 0}
button{box-sizing:border-box;font:inherit;min-height:44px;padding:.4em 1.2em;border:2px solid var(--fg);border-radius:4px;background:var(--fg);color:var(--bg);cursor:pointer}
:focus-visible{outline:3px solid var(--fg);outline-offset:2px}
#result{min-height:1.6em}
#result:focus{outline:none}
footer{margin-top:2rem;font-size:.85em}
@media print{
body{background:#fff;color:#000;font-size:12pt}
main,footer{max-width:none;padding:0}
h1{background:none;color:#000;border-bottom:2px solid #000}
.name-line{display:block;margin:1.5em 0}
.name-space{display:inline-block;width:60%;border-bottom:1px solid #000}
.controls,.timer-line,#result,footer{display:none}
.text input{width:calc(var(--n)*1.2ch + 1ch);min-height:0;border:0;border-bottom:1px solid #000;border-radius:0;background:none;color:transparent}
.w.right::after,.w.wrong::after{content:none}
.text>div{content-visibility:visible}
}
)CSS";

// The scoring is the classic page's: blanks, line feeds and carriage
// returns are trimmed from both ends, a run of blanks inside counts as one,
// case and every other character count. The answers arrive as lists of code
// points, so they never stand in the page as words and no character of
// theirs can end a string or the script. The boxes start empty without a
// loop that clears them: autocomplete="off" on the form and on each box
// keeps the browser from filling them or restoring what was typed before a
// reload.
inline constexpr std::string_view kResponsiveScript = R"JS((function () {
'use strict';
var data = JSON.parse(document.getElementById('test-data').textContent);
var form = document.getElementById('cloze');
var boxList = null;
var answerList = null;
var work = document.getElementById('work');
var submitButton = document.getElementById('submit-test');
var showButton = document.getElementById('show-answers');
var result = document.getElementById('result');
var feedback = document.getElementById('feedback');
var score = document.getElementById('score');
var scoreLine = document.getElementById('score-line');
var timer = document.getElementById('timer');
var shown = false;
var finished = false;
var timeout = 0;
var ticker = 0;

// The boxes and the answers are gathered when first needed, not while the
// page starts: finding 20,000 boxes in the text takes longer than the rest
// of the set-up.
function allBoxes() {
  if (!boxList) boxList = Array.prototype.slice.call(form.getElementsByTagName('input'));
  return boxList;
}

function allAnswers() {
  if (!answerList) answerList = data.answers.map(function (codes) { return String.fromCodePoint.apply(String, codes); });
  return answerList;
}

function isBlank(c) { return c === 32 || c === 10 || c === 13; }

function trimAnswer(s) {
  var start = 0;
  var end = s.length;
  while (end > 0 && isBlank(s.charCodeAt(end - 1))) end--;
  while (start < end && isBlank(s.charCodeAt(start))) start++;
  return s.slice(start, end).replace(/ {2,}/g, ' ');
}

function mark(box, state) {
  var marks = box.parentNode.classList;
  if (marks.contains('right') !== (state === 'right')) marks.toggle('right');
  if (marks.contains('wrong') !== (state === 'wrong')) marks.toggle('wrong');
  if (state === 'wrong') box.setAttribute('aria-invalid', 'true');
  else if (box.hasAttribute('aria-invalid')) box.removeAttribute('aria-invalid');
}

function clock(seconds) {
  var h = Math.floor(seconds / 3600);
  var m = Math.floor(seconds / 60) % 60;
  var s = seconds % 60;
  var mm = h > 0 && m < 10 ? '0' + m : String(m);
  return (h > 0 ? h + ':' : '') + mm + ':' + (s < 10 ? '0' : '') + s;
}

function stopTimer() {
  clearTimeout(timeout);
  clearInterval(ticker);
}

function finish(text) {
  finished = true;
  stopTimer();
  work.parentNode.removeChild(work);
  result.textContent = text;
  result.tabIndex = -1;
  result.focus();
}

function check() {
  if (finished) return;
  var boxes = allBoxes();
  var answers = allAnswers();
  var right = 0;
  for (var i = 0; i < boxes.length; i++) {
    var box = boxes[i];
    var ok = trimAnswer(box.value) === answers[i];
    if (ok) right++;
    else box.value = '';
    if (data.practice) mark(box, ok ? 'right' : 'wrong');
  }
  if (!data.practice) {
    finish('You scored ' + right + ' out of a possible ' + boxes.length);
    return;
  }
  var sentence = right < boxes.length ? 'Some of your answers are wrong.' : 'All correct! Well done.';
  var value = String(right);
  if (shown) {
    sentence = 'No cheating!';
    value = 'naughty!';
  }
  feedback.textContent = sentence;
  score.textContent = value;
  scoreLine.hidden = false;
}

submitButton.addEventListener('click', check);
if (showButton) {
  showButton.addEventListener('click', function () {
    shown = true;
    var boxes = allBoxes();
    var answers = allAnswers();
    for (var i = 0; i < boxes.length; i++) {
      boxes[i].value = answers[i];
      mark(boxes[i], '');
    }
  });
}
form.addEventListener('submit', function (e) { e.preventDefault(); });
form.addEventListener('keydown', function (e) {
  if (e.key !== 'Enter' || e.isComposing) return;
  var boxes = allBoxes();
  var i = Number(e.target.name);
  if (boxes[i] !== e.target) return;
  e.preventDefault();
  (i + 1 < boxes.length ? boxes[i + 1] : submitButton).focus();
});
form.addEventListener('input', function (e) {
  var marks = e.target.parentNode.classList;
  if (marks.contains('right') || marks.contains('wrong')) mark(e.target, '');
});

if (data.seconds > 0) {
  var left = data.seconds;
  timer.textContent = clock(left);
  ticker = setInterval(function () {
    if (left > 1) timer.textContent = clock(--left);
  }, 1000);
  timeout = setTimeout(function () {
    clearInterval(ticker);
    timer.textContent = clock(0);
    check();
  }, data.seconds * 1000);
}
})();
)JS";

}  // namespace brenvik::page
