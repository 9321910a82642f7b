#!/usr/bin/env bash
# Completes mirado-player's command lines the way bash-completion does and checks what is offered.
# Usage: bash-completion-test.sh COMPLETION-FILE
set -u
source /usr/share/bash-completion/bash_completion || { echo "bash-completion is missing"; exit 1; }
source "$1"
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
touch -- clip.mp4 -odd.mkv
mkdir folder

failures=0
# expect "WORDS OF THE LINE" "EXPECTED OFFERS, sorted, space-separated"
expect() {
    read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _mirado_player mirado-player "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    got=${got% }
    if [[ $got != "$2" ]]; then
        echo "FAIL: '$1' offered '$got', expected '$2'"
        failures=$((failures + 1))
    fi
}

expect "mirado-player --" "-- --help --version"
expect "mirado-player --v" "--version"
expect "mirado-player -" "-- --help --version -h"
expect "mirado-player cl" "clip.mp4"
expect "mirado-player " "-odd.mkv clip.mp4 folder"
expect "mirado-player fo" "folder"
# After "--" a word that begins with "-" is a file.
expect "mirado-player -- -" "-odd.mkv"
expect "mirado-player clip.mp4 -- -o" "-odd.mkv"

[[ $failures -eq 0 ]] && echo "all completions as expected"
exit $((failures > 0))
