# shellcheck shell=bash
# A private, throwaway PostgreSQL server for the scripts: a fresh cluster in a
# temporary directory, listening on 127.0.0.1 on a free port, with the user
# folian and a generated password.
#
# Sourced by scripts that define say and fail (their messages keep the
# script's own prefix). Usage:
#   pg_find [min_version]        choose the binaries (pg_start does it if needed)
#   pg_start [server option...]  e.g. pg_start -c fsync=off; sets pg_port,
#                                pg_password, pg_bin, pg_data, pg_tmp, pg_log
#   pg_stop                      stops the server and removes its directory;
#                                safe to call twice, meant for the EXIT trap
# Server options are joined with spaces into pg_ctl's -o: no spaces inside one.
# These variables are the interface for the sourcing scripts.
# shellcheck disable=SC2034

pg_version=0
pg_bin=
pg_user=
as_pg=()
pg_tmp=
pg_data=
pg_log=
pg_port=
pg_password=

# The real binaries of the highest installed version, at least min_version.
pg_find() {
    local min=${1:-0} dir v
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
    ((pg_version >= min)) || fail "PostgreSQL $pg_version found, $min or later is needed"
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
}

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

pg_print_log() {
    printf -- '--- PostgreSQL server log ---\n' >&2
    cat "$pg_log" >&2 2>/dev/null || printf '(no log written)\n' >&2
}

pg_start() {
    [[ -n $pg_bin ]] || pg_find 0

    # A fresh cluster in a temporary directory the server's user owns.
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
    local pwfile=$pg_tmp/password
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

    # Another process may take the port between the choice and the start: retry then.
    local started=0 attempt
    for attempt in 1 2 3 4 5; do
        pg_port=$(free_port)
        rm -f "$pg_log"
        if (cd "$pg_tmp" && "${as_pg[@]}" "$pg_bin/pg_ctl" -w -t 60 -D "$pg_data" -l "$pg_log" \
            -o "-c listen_addresses=127.0.0.1 -p $pg_port -k '$pg_tmp' $*" \
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
        pg_print_log
        fail "the PostgreSQL server did not start"
    fi
}

# Stops only the server of the cluster that pg_start created, then removes
# its directory.
pg_stop() {
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
    pg_data=
    pg_tmp=
    pg_log=
}
