#!/usr/bin/env bash
# Whole processes side by side: quorvane-cli against the sqlite3 shell doing
# the same work, runs alternated, medians printed (wall seconds, CPU seconds,
# peak resident KiB). The short runs (re-import, show) are timed 20 in a row.
#   bench/cli_vs_shell.sh CLI ROUNDS AUCTION [RUNS]
# CLI: the quorvane-cli to time; ROUNDS: a folder of round results files made
# by `quorvane-cli sample ROUNDS --auction 7 --rounds 250 --licenses 1500
# --bidders 150`; AUCTION: that auction batch-imported (Auction7.mdb). Neither
# is changed: the work happens on copies in a folder of its own.
# The import floors come twice: copying alone, and "+checks" making first the
# checks an import makes of each round database (integrity, numbers, rounds).
set -euo pipefail
cli=$(realpath "$1"); rounds=$(realpath "$2"); auction=$(realpath "$3"); runs=${4:-5}
work=$(mktemp -d); [ -n "${KEEP_WORK:-}" ] || trap 'rm -rf "$work"' EXIT
prefix=$(basename "$(ls "$rounds"/*_001.zip | head -1)" _001.zip)
last=$(ls "$rounds"/"$prefix"_*.zip | wc -l)
tables=$(sqlite3 -readonly "$auction" "SELECT TableName FROM sysSuppliedTables ORDER BY rowid")
indexes=$(sqlite3 -readonly "$auction" "SELECT sql || ';' FROM sqlite_master WHERE type = 'index' AND name LIKE 'qv_round:%'")

# The numeric columns (and [Round]) of each supplied table: "table<TAB>column".
numeric=$(sqlite3 -readonly -separator $'\t' "$auction" "SELECT m.name, p.name FROM sqlite_master AS m
    JOIN pragma_table_info(m.name) AS p WHERE m.name IN (SELECT TableName FROM sysSuppliedTables)
    AND (p.name = 'Round' OR upper(p.type) IN ('LONG', 'DOUBLE', 'CURRENCY')) ORDER BY m.name, p.cid")

# The checks an import makes of a round database before it copies anything,
# as the shell can make them: its integrity, no text in a numeric column, no
# row of another round.
check_round() { # ROUND
    echo "PRAGMA r.quick_check(1);"
    while IFS= read -r t; do
        local texts
        texts=$(awk -F'\t' -v t="$t" '$1 == t { printf "%stypeof(\"%s\") = '"'"'text'"'"'", n++ ? " OR " : "", $2 }' <<<"$numeric")
        [ -n "$texts" ] && echo "SELECT 1 FROM r.\"$t\" WHERE $texts LIMIT 1;"
        [ "$t" = "Withdrawal Statistics" ] || echo "SELECT 1 FROM r.\"$t\" WHERE Round IS NULL OR Round <> $1 LIMIT 1;"
    done <<<"$tables"
}

# Unzip inside the shell, attach, copy every supplied table in one transaction;
# with CHECKED=1, after the checks.
copy_round() { # ROUND DELETE_OLD [CHECKED]
    local r=$1 zip member
    zip=$(printf '%s/%s_%03d.zip' "$rounds" "$prefix" "$r"); member=$(basename "$zip" .zip).mdb
    echo "SELECT writefile('$work/round.mdb', data) FROM zipfile('$zip') WHERE name = '$member';"
    echo "ATTACH '$work/round.mdb' AS r;"
    [ "${3:-0}" = 1 ] && check_round "$r"
    echo "BEGIN;"
    while IFS= read -r t; do
        if [ "$t" = "Withdrawal Statistics" ]; then echo "DELETE FROM main.\"$t\";"
        elif [ "$2" = 1 ]; then echo "DELETE FROM main.\"$t\" WHERE Round = $r;"; fi
        echo "INSERT INTO main.\"$t\" SELECT * FROM r.\"$t\";"
    done <<<"$tables"
    echo "DELETE FROM sysRounds WHERE Round = $r; INSERT INTO sysRounds (Round) VALUES ($r); COMMIT; DETACH r;"
}

for checked in 0 1; do
    { echo "$indexes"; echo "CREATE TABLE sysRounds (Round); INSERT INTO sysRounds VALUES (1);"
      for r in $(seq 2 "$last"); do copy_round "$r" 0 "$checked"; done; } >"$work/batch$checked.sql"
    copy_round "$last" 1 "$checked" >"$work/reimport$checked.sql"
done
unzip -p "$rounds/${prefix}_001.zip" >"$work/first.mdb"

measure() { # N COMMAND...: prints "wall cpu kib" of one run, the mean of N in a row
    local n=$1; shift
    sync
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" \
        bash -c 'n=$1; shift; for ((i = 0; i < n; i++)); do "$@" >/dev/null || exit 1; done' - "$n" "$@" \
        2>"$work/err" || { cat "$work/err" >&2; exit 1; }
    awk -v n="$n" '{ printf "%.4f %.4f %s\n", $1 / n, ($2 + $3) / n, $4 }' "$work/time"
}
median() { sort -n | awk '{ v[NR] = $0 } END { print v[int((NR + 1) / 2)] }'; }

declare -A results
add() { results[$1]+="$2"$'\n'; }
for i in $(seq "$runs"); do
    rm -rf "$work/app"; mkdir "$work/app"
    add batch "$(measure 1 "$cli" --app-dir "$work/app" --yes batch "$rounds/${prefix}_001.zip")"
    cp "$work/first.mdb" "$work/floor.db"
    add batch-floor "$(measure 1 sqlite3 -bail "$work/floor.db" ".read $work/batch0.sql")"
    cp "$work/first.mdb" "$work/floor.db"
    add batch-floor+checks "$(measure 1 sqlite3 -bail "$work/floor.db" ".read $work/batch1.sql")"
    cp "$auction" "$work/app/a.mdb"
    add reimport "$(measure 20 "$cli" --app-dir "$work/app" --yes import "$work/app/a.mdb" "$(printf '%s/%s_%03d.zip' "$rounds" "$prefix" "$last")")"
    cp "$auction" "$work/floor.db"
    add reimport-floor "$(measure 20 sqlite3 -bail "$work/floor.db" ".read $work/reimport0.sql")"
    cp "$auction" "$work/floor.db"
    add reimport-floor+checks "$(measure 20 sqlite3 -bail "$work/floor.db" ".read $work/reimport1.sql")"
    add show "$(measure 20 "$cli" show "$auction" "All Bids" 125)"
    add show-floor "$(measure 20 sqlite3 -readonly "$auction" 'SELECT * FROM "All Bids" WHERE Round = 125 ORDER BY Market, Block, Submarket')"
    add markets "$(measure 1 "$cli" sql "$auction" "SELECT * FROM [Markets]")"
    add markets-floor "$(measure 1 sqlite3 -readonly "$auction" 'SELECT * FROM Markets')"
done
for k in batch batch-floor batch-floor+checks reimport reimport-floor reimport-floor+checks show show-floor markets markets-floor; do
    printf '%-22s wall %s s  cpu %s s  peak %s KiB\n' "$k" \
        "$(printf '%s' "${results[$k]}" | awk '{print $1}' | median)" \
        "$(printf '%s' "${results[$k]}" | awk '{print $2}' | median)" \
        "$(printf '%s' "${results[$k]}" | awk '{print $3}' | median)"
done
