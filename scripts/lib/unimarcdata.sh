# shellcheck shell=bash
# Where the real UNIMARC files are: FOLIAN_UNIMARC_TESTDATA, else shared/
# beside the checkout (or beside the folder of worktrees). Sourced by scripts
# that define fail and set root.
#   unimarc_file NAME   prints the path of the file NAME, or fails
# root comes from the sourcing script.
# shellcheck disable=SC2154
unimarc_file() {
    local dir
    for dir in "${FOLIAN_UNIMARC_TESTDATA:-}" "$root/../shared/testdata/unimarc" "$root/../../shared/testdata/unimarc"; do
        if [[ -n $dir && -f $dir/$1 ]]; then
            printf '%s\n' "$dir/$1"
            return
        fi
    done
    fail "$1 not found (set FOLIAN_UNIMARC_TESTDATA)"
}
