#!/usr/bin/env bash
# The manual pages the build makes render without a single warning, and
# quorvane-cli(1) has a section for every command quorvane-cli lists, whose
# synopsis is the first form that command's --help prints.
set -euo pipefail
build_dir="$1"
pages="$build_dir/src/usage/generated"
cli="$build_dir/src/cli/quorvane-cli"
fail() { echo "FAIL: $*"; exit 1; }
export LC_ALL=C.UTF-8

for page in quorvane-cli.1.gz quorvane.1.gz; do
  [ -f "$pages/$page" ] || fail "no $page"
  warnings="$(MANWIDTH=80 man --warnings=w -E UTF-8 -l "$pages/$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "$page: $warnings"
done

# Every hyphen is roff's minus sign, \-, never a bare -, which may print as a
# hyphen: an option copied from the page must keep its minus signs.
for page in quorvane-cli.1.gz quorvane.1.gz; do
  bare="$(zcat "$pages/$page" | grep -v '^\.\\"' | grep -nE '(^|[^\\])-' || true)"
  [ -z "$bare" ] || fail "$page has hyphens that are not minus signs: $bare"
done

# Options and the words typed as they are in bold, what the user gives in italics.
source="$(zcat "$pages/quorvane-cli.1.gz")"
grep -qF '[\fB\-\-sort\fR\ \fISPEC\fR]' <<<"$source" ||
  fail "quorvane-cli(1) does not set export's --sort in bold and its SPEC in italics"
grep -qF '[\fB\-\-format\fR\ \fBtsv\fR|' <<<"$source" || fail "quorvane-cli(1) does not set --format's words in bold"

# Wide enough that no synopsis breaks.
text="$(MANWIDTH=1000 man -E UTF-8 -l "$pages/quorvane-cli.1.gz" 2>/dev/null | sed 's/^ *//; s/  */ /g')"
commands="$("$cli" --help | sed -n '/^Commands:/,/^$/p' | awk '/^  [a-z]/ {print $1}' | sort -u)"
[ -n "$commands" ] || fail "quorvane-cli --help lists no commands"
for command in $commands; do
  grep -qx "$command" <<<"$text" || fail "quorvane-cli(1) has no section $command"
  # The first form, its continued lines joined.
  form="$("$cli" "$command" --help | sed -n '/^Usage:/,/^ *$/p' |
          awk 'NR > 1 && /^       quorvane-cli/ {exit} {print}' | sed 's/^Usage: //; s/^ *//' | tr '\n' ' ' |
          sed 's/  */ /g; s/ $//')"
  grep -qxF "$form" <<<"$text" || fail "quorvane-cli(1) lacks the synopsis '$form'"
done
echo "manual pages render cleanly and list every command"
