#!/usr/bin/env bash
# quorvane-cli's bash completion, made by the build: each case is a command
# line whose last word is being completed, and the words offered for it.
set -euo pipefail
build_dir="$1"
cli="$build_dir/src/cli/quorvane-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# An auction in a folder whose name has a blank, with a table of your own
# whose name has a quote; beside the round files, a file that is not one.
"$cli" sample "$work/rounds" --auction 3 --rounds 2 --licenses 6 --bidders 3 >/dev/null
"$cli" --app-dir "$work/my app" --yes batch "$work/rounds/03_001.zip" >/dev/null 2>&1
db="$work/my app/Auction3.mdb"
"$cli" query "$db" add "Bob's" --select "[Bidder]" --into "[Bob's Bids]" --from "[Bidders]" >/dev/null
"$cli" query "$db" run "Bob's" >/dev/null
touch "$work/rounds/notes.txt"
escaped_db="${db// /\\ }"

# shellcheck source=/dev/null
source "$build_dir/src/usage/generated/quorvane-cli"
complete -p quorvane-cli | grep -q -- "-F _quorvane_cli" || fail "the completion is not registered"

# Completes the last of the words given and prints the words offered,
# sorted, one line.
offered() {
  COMP_WORDS=("$cli" "$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _quorvane_cli quorvane-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd, -
}

tables="$("$cli" tables "$db" | sort | paste -sd, -)"
[[ "$tables" == *"All Bids"* && "$tables" == *"Bob's Bids"* ]] || fail "tables lists $tables"

check() {
  local expected="$1"
  shift
  local got
  got="$(offered "$@")"
  [ "$got" = "$expected" ] || fail "[$*] offered '$got', not '$expected'"
}
check "standings"                      st
check "tables"                         --yes ta
check "export"                         --app-dir "$work" --yes exp
check "--app-dir"                      --app
check "--filter,--format"              export --f
check "--output"                       print --o
check "--help"                         compact --h
check "csv,json,tsv"                   show --format ""
check "bidder,changes,licence,market"  standings "$db" --by ""
check "bidders,markets,rounds"         pivot "$db" ""
check "add,delete,list,run"            query "$db" ""
check "$tables"                        show "$escaped_db" ""
check "$tables"                        export "\"$db\"" --sort "[Bidder]" -o out.txt ""
check "All Bids"                       show "$escaped_db" 'All\ B'
check "Bob's Bids"                     drop "$escaped_db" '"Bob'
check ""                               export "$escaped_db" "All Bids" ""
check ""                               show "$work/missing.mdb" ""
check "$work/rounds/03_001.zip,$work/rounds/03_002.zip" import "$escaped_db" "$work/rounds/"
check "$work/my app/Auction3.mdb"      summary "$work/my app/"
check "$work/my app,$work/rounds"      watch "$escaped_db" --folder "$work/"
check "$work/rounds"                   --app-dir "$work/r"
echo "completion offers commands, options, values and tables"
