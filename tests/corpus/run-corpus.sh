#!/usr/bin/env bash
# The template library over a corpus of real files gathered from this
# machine (different files on different machines):
#
#   tests/corpus/run-corpus.sh [--files N] [--damaged N] [--formats "png zip ..."] CORPUS_DIR
#
# Gathers the corpus into CORPUS_DIR (gather-*.sh), then runs each format's
# template over up to N files of it (default: all) with check-template.sh,
# the first M of them (default: all) also cut in half and with a byte
# flipped: every text must pack back to every byte. Then one value of each
# format is edited in the text and saved (check-edits.py), and prmconv's
# template commands run over the corpus (check-cli.sh). A format whose
# template or files are missing is reported and skipped. Prints one line per
# format and per edit, and exits non-zero when a check failed. Environment
# as check-template.sh.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
# shellcheck source=formats.sh
source "$here/formats.sh"
files=0
damaged=-1
formats="$corpus_formats"
while [ $# -gt 1 ]; do
  case "$1" in
    --files) files="$2"; shift 2 ;;
    --damaged) damaged="$2"; shift 2 ;;
    --formats) formats="$2"; shift 2 ;;
    *) break ;;
  esac
done
corpus="${1:?usage: run-corpus.sh [--files N] [--damaged N] [--formats LIST] CORPUS_DIR}"
mkdir -p "$corpus"
for gather in "$here"/gather-*.sh; do bash "$gather" "$corpus" >/dev/null 2>&1 || true; done


failed=0
for format in $formats; do
  template="$root/examples/templates/$(template_of "$format")"
  if [ ! -f "$template" ]; then echo "$format: no template"; continue; fi
  mapfile -t all < <(find "$corpus/$format" -maxdepth 1 -type f 2>/dev/null | sort)
  [ "$files" -gt 0 ] && all=("${all[@]:0:$files}")
  if [ ${#all[@]} -eq 0 ]; then echo "$format: no files"; continue; fi
  heavy=("${all[@]}")
  light=()
  if [ "$damaged" -ge 0 ]; then
    heavy=("${all[@]:0:$damaged}")
    light=("${all[@]:$damaged}")
  fi
  log="$corpus/$format.log"
  : >"$log"
  ok=1
  if [ ${#heavy[@]} -gt 0 ]; then bash "$here/check-template.sh" --damaged "$template" "${heavy[@]}" >>"$log" 2>&1 || ok=0; fi
  if [ ${#light[@]} -gt 0 ]; then bash "$here/check-template.sh" "$template" "${light[@]}" >>"$log" 2>&1 || ok=0; fi
  summary="$(grep -c '^OK' "$log") checks passed, $(grep -c '^FAIL' "$log") failed over ${#all[@]} files"
  if [ "$ok" -eq 1 ]; then
    echo "$format: $summary"
  else
    echo "$format: $summary"
    grep '^FAIL' "$log" | head -n 5
    failed=1
  fi
done
python3 "$here/check-edits.py" "$corpus" $formats || failed=1
bash "$here/check-cli.sh" "$corpus" $formats >"$corpus/cli.log" 2>&1 || failed=1
grep -v '^OK' "$corpus/cli.log"
exit "$failed"
