#!/usr/bin/env bash
# Runs every test. Builds first (skip with --no-setup), starts a private
# PostgreSQL server for the database tests, runs ctest and always stops the
# server again. Any other argument goes to ctest, e.g. scripts/test.sh -R datasets
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}

say() { printf 'test: %s\n' "$*"; }
fail() {
    printf 'test: %s\n' "$*" >&2
    exit 1
}

run_setup=1
ctest_args=()
for arg in "$@"; do
    if [[ $arg == --no-setup ]]; then
        run_setup=0
    else
        ctest_args+=("$arg")
    fi
done

if ((run_setup)); then
    bash scripts/setup.sh
fi
[[ -d $build_dir ]] || fail "no $build_dir/ directory: run without --no-setup first"

# shellcheck source-path=SCRIPTDIR source=lib/pgserver.sh
source "$root/scripts/lib/pgserver.sh"
pg_find 15

ctest_pid=
# Called from the traps below.
# shellcheck disable=SC2317
cleanup() {
    local rc=$?
    set +e
    trap - EXIT INT TERM
    if [[ -n $ctest_pid ]] && kill -0 "$ctest_pid" 2>/dev/null; then
        kill -TERM -- "-$ctest_pid" 2>/dev/null || kill -TERM "$ctest_pid"
        wait "$ctest_pid"
        say "tests interrupted"
    fi
    pg_stop
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Speed over durability: the cluster is thrown away after the run.
pg_start -c fsync=off -c synchronous_commit=off -c full_page_writes=off

export FOLIAN_TEST_PG=1
export FOLIAN_TEST_PG_HOST=127.0.0.1
export FOLIAN_TEST_PG_PORT=$pg_port
export FOLIAN_TEST_PG_USER=folian
export FOLIAN_TEST_PG_PASSWORD=$pg_password

# Prove that the tests can log in the way they will, before running them.
if ! PGPASSWORD=$pg_password PGCONNECT_TIMEOUT=10 "$pg_bin/psql" -X -q -A -t -h 127.0.0.1 -p "$pg_port" \
    -U folian -d postgres -c 'select 1' >/dev/null; then
    pg_print_log
    fail "cannot connect to the PostgreSQL server on 127.0.0.1:$pg_port"
fi
say "PostgreSQL $pg_version listening on 127.0.0.1:$pg_port (user folian)"

# Widget tests need no display.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# ctest runs in a session of its own, waited for in the background, so that an
# interruption is handled at once and takes the running tests down with it.
status=0
setsid -w ctest --test-dir "$build_dir" --output-on-failure --no-tests=error -j2 "${ctest_args[@]}" &
ctest_pid=$!
wait "$ctest_pid" || status=$?
ctest_pid=
say "ctest finished with status $status"
exit "$status"
