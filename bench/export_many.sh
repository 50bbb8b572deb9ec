#!/usr/bin/env bash
# Times brenvik-cli export over many texts at once against one call per text,
# in one run on the same files.
#   bench/export_many.sh [FORMAT] [COUNT]     FORMAT classic (default), responsive, moodle, pdf,
#                                             scorm12 or scorm2004; COUNT 1000
#   bench/export_many.sh FORMAT COUNT --one-call [RUNS]
#                                             only the one call, RUNS times (3)
# Each text is about 2 KiB of prose (different in every file). Prints the two
# times, their ratio, and checks that both ways wrote the same bytes.
set -euo pipefail
format=${1:-classic}
count=${2:-1000}
only_one=${3:-}
runs=${4:-3}
here=$(cd "$(dirname "$0")/.." && pwd)
cli=${BRENVIK_CLI:-$here/build/bin/brenvik-cli}
[[ -x $cli ]] || { echo "no $cli: build first" >&2; exit 2; }
case $format in classic|responsive) ext=htm ;; moodle) ext=xml ;; pdf) ext=pdf ;; scorm12|scorm2004) ext=zip ;; *) echo "unknown format $format" >&2; exit 2 ;; esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/texts" "$work/many" "$work/each"
# A fixed date so that the PDFs of both ways are byte for byte the same.
export SOURCE_DATE_EPOCH=1700000000

# COUNT texts of about 2 KiB: a first sentence, then words drawn from a list
# in an order that differs per file, with commas, full stops and line breaks.
awk -v count="$count" -v dir="$work/texts" 'BEGIN {
  n = split("the teacher gives every pupil a short text about gardens rivers mountains and " \
            "cities where people work read write travel build houses markets schools bridges " \
            "quietly slowly carefully together yesterday tomorrow summer winter morning evening " \
            "Polish żółw gęś łódź Greek λόγος θάλασσα Russian город река школа Hebrew שלום ספר", words, " ")
  srand(20240611)
  for (f = 1; f <= count; f++) {
    file = sprintf("%s/text%04d.txt", dir, f)
    text = sprintf("This is text number %d for the benchmark.", f)
    len = length(text)
    while (len < 2048) {
      w = words[int(rand() * n) + 1]
      r = rand()
      sep = r < 0.08 ? ", " : r < 0.14 ? ". " : r < 0.17 ? ".\r\n" : " "
      text = text " " w; len += length(w) + 1
      if (sep != " ") { text = text substr(sep, 1, 1); len += 1 }
      if (sep == ".\r\n") { text = text "\r\n"; len += 2 }
    }
    printf "%s", text > file
    close(file)
  }
}'

# Real time, and the processor time of the program (user + system), which a
# busy machine does not inflate.
TIMEFORMAT='%R %U %S'
one_call() { "$cli" export "$work/texts" --out-dir "$work/many" --format "$format"; }
each_call() {
  local f name
  for f in "$work"/texts/*.txt; do
    name=$(basename "$f" .txt)
    if [[ $format == moodle ]]; then
      "$cli" export "$f" -o "$work/each/$name.$ext" --format "$format" --title "$name"
    else
      "$cli" export "$f" -o "$work/each/$name.$ext" --format "$format"
    fi
  done
}
if [[ $only_one == --one-call ]]; then
  for ((r = 1; r <= runs; r++)); do
    rm -rf "$work/many"
    one=$( { time one_call; } 2>&1 )
    printf '%s: %d texts into --out-dir: %s s real, user %s s, system %s s\n' "$format" \
      "$(ls "$work/many" | wc -l)" $one
  done
  exit 0
fi
one=$( { time one_call; } 2>&1 )
each=$( { time each_call; } 2>&1 )

if ! diff -r -q "$work/many" "$work/each" >/dev/null; then
  echo "the two ways wrote different files" >&2
  exit 1
fi
written=$(ls "$work/many" | wc -l)
awk -v one="$one" -v each="$each" -v n="$written" -v f="$format" 'BEGIN {
  split(one, a, " "); split(each, b, " ")
  printf "%s: %d texts of about 2 KiB, the same bytes both ways\n", f, n
  printf "  one call:          %7.3f s real, %7.3f s processor\n", a[1], a[2] + a[3]
  printf "  one call per text: %7.3f s real, %7.3f s processor\n", b[1], b[2] + b[3]
  printf "  one call is %.1f times faster (real), %.1f times (processor)\n", b[1] / a[1], (b[2] + b[3]) / (a[2] + a[3])
}'
