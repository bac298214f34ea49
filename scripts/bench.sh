#!/usr/bin/env bash
# Runs a benchmark on SQLite and on a private PostgreSQL server that it
# starts and always stops again. Builds the benchmark first.
#   ROWS=200000 scripts/bench.sh          (default 1000000 records)
#   ENGINES=SQLITE scripts/bench.sh       (default "SQLITE POSTGRESQL")
#   BENCH=reports scripts/bench.sh        (the report writer, default 200000
#                                          rows; default BENCH=catalogue)
#   BENCH=readers scripts/bench.sh        (reader import, searches and the desk
#                                          check, default 100000 readers)
#   BENCH=import scripts/bench.sh         (the UNIMARC import of periouni.mrc
#                                          repeated, default 300000 records)
#   BENCH=desk scripts/bench.sh           (one loan and one return through the desk,
#                                          default 1000000 copies, 100000 readers)
#   BENCH=generation scripts/bench.sh     (the printed catalogue and its indexes,
#                                          default 1000000 records)
#   BENCH=search scripts/bench.sh         (the record search: four searches, their
#                                          count and a list, with and without the
#                                          search indexes, default 1000000 records;
#                                          SCAN=no measures with the indexes only)
#   BENCH=acquisitions scripts/bench.sh   (a line saved on an order of 5,000 lines, a
#                                          batch of 1,000 copies, the order search's
#                                          first page, a commitment and an invoice saved on
#                                          a chapter of 10,000 commitments and transfers,
#                                          default 1000000 records)
#   BENCH=statistics scripts/bench.sh     (every statistic at limits 10 and 100,000, the
#                                          period statistics over a year, a chart of
#                                          100,000 bars; default 1000000 records with
#                                          200,000 readers, a journal of 5,000,000
#                                          operations and 500,000 order lines)
#   BENCH=opac scripts/bench.sh           (the public catalogue server: a selective and a
#                                          broad search and record pages, 8 clients at
#                                          once, requests per second, median and 95th
#                                          percentile; default 1000000 records;
#                                          CLIENTS=n, REQUESTS=n per client)
#   BENCH=inventory scripts/bench.sh      (a campaign over half the copies, a scanner's
#                                          file of as many numbers, 1% unknown, the
#                                          toggle, the register page of 100,000 rows and
#                                          of the selection, default 1000000 copies)
#   BENCH=backup scripts/bench.sh         (a backup while nothing writes and its restore
#                                          into an empty database, default 1000000 records)
# The build directory is build/ unless FOLIAN_BUILD_DIR names another.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}
name=${BENCH:-catalogue}
case $name in
catalogue) rows=${ROWS:-1000000} ;;
reports) rows=${ROWS:-200000} ;;
readers) rows=${ROWS:-100000} ;;
import) rows=${ROWS:-300000} ;;
desk) rows=${ROWS:-1000000} ;;
generation) rows=${ROWS:-1000000} ;;
search) rows=${ROWS:-1000000} ;;
acquisitions) rows=${ROWS:-1000000} ;;
statistics) rows=${ROWS:-1000000} ;;
inventory) rows=${ROWS:-1000000} ;;
backup) rows=${ROWS:-1000000} ;;
opac) rows=${ROWS:-1000000} ;;
*) printf 'bench: unknown BENCH "%s" (catalogue, reports, readers, import, desk, generation, search, acquisitions, statistics, inventory, backup or opac)\n' "$name" >&2; exit 1 ;;
esac
engines=${ENGINES:-SQLITE POSTGRESQL}

say() { printf 'bench: %s\n' "$*"; }
fail() {
    printf 'bench: %s\n' "$*" >&2
    exit 1
}

[[ $rows =~ ^[1-9][0-9]*$ ]] || fail "ROWS must be a positive number, not '$rows'"

# The import reads the real file periouni.mrc, from shared/ beside the checkout
# unless FOLIAN_UNIMARC_TESTDATA names its folder.
bench_args=(--rows "$rows")
if [[ $name == import ]]; then
    # shellcheck source-path=SCRIPTDIR source=lib/unimarcdata.sh
    source "$root/scripts/lib/unimarcdata.sh"
    source_file=$(unimarc_file periouni.mrc)
    bench_args=(--records "$rows" --source "$source_file")
fi
if [[ $name == opac ]]; then
    bench_args+=(--clients "${CLIENTS:-8}" --requests "${REQUESTS:-40}")
fi
if [[ $name == search && ${SCAN:-yes} == no ]]; then
    bench_args+=(--no-scan)
fi
if [[ ($name == search || $name == statistics) && -n ${REPEATS:-} ]]; then
    bench_args+=(--repeats "$REPEATS")
fi

if [[ ! -f $build_dir/build.ninja && ! -f $build_dir/Makefile ]]; then
    say "configuring $build_dir/"
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
say "building bench_$name"
cmake --build "$build_dir" -j2 --target "bench_$name" >/dev/null
bench=$build_dir/bin/bench_$name
[[ -x $bench ]] || fail "$bench was not built"

pg_wanted=0
for engine in $engines; do
    case $engine in
    SQLITE) ;;
    POSTGRESQL) pg_wanted=1 ;;
    *) fail "unknown engine '$engine' (SQLITE or POSTGRESQL)" ;;
    esac
done

# shellcheck source-path=SCRIPTDIR source=lib/pgserver.sh
source "$root/scripts/lib/pgserver.sh"

# Called from the traps below.
# shellcheck disable=SC2317
cleanup() {
    local rc=$?
    set +e
    trap - EXIT INT TERM
    pg_stop
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A throwaway cluster as the test script makes one. Unlike the test server it
# keeps the durable defaults (fsync, synchronous commit), so that the time of a
# posted record includes its commit.
if ((pg_wanted)); then
    pg_start -c max_wal_size=4GB
    say "PostgreSQL $pg_version listening on 127.0.0.1:$pg_port (user folian)"
fi

status=0
for engine in $engines; do
    say "$engine, $rows rows"
    if [[ $engine == POSTGRESQL ]]; then
        FOLIAN_BENCH_PG_HOST=127.0.0.1 FOLIAN_BENCH_PG_PORT=$pg_port FOLIAN_BENCH_PG_USER=folian \
            FOLIAN_BENCH_PG_PASSWORD=$pg_password "$bench" --engine POSTGRESQL "${bench_args[@]}" || status=$?
    else
        "$bench" --engine SQLITE "${bench_args[@]}" || status=$?
    fi
done
exit "$status"
