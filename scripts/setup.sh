#!/usr/bin/env bash
# Installs every Debian 12 package Folian needs (only the missing ones), then
# configures and builds the project into build/ (or $FOLIAN_BUILD_DIR).
# Safe to run again: nothing is installed or configured twice.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}

packages=(
    cmake ninja-build ccache g++ pkg-config
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-charts-dev
    libsodium-dev libsqlite3-dev libpq-dev sqlite3 libicu-dev
    postgresql
    xvfb xauth fonts-noto-core fonts-hosny-amiri imagemagick
    libgl1-mesa-dev
    yaz libyaz-dev libxlsxwriter-dev
    # The public catalogue: its server (Qt HTTP Server needs Qt WebSockets to
    # build against), the embedded view, and the browser its tests drive.
    qt6-httpserver-dev qt6-websockets-dev qt6-webengine-dev chromium
    # The .deb and its checks: dpkg-shlibdeps computes its dependencies; the
    # validators of the desktop entry and the AppStream metadata, man and
    # groff for the manual pages, lintian for the whole package.
    dpkg-dev desktop-file-utils appstream man-db groff-base lintian
)

say() { printf 'setup: %s\n' "$*"; }

# Every installed package name, plus the virtual names those packages provide
# (libqt6charts6-dev, for one, is only provided by qt6-charts-dev).
installed_names() {
    dpkg-query -W -f='${db:Status-Abbrev}|${Package}|${Provides}\n' 2>/dev/null |
        awk -F'|' '$1 ~ /^ii/ {
            print $2
            n = split($3, p, ",")
            for (i = 1; i <= n; i++) { sub(/^ +/, "", p[i]); sub(/ .*/, "", p[i]); if (p[i] != "") print p[i] }
        }'
}

declare -A have=()
while read -r name; do
    have[$name]=1
done < <(installed_names)

missing=()
for pkg in "${packages[@]}"; do
    [[ -n ${have[$pkg]:-} ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
    say "all ${#packages[@]} packages present"
else
    if ((EUID == 0)); then
        as_root=()
    elif command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        say "missing packages (${missing[*]}) and neither root nor sudo available" >&2
        exit 1
    fi
    say "installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

if [[ ! -f CMakeLists.txt ]]; then
    say "no CMakeLists.txt in $root" >&2
    exit 1
fi

if [[ ! -f $build_dir/CMakeCache.txt ]]; then
    say "configuring $build_dir/"
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi

say "building $build_dir/"
cmake --build "$build_dir" -j2
say "done"
