#!/usr/bin/env bash
# Runs every test. Builds first (skip with --no-setup), starts a private
# PostgreSQL server for the database tests, runs ctest and always stops the
# server again. Any other argument goes to ctest, e.g. scripts/test.sh -R datasets
#
# --sanitize also builds a second build directory, build-sanitize/ (or
# $FOLIAN_SANITIZE_BUILD_DIR), with AddressSanitizer and UndefinedBehavior-
# Sanitizer (-DFOLIAN_SANITIZE=ON; optimised, line tables only, no
# benchmarks) and runs the same tests there too, against the same server: a
# read outside an object, a use after its end, a leak or undefined behaviour
# fails the test that made it. The status is the worse of the two runs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}
sanitize_dir=${FOLIAN_SANITIZE_BUILD_DIR:-build-sanitize}

say() { printf 'test: %s\n' "$*"; }
fail() {
    printf 'test: %s\n' "$*" >&2
    exit 1
}

run_setup=1
sanitize=0
ctest_args=()
for arg in "$@"; do
    if [[ $arg == --no-setup ]]; then
        run_setup=0
    elif [[ $arg == --sanitize ]]; then
        sanitize=1
    else
        ctest_args+=("$arg")
    fi
done

if ((run_setup)); then
    bash scripts/setup.sh
fi
[[ -d $build_dir ]] || fail "no $build_dir/ directory: run without --no-setup first"

if ((sanitize)); then
    # Its own compiler flags: -O1 keeps the sanitized tests quick to build
    # and to run, -g1 gives the reports their file and line; a test program
    # may run three times as long as in the plain build.
    say "configuring $sanitize_dir/"
    cmake -S . -B "$sanitize_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLIAN_SANITIZE=ON \
        -DFOLIAN_BENCHMARKS=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DFOLIAN_TEST_TIMEOUT=900 >/dev/null
    say "building $sanitize_dir/"
    cmake --build "$sanitize_dir" -j2
fi

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

# The sanitizers stop at the first fault and say where (a leak at the
# program's end counts too); the Qt and PostgreSQL libraries are not built
# with them, so only this program's code is watched.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lib/lsan.supp:print_suppressions=0}

# ctest runs in a session of its own, waited for in the background, so that an
# interruption is handled at once and takes the running tests down with it.
run_ctest() {
    local dir=$1 rc=0
    setsid -w ctest --test-dir "$dir" --output-on-failure --no-tests=error -j2 "${ctest_args[@]}" &
    ctest_pid=$!
    wait "$ctest_pid" || rc=$?
    ctest_pid=
    say "ctest in $dir/ finished with status $rc"
    return "$rc"
}

status=0
run_ctest "$build_dir" || status=$?
if ((sanitize)); then
    run_ctest "$sanitize_dir" || { rc=$?; ((status)) || status=$rc; }
fi
exit "$status"
