#!/usr/bin/env bash
# Builds Folian, prepares a demonstration catalogue in demo/ (once) and starts
# the program on it. Extra arguments go to the program.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}

say() { printf 'demo: %s\n' "$*"; }

bash scripts/setup.sh

demo_dir=demo
ini=$demo_dir/Folian.ini
db=$demo_dir/Folian.db
mkdir -p "$demo_dir"

if [[ -e $ini ]]; then
    say "using existing $ini"
else
    say "writing $ini"
    cat >"$ini" <<'INI'
[Application]
Engine=SQLITE
Catalog=Folian.db
Login=1
Language=FR
Mode=0

[OPAC]
Directory=
INI
    if [[ -e $db ]]; then
        say "keeping existing $db"
    else
        say "creating the demonstration database $db"
        # The demonstration's logins are documented: every password is the login.
        if ! printf 'admin\n' | "$build_dir/bin/folianctl" --ini "$ini" init-db --admin-password-stdin ||
            ! "$build_dir/bin/folianctl" --ini "$ini" demo-db; then
            # Leave nothing half made, so that the next run starts over.
            rm -f "$ini" "$db"
            say "could not create the demonstration database" >&2
            exit 1
        fi
    fi
fi

# A UNIMARC file of the demonstration records, to try the import with: every
# record of it is found duplicate, and can be integrated from the log.
notices=$demo_dir/notices.txt
if [[ ! -e $notices ]] && "$build_dir/bin/folianctl" --ini "$ini" export "$notices" --all >/dev/null; then
    say "wrote $notices (UNIMARC) for the import"
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    say "no display found: running under xvfb-run -a (the window is not visible)"
    exec xvfb-run -a "$build_dir/bin/folian" --ini "$ini" "$@"
fi
say "starting $build_dir/bin/folian --ini $ini"
exec "$build_dir/bin/folian" --ini "$ini" "$@"
