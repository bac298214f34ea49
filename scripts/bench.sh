#!/usr/bin/env bash
# Runs the catalogue benchmark on SQLite and on a private PostgreSQL server
# that it starts and always stops again. Builds the benchmark first.
#   ROWS=200000 scripts/bench.sh          (default 1000000 records)
#   ENGINES=SQLITE scripts/bench.sh       (default "SQLITE POSTGRESQL")
# The build directory is build/ unless FOLIAN_BUILD_DIR names another.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}
rows=${ROWS:-1000000}
engines=${ENGINES:-SQLITE POSTGRESQL}

say() { printf 'bench: %s\n' "$*"; }
fail() {
    printf 'bench: %s\n' "$*" >&2
    exit 1
}

[[ $rows =~ ^[1-9][0-9]*$ ]] || fail "ROWS must be a positive number, not '$rows'"

if [[ ! -f $build_dir/build.ninja && ! -f $build_dir/Makefile ]]; then
    say "configuring $build_dir/"
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
say "building bench_catalogue"
cmake --build "$build_dir" -j2 --target bench_catalogue >/dev/null
bench=$build_dir/bin/bench_catalogue
[[ -x $bench ]] || fail "$bench was not built"

pg_wanted=0
for engine in $engines; do
    case $engine in
    SQLITE) ;;
    POSTGRESQL) pg_wanted=1 ;;
    *) fail "unknown engine '$engine' (SQLITE or POSTGRESQL)" ;;
    esac
done

pg_tmp=
pg_data=
pg_bin=
as_pg=()
# Called from the traps below.
# shellcheck disable=SC2317
cleanup() {
    local rc=$?
    set +e
    trap - EXIT INT TERM
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

# A throwaway cluster in a temporary directory, as the test script makes one.
# Unlike the test server it keeps the durable defaults (fsync, synchronous
# commit), so that the time of a posted record includes its commit.
start_postgres() {
    local pg_version=0 dir v pg_user
    for dir in /usr/lib/postgresql/*/bin; do
        v=${dir#/usr/lib/postgresql/}
        v=${v%/bin}
        [[ $v =~ ^[0-9]+$ && -x $dir/initdb && -x $dir/pg_ctl ]] || continue
        if ((v > pg_version)); then
            pg_version=$v
        fi
    done
    ((pg_version > 0)) || fail "no PostgreSQL server under /usr/lib/postgresql (run scripts/setup.sh)"
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

    pg_tmp=$(mktemp -d "${TMPDIR:-/tmp}/folian-pg.XXXXXX")
    if [[ $pg_user != "$(id -un)" ]]; then
        chown "$pg_user" "$pg_tmp"
        if ! "${as_pg[@]}" test -w "$pg_tmp"; then
            rm -rf "$pg_tmp"
            pg_tmp=$(mktemp -d /tmp/folian-pg.XXXXXX)
            chown "$pg_user" "$pg_tmp"
        fi
    fi
    chmod 700 "$pg_tmp"
    pg_data=$pg_tmp/data
    local pg_log=$pg_tmp/server.log pwfile=$pg_tmp/password
    pg_password=$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')
    (umask 077 && printf '%s\n' "$pg_password" >"$pwfile")
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

    local started=0 attempt
    for attempt in 1 2 3 4 5; do
        pg_port=$(free_port)
        rm -f "$pg_log"
        if (cd "$pg_tmp" && "${as_pg[@]}" "$pg_bin/pg_ctl" -w -t 60 -D "$pg_data" -l "$pg_log" \
            -o "-c listen_addresses=127.0.0.1 -p $pg_port -k '$pg_tmp' -c max_wal_size=4GB" \
            start) >/dev/null 2>&1; then
            started=1
            break
        fi
        if grep -q -e 'could not bind' -e 'Address already in use' "$pg_log" 2>/dev/null; then
            say "port $pg_port is taken (attempt $attempt), trying another"
            continue
        fi
        break
    done
    if ((!started)); then
        printf -- '--- PostgreSQL server log ---\n' >&2
        cat "$pg_log" >&2 2>/dev/null || printf '(no log written)\n' >&2
        fail "the PostgreSQL server did not start"
    fi
    say "PostgreSQL $pg_version listening on 127.0.0.1:$pg_port (user folian)"
}

if ((pg_wanted)); then
    start_postgres
fi

status=0
for engine in $engines; do
    say "$engine, $rows records"
    if [[ $engine == POSTGRESQL ]]; then
        FOLIAN_BENCH_PG_HOST=127.0.0.1 FOLIAN_BENCH_PG_PORT=$pg_port FOLIAN_BENCH_PG_USER=folian \
            FOLIAN_BENCH_PG_PASSWORD=$pg_password "$bench" --engine POSTGRESQL --rows "$rows" || status=$?
    else
        "$bench" --engine SQLITE --rows "$rows" || status=$?
    fi
done
exit "$status"
