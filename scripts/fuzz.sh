#!/usr/bin/env bash
# Builds the libFuzzer target of the UNIMARC core with clang and
# -fsanitize=fuzzer,address,undefined into build-fuzz/ (or $FOLIAN_FUZZ_BUILD_DIR)
# and runs it for a fixed time. Installs clang and its runtime when missing.
#   FUZZ_SECONDS=600 scripts/fuzz.sh       (default 300 seconds)
# The seed corpus is made at run time from the real files in shared/ when they
# are there, and from records the fuzz target's own reader accepts; findings
# (crash-*, leak-*, timeout-*) are left in the build directory's fuzz-out/.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_dir=${FOLIAN_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-300}

say() { printf 'fuzz: %s\n' "$*"; }
fail() {
    printf 'fuzz: %s\n' "$*" >&2
    exit 1
}

[[ $seconds =~ ^[1-9][0-9]*$ ]] || fail "FUZZ_SECONDS must be a positive number, not '$seconds'"

missing=()
command -v clang++ >/dev/null 2>&1 || missing+=(clang)
compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || missing+=(libclang-rt-14-dev)
if ((${#missing[@]})); then
    if ((EUID == 0)); then as_root=(); else as_root=(sudo); fi
    say "installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

if [[ ! -f $build_dir/CMakeCache.txt ]]; then
    say "configuring $build_dir/"
    CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLIAN_FUZZ=ON >/dev/null
fi
say "building fuzz_unimarc"
cmake --build "$build_dir" -j2 --target fuzz_unimarc >/dev/null
fuzzer=$build_dir/bin/fuzz_unimarc

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
# Seeds: each record of the real files on its own, and a few whole files cut short.
testdata=${FOLIAN_UNIMARC_TESTDATA:-}
for candidate in "$testdata" "$root/../shared/testdata/unimarc" "$root/../../shared/testdata/unimarc"; do
    if [[ -n $candidate && -d $candidate ]]; then
        testdata=$candidate
        break
    fi
done
if [[ -d $testdata ]]; then
    n=0
    for f in "$testdata"/*.mrc "$testdata"/*.dat; do
        [[ -f $f ]] || continue
        head -c 12000 "$f" >"$corpus/head-$(basename "$f")"
        # Records end with 0x1D; keep the first 200 of each file as seeds.
        while IFS= read -r -d $'\x1d' rec && ((n < 400)); do
            printf '%s\x1d' "$rec" >"$corpus/rec-$n"
            n=$((n + 1))
        done <"$f"
    done
    say "seed corpus: $(find "$corpus" -type f | wc -l) inputs from $testdata"
else
    printf '00046nam  2200037   450 200001000000\x1e1 \x1faTitre\x1e\x1d' >"$corpus/minimal"
    say "no real files found; one hand-made seed"
fi

out=$build_dir/fuzz-out
mkdir -p "$out"
say "running for $seconds s"
status=0
(cd "$out" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$root/$fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus") || status=$?
if ((status != 0)); then
    say "the fuzzer found a fault (status $status); see $out/"
    exit "$status"
fi
say "no finding"
