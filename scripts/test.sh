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

# --- PostgreSQL binaries: the real ones of the highest installed version ----
pg_version=0
for dir in /usr/lib/postgresql/*/bin; do
    v=${dir#/usr/lib/postgresql/}
    v=${v%/bin}
    [[ $v =~ ^[0-9]+$ && -x $dir/initdb && -x $dir/pg_ctl ]] || continue
    if ((v > pg_version)); then
        pg_version=$v
    fi
done
((pg_version > 0)) || fail "no PostgreSQL server under /usr/lib/postgresql (run scripts/setup.sh)"
((pg_version >= 15)) || fail "PostgreSQL $pg_version found, 15 or later is needed"
pg_bin=/usr/lib/postgresql/$pg_version/bin

# initdb refuses to run as root: the server then runs as the system user postgres.
if ((EUID == 0)); then
    getent passwd postgres >/dev/null || fail "no system user postgres to run the server as"
    pg_user=postgres
    as_pg=(runuser -u postgres --)
else
    pg_user=$(id -un)
    as_pg=()
fi

pg_tmp=
pg_data=
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
    if [[ -n $pg_data && -f $pg_data/postmaster.pid ]]; then
        local pid
        pid=$(head -n 1 "$pg_data/postmaster.pid")
        (cd "$pg_tmp" && "${as_pg[@]}" "$pg_bin/pg_ctl" -D "$pg_data" -m fast -w -t 30 stop) >/dev/null 2>&1 ||
            (cd "$pg_tmp" && "${as_pg[@]}" "$pg_bin/pg_ctl" -D "$pg_data" -m immediate -w -t 30 stop) >/dev/null 2>&1 ||
            kill -KILL "$pid" 2>/dev/null
        say "PostgreSQL stopped"
    fi
    if [[ -n $pg_tmp ]]; then
        rm -rf "$pg_tmp"
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- a fresh cluster in a temporary directory the server's user owns --------
pg_tmp=$(mktemp -d "${TMPDIR:-/tmp}/folian-pg.XXXXXX")
if [[ $pg_user != "$(id -un)" ]]; then
    chown "$pg_user" "$pg_tmp"
    if ! "${as_pg[@]}" test -w "$pg_tmp"; then
        # $TMPDIR is not reachable by that user: fall back on /tmp.
        rm -rf "$pg_tmp"
        pg_tmp=$(mktemp -d /tmp/folian-pg.XXXXXX)
        chown "$pg_user" "$pg_tmp"
    fi
fi
chmod 700 "$pg_tmp"
pg_data=$pg_tmp/data
pg_log=$pg_tmp/server.log
pwfile=$pg_tmp/password

password=$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')
(umask 077 && printf '%s\n' "$password" >"$pwfile")
if [[ $pg_user != "$(id -un)" ]]; then
    chown "$pg_user" "$pwfile"
fi

say "initialising a PostgreSQL $pg_version cluster in $pg_data (as $pg_user)"
if ! (cd "$pg_tmp" && "${as_pg[@]}" "$pg_bin/initdb" -D "$pg_data" \
    --encoding=UTF8 --locale=C.UTF-8 -U folian \
    --auth-local=trust --auth-host=scram-sha-256 --pwfile="$pwfile") >"$pg_tmp/initdb.log" 2>&1; then
    cat "$pg_tmp/initdb.log" >&2
    fail "initdb failed"
fi
rm -f "$pwfile"

port_in_use() {
    if command -v ss >/dev/null 2>&1; then
        [[ -n $(ss -Htln "sport = :$1") ]]
    else
        (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
    fi
}

free_port() {
    if python3 -c 'import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])' 2>/dev/null; then
        return
    fi
    local p i
    for ((i = 0; i < 100; i++)); do
        p=$((20000 + RANDOM % 40000))
        if ! port_in_use "$p"; then
            echo "$p"
            return
        fi
    done
    fail "no free TCP port found on 127.0.0.1"
}

# Another process may take the port between the choice and the start: retry then.
started=0
for attempt in 1 2 3 4 5; do
    port=$(free_port)
    rm -f "$pg_log"
    if (cd "$pg_tmp" && "${as_pg[@]}" "$pg_bin/pg_ctl" -w -t 60 -D "$pg_data" -l "$pg_log" \
        -o "-c listen_addresses=127.0.0.1 -p $port -k '$pg_tmp' -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        start) >/dev/null 2>&1; then
        started=1
        break
    fi
    if grep -q -e 'could not bind' -e 'Address already in use' "$pg_log" 2>/dev/null; then
        say "port $port is taken (attempt $attempt), trying another"
        continue
    fi
    break
done
if ((!started)); then
    printf -- '--- PostgreSQL server log ---\n' >&2
    cat "$pg_log" >&2 2>/dev/null || printf '(no log written)\n' >&2
    fail "the PostgreSQL server did not start"
fi

export FOLIAN_TEST_PG=1
export FOLIAN_TEST_PG_HOST=127.0.0.1
export FOLIAN_TEST_PG_PORT=$port
export FOLIAN_TEST_PG_USER=folian
export FOLIAN_TEST_PG_PASSWORD=$password

# Prove that the tests can log in the way they will, before running them.
if ! PGPASSWORD=$password PGCONNECT_TIMEOUT=10 "$pg_bin/psql" -X -q -A -t -h 127.0.0.1 -p "$port" \
    -U folian -d postgres -c 'select 1' >/dev/null; then
    printf -- '--- PostgreSQL server log ---\n' >&2
    cat "$pg_log" >&2
    fail "cannot connect to the PostgreSQL server on 127.0.0.1:$port"
fi
say "PostgreSQL $pg_version listening on 127.0.0.1:$port (user folian)"

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
