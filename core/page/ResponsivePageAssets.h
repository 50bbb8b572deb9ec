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
// plaintext), so Hebrew or Arabic lines run right to left; a very long line
// cut into parts (class cut) is given its direction by the page writer. A
// kept part and its box stay on one line (class k) unless together they are
// too long for a phone's line. Boxes are as wide as their answer (--n cells,
// set by the n1, n2, .. rules written before this text) plus room for the
// caret and, at their end, for the mark a check puts there (the practice
// version's rules after this text draw it), so that marks move nothing.
// Focus shows as a ring inside the box, in its text colour, which covers
// neither the kept part beside it nor the next line. On a touch screen
// (pointer: coarse) boxes are at least 32px tall, and their margins make a
// row that holds a box tall enough to leave 12px between its boxes and
// those of the rows above and below. Show Answers stands apart from
// Submit Test and looks different. Print: black on white, a name line, each
// gap a line of its length, no buttons, no feedback, no timer, no focus ring.
//
// Written for speed with thousands of gaps as well: no universal or
// pseudo-element selector that every element must be matched against, one
// shared rule per box width instead of a style per box, plain inline
// wrappers (an inline-block per gap would double the layout time), no
// dir="auto", whose upkeep while a long text is parsed grows with the square
// of its length, and content-visibility: auto on the line blocks (and on
// the parts of a cut line), so that only the lines near the screen are
// styled and laid out: a line far off screen counts as one line high (a
// part as 32em, about its height on a desktop screen), or as high as it was
// when last shown, until it comes near. The script lays out the blocks of
// the first screen (class near) before the page is first drawn, so nothing
// there changes size once it shows. They stay in find in page and
// focusable, and Chromium lays them out for a running screen reader, which
// reads every line and box; overflow-clip-margin leaves room for what a box
// draws past the line's edge. Printing shows every line.
inline constexpr std::string_view kResponsiveStyle = R"CSS(html{-webkit-text-size-adjust:100%;text-size-adjust:100%}
body{margin:0;background:var(--bg);color:var(--fg);font-family:var(--font);font-size:var(--size);line-height:1.6}
main,footer{max-width:48rem;margin:0 auto;padding:0 1rem}
h1{margin:1rem 0;padding:.4em .6em;background:var(--box-bg);color:var(--box-fg);font-size:1.5em;line-height:1.3;text-align:center;overflow-wrap:anywhere}
[hidden]{display:none!important}
.name-line{display:none}
.instruction{font-weight:bold;font-style:italic}
.text{margin:1em 0}
.text>div{min-height:1.6em;white-space:pre-wrap;overflow-wrap:anywhere;unicode-bidi:plaintext;text-align:start;content-visibility:auto;contain-intrinsic-block-size:auto 1.6em;overflow-clip-margin:8px}
.text>.cut{unicode-bidi:isolate;content-visibility:visible}
.cut>div{min-height:1.6em;content-visibility:auto;contain-intrinsic-block-size:auto 32em;overflow-clip-margin:8px}
.text .near{content-visibility:visible}
.text input{box-sizing:border-box;font:inherit;line-height:1.4;width:calc(var(--n)*1.2ch + 1ch + .8em + 14px);max-width:100%;min-height:24px;margin:0 .1ch;padding:0 calc(.8em + 6px) 0 6px;border:1px solid var(--fg);border-radius:3px;background-color:var(--box-bg);background-repeat:no-repeat;background-position:right 4px center;background-size:.8em .8em;color:var(--box-fg);caret-color:var(--box-fg);vertical-align:baseline;unicode-bidi:plaintext}
.text input:focus-visible{outline:2px solid var(--box-fg);outline-offset:-4px}
.k{white-space:nowrap}
.timer-line{font-weight:bold}
.controls{display:flex;flex-wrap:wrap;justify-content:space-between;gap:3rem;margin:1rem 0}
button{box-sizing:border-box;font:inherit;min-height:44px;padding:.4em 1.2em;border:2px solid var(--fg);border-radius:4px;background:var(--fg);color:var(--bg);cursor:pointer}
#show-answers,#confirm-show{background:var(--bg);color:var(--fg)}
:focus-visible{outline:3px solid var(--fg);outline-offset:2px}
dialog{box-sizing:border-box;max-width:min(30rem,calc(100% - 2rem));padding:1rem 1.25rem;border:2px solid var(--fg);border-radius:6px;background:var(--bg);color:var(--fg)}
dialog::backdrop{background:rgba(0,0,0,.5)}
dialog h2{margin:0 0 .5em;font-size:1.25em;line-height:1.3}
#result{min-height:1.6em}
#result:focus{outline:none}
#result.practice{min-height:6.8em}
.pending{visibility:hidden}
footer{margin-top:2rem;font-size:.85em}
@media (pointer:coarse){
.text input{min-height:32px;margin-block:6px}
}
@media print{
body{background:#fff;color:#000;font-size:12pt}
main,footer{max-width:none;padding:0}
h1{background:none;color:#000;border-bottom:2px solid #000}
.name-line{display:block;margin:1.5em 0}
.name-space{display:inline-block;width:60%;border-bottom:1px solid #000}
.controls,.timer-line,#result,footer,dialog{display:none}
.text input{width:calc(var(--n)*1.2ch + 1ch);min-height:0;margin:0 .1ch;padding:0 .25ch;border:0;border-bottom:1px solid #000;border-radius:0;background:none;color:transparent}
.text>div,.cut>div{content-visibility:visible}
:focus-visible,.text input:focus-visible{outline:none}
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
//
// The practice version marks every box after a check: right, wrong (what
// was typed stays, for the pupil to correct) or not answered, as
// aria-describedby naming the mark in words (the style sheet draws the mark
// from it) and aria-invalid on the two that are not right. Show Answers asks first when
// it would replace something typed, in a modal <dialog> of the page: it
// takes the keyboard and screen readers along (focus moves into it onto
// "Keep my answers", Escape keeps them, focus returns to the button), it
// cannot be turned off by the browser's "prevent more dialogs" as
// window.confirm can, it does not stop the timer's script while it is open,
// and the tests drive it the same way in every engine.
inline constexpr std::string_view kResponsiveScript = R"JS((function () {
'use strict';
var data = JSON.parse(document.getElementById('test-data').textContent);
var form = document.getElementById('cloze');
var boxList = null;
var answerList = null;
var work = document.getElementById('work');
var submitButton = document.getElementById('submit-test');
var showButton = document.getElementById('show-answers');
var confirmBox = document.getElementById('show-confirm');
var result = document.getElementById('result');
var feedback = document.getElementById('feedback');
var score = document.getElementById('score');
var scoreLine = document.getElementById('score-line');
var scoreTotal = document.getElementById('score-total');
var timer = document.getElementById('timer');
var shown = false;
var finished = false;
var timeout = 0;
var ticker = 0;

// Lays out, before the page is first drawn, the line blocks (and the parts
// of a cut line) that start on the first screen: left to content-visibility,
// they would be drawn at their estimated size first and at their real size a
// frame later, moving everything below them. A block not laid out counts
// as its estimate, so those that start on the screen by that count are laid
// out together, then again any that the real sizes brought onto the screen,
// until none is left: one layout of the page per round, usually two rounds.
function firstScreen(blocks, bottom, found) {
  for (var i = 0; i < blocks.length; i++) {
    var block = blocks[i];
    if (block.getBoundingClientRect().top >= bottom) return false;
    if (block.className === 'cut') {
      if (!firstScreen(block.children, bottom, found)) return false;
    } else if (block.className !== 'near') {
      found.push(block);
    }
  }
  return true;
}
for (;;) {
  var near = [];
  firstScreen(form.firstElementChild.children, window.innerHeight, near);
  if (near.length === 0) break;
  for (var n = 0; n < near.length; n++) near[n].className = 'near';
}

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

// state: 'right', 'wrong', 'empty' (not answered) or '' (no mark). The
// description is the mark: the style sheet draws it from the same attribute.
function mark(box, state) {
  if (state === 'wrong' || state === 'empty') box.setAttribute('aria-invalid', 'true');
  else if (box.hasAttribute('aria-invalid')) box.removeAttribute('aria-invalid');
  if (state) box.setAttribute('aria-describedby', 'said-' + state);
  else if (box.hasAttribute('aria-describedby')) box.removeAttribute('aria-describedby');
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
  // A check the timer makes while Show Answers asks keeps the answers.
  if (confirmBox && confirmBox.open) confirmBox.close();
  var boxes = allBoxes();
  var answers = allAnswers();
  var right = 0;
  for (var i = 0; i < boxes.length; i++) {
    var typed = trimAnswer(boxes[i].value);
    var state = typed === answers[i] ? 'right' : typed === '' ? 'empty' : 'wrong';
    if (state === 'right') right++;
    if (data.practice) mark(boxes[i], state);
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
  scoreTotal.hidden = shown;
  scoreLine.className = '';
}

// How many boxes hold something typed that the answers would replace.
function typedOver() {
  var boxes = allBoxes();
  var answers = allAnswers();
  var count = 0;
  for (var i = 0; i < boxes.length; i++) {
    if (boxes[i].value !== '' && trimAnswer(boxes[i].value) !== answers[i]) count++;
  }
  return count;
}

function showAnswers() {
  shown = true;
  var boxes = allBoxes();
  var answers = allAnswers();
  for (var i = 0; i < boxes.length; i++) {
    boxes[i].value = answers[i];
    mark(boxes[i], '');
  }
}

submitButton.addEventListener('click', check);
if (showButton) {
  showButton.addEventListener('click', function () {
    var typed = typedOver();
    if (typed === 0) {
      showAnswers();
      return;
    }
    document.getElementById('typed-count').textContent = typed === 1 ? '1 gap' : typed + ' gaps';
    confirmBox.showModal();
  });
  // The answers go in at once, not in the dialog's close event, which comes
  // a moment later.
  document.getElementById('keep-answers').addEventListener('click', function () { confirmBox.close(); });
  document.getElementById('confirm-show').addEventListener('click', function () {
    confirmBox.close();
    showAnswers();
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
  if (e.target.hasAttribute('aria-describedby')) mark(e.target, '');
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

// The script of a page whose test has several texts, further answers, a
// language or answers that ignore letter case: the script above with the
// data's ignoreCase, accepted and texts read (see BuildResponsiveTestPage).
std::string_view ResponsiveTestScript();

}  // namespace brenvik::page
