#!/usr/bin/env bash
# Benchmark of the UNIMARC core on a big file made at run time from
# periouni.mrc (3,064 records) repeated: `folianctl dump` against
# `yaz-marcdump` on the same file in the same run (wall time, output to
# /dev/null), the peak memory of the dump at about 100,000 and 300,000
# records, and the parse into the record model (bench_unimarc).
#   RECORDS=300000 scripts/bench-unimarc.sh
# The build directory is build/ unless FOLIAN_BUILD_DIR names another; the
# real files are looked for in shared/ beside the checkout unless
# FOLIAN_UNIMARC_TESTDATA names their folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_BUILD_DIR:-build}
records=${RECORDS:-300000}

say() { printf 'bench: %s\n' "$*"; }
fail() {
    printf 'bench: %s\n' "$*" >&2
    exit 1
}

[[ $records =~ ^[1-9][0-9]*$ ]] || fail "RECORDS must be a positive number, not '$records'"
# shellcheck source-path=SCRIPTDIR source=lib/unimarcdata.sh
source "$root/scripts/lib/unimarcdata.sh"
source_file=$(unimarc_file periouni.mrc)

missing=()
command -v yaz-marcdump >/dev/null 2>&1 || missing+=(yaz)
[[ -x /usr/bin/time ]] || missing+=(time)
if ((${#missing[@]})); then
    if ((EUID == 0)); then as_root=(); else as_root=(sudo); fi
    say "installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

if [[ ! -f $build_dir/build.ninja && ! -f $build_dir/Makefile ]]; then
    say "configuring $build_dir/"
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
say "building folianctl and bench_unimarc"
cmake --build "$build_dir" -j2 --target folianctl bench_unimarc >/dev/null
folianctl=$build_dir/bin/folianctl

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
per_copy=3064
make_file() { # $1 file, $2 wanted records
    local copies=$((($2 + per_copy - 1) / per_copy))
    for ((i = 0; i < copies; i++)); do cat "$source_file"; done >"$1"
    echo $((copies * per_copy))
}
big=$work/big.mrc
n_big=$(make_file "$big" "$records")
small=$work/small.mrc
n_small=$(make_file "$small" $((records / 3)))
say "files: $n_big records ($(du -m "$big" | cut -f1) MB) and $n_small records ($(du -m "$small" | cut -f1) MB)"

seconds() { # runs the command, prints its wall time in seconds
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.2f", ns / 1e9 }'
}
peak_kib() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1; }

cat "$big" >/dev/null  # both read it from the page cache
ours=()
theirs=()
for round in 1 2 3; do
    ours+=("$(seconds "$folianctl" dump "$big")")
    theirs+=("$(seconds yaz-marcdump "$big")")
    say "round $round: folianctl dump ${ours[-1]} s, yaz-marcdump ${theirs[-1]} s"
done
best() { printf '%s\n' "$@" | sort -n | head -1; }
b_ours=$(best "${ours[@]}")
b_theirs=$(best "${theirs[@]}")
say "best of 3 on $n_big records: folianctl dump $b_ours s, yaz-marcdump $b_theirs s, ratio $(awk -v a="$b_theirs" -v b="$b_ours" 'BEGIN { printf "%.2f", a / b }')x (yaz time / ours)"
say "peak memory of folianctl dump: $(peak_kib "$folianctl" dump "$small") KiB at $n_small records, $(peak_kib "$folianctl" dump "$big") KiB at $n_big records"
say "$("$build_dir/bin/bench_unimarc" "$small")"
say "$("$build_dir/bin/bench_unimarc" "$big")"
