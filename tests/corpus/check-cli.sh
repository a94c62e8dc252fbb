#!/usr/bin/env bash
# prmconv's template commands over a gathered corpus, with the installed
# folder's library and templates:
#
#   tests/corpus/check-cli.sh CORPUS_DIR [FORMAT...]
#
# A copy of the installed folder (build/win/dist) is registered as the
# library for the run; the tree's own library is registered again after. For the first file of each
# format, `templates` must offer the format's template from its family
# folder, `verify` with that template must find that the text stands for
# the file, and `apply` must write the text; for a file damaged on purpose
# (named bad*), `apply` must end with an error. Prints one line per check
# and exits non-zero when one failed. Environment as check-template.sh.
set -u

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${PRAMEL_BUILD_ROOT:-$root/build}"
prefix="${PRAMEL_PREFIX:-$build/win/wineprefix}"
prmconv="$build/win/tools/prmconv/prmconv.exe"
dist="$build/win/dist"
corpus="${1:?usage: check-cli.sh CORPUS_DIR [FORMAT...]}"
shift
formats="${*:-}"
for need in "$prmconv" "$dist/ライブラリ/Velda.dll"; do
  [ -f "$need" ] || { echo "check-cli.sh: $need is not built" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/pramel-cli.XXXXXX")"
winpath() { echo "Z:$(realpath -m "$1")" | tr / '\\'; }
regsvr32() { "$root/scripts/wine-run.sh" --prefix "$prefix" regsvr32 /s "$(winpath "$1")" </dev/null >/dev/null 2>&1; }
# The tree's own library is registered again afterwards, as the tests
# register it.
restore() { regsvr32 "$build/win/library/com/Velda.dll"; rm -rf "$work"; }
trap restore EXIT

cp -r "$dist" "$work/dist"
rm -f "$work/dist/ライブラリ/TemplateList.txt"
regsvr32 "$work/dist/ライブラリ/Velda.dll" || { echo "check-cli.sh: cannot register the installed folder's library" >&2; exit 2; }

run() { "$root/scripts/wine-run.sh" --prefix "$prefix" "$prmconv" "$@" </dev/null >"$work/out" 2>"$work/err"; }
failed=0
passed=0
result() {  # result OK? DESCRIPTION
  if [ "$1" -eq 0 ]; then passed=$((passed + 1)); echo "OK   $2"; else failed=$((failed + 1)); echo "FAIL $2"; fi
}

# shellcheck source=../../tests/corpus/formats.sh
source "$root/tests/corpus/formats.sh"
[ -n "$formats" ] || formats="$corpus_formats"

for format in $formats; do
  template="$(template_of "$format")"
  file="$(find "$corpus/$format" -maxdepth 1 -type f ! -name 'bad*' 2>/dev/null | LC_ALL=C sort | head -n 1)"
  [ -n "$file" ] || { echo "SKIP $format: no files"; continue; }
  # The corpus keeps the file's own extension (an ELF binary may have none):
  # the copy that is listed carries the format's usual one.
  ext="$(sed -nE 's/.*\.([^./]+)$/\1/p' <<<"$(basename "$file")")"
  case "$format" in elf) ext=so ;; pe) [ -n "$ext" ] || ext=dll ;; esac
  named="$work/sample.$ext"
  cp "$file" "$named"

  run templates "$(winpath "$named")"; code=$?
  listed="$(iconv -f CP932 -t UTF-8 -c "$work/out" | tr -d '\r' | grep -F "\\$template" | head -n 1)"
  result $(( code != 0 || ${#listed} == 0 )) "$format: templates offers $template for .$ext (exit $code)"
  [ -n "$listed" ] || continue
  listed_win="$listed"  # Wine hands arguments over from the UTF-8 locale

  run verify "$listed_win" "$(winpath "$named")"; code=$?
  grep -q ': match' "$work/out" && grep -q 'the same bytes' "$work/out"; same=$?
  result $(( code != 0 || same != 0 )) "$format: verify $(basename "$file") (exit $code)"

  run apply "$listed_win" "$(winpath "$named")" "$(winpath "$work/text.txt")"; code=$?
  result $(( code != 0 || $(stat -c %s "$work/text.txt" 2>/dev/null || echo 0) == 0 )) \
    "$format: apply writes the text (exit $code)"

  bad="$(find "$corpus/$format" -maxdepth 1 -type f -name 'bad*' 2>/dev/null | LC_ALL=C sort | head -n 1)"
  if [ -n "$bad" ]; then
    run apply "$listed_win" "$(winpath "$bad")" "$(winpath "$work/bad.txt")"; code=$?
    result $(( code != 1 )) "$format: apply on $(basename "$bad") ends with an error (exit $code)"
  fi
done
echo "prmconv over the corpus: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
