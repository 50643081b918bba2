#!/usr/bin/env bash
# Tab completion of quellmark-cli: each line is split into words the way bash splits it for a
# completion (COMP_WORDBREAKS), handed to the function the script registers, and its answers,
# as readline would insert them, are compared with what the line should offer.
set -uo pipefail
bin=${1:?usage: completion_test.sh BIN_DIR COMPLETION_SCRIPT DEVICE_FILE}
script=${2:?usage: completion_test.sh BIN_DIR COMPLETION_SCRIPT DEVICE_FILE}
testdevices=${3:?usage: completion_test.sh BIN_DIR COMPLETION_SCRIPT DEVICE_FILE}
cli=$(realpath "$bin/quellmark-cli")
testdevices=$(realpath "$testdevices")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUELLMARK_SETTINGS=$work/settings.ini LC_ALL=C

# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion || exit 1
source "$script" || exit 1
read -r _ _ function _ < <(complete -p quellmark-cli) || { echo "nothing completes quellmark-cli"; exit 1; }
# Only valid while readline completes; the answers are what this test looks at.
compopt() { :; }

# Prints the completions of a typed line, sorted, on one line.
completions() {
    local line=$1 breaks=${COMP_WORDBREAKS//[[:space:]]/} word="" kind="" c t i
    COMP_WORDS=()
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [[ $c == ' ' ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            word=""
            continue
        fi
        t=word
        [[ $breaks == *"$c"* ]] && t=break
        [[ -n $word && $t != "$kind" ]] && COMP_WORDS+=("$word") && word=""
        word+=$c
        kind=$t
    done
    COMP_WORDS+=("$word")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    "$function" quellmark-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | xargs
}

help=$("$cli" --help)
commands=$(awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on && /^  [a-z]/ { print $1 }' \
    <<<"$help" | sort | xargs)
mkdir "$work/dir"
touch "$work/dir/blink.hex" "$work/dir/notes.txt"

failed=0
check() {
    local line=$1 expected=$2 got
    got=$(cd "$work/dir" && completions "$line")
    [[ $got == "$expected" ]] && return
    echo "'$line' completes to '$got', expected '$expected'"
    failed=1
}

check "$cli " "$commands"
check "$cli --model 16F62" "16F627 16F627A 16F628 16F628A"
check "$cli --model pic16f87" "pic16F87 pic16F870 pic16F871 pic16F872 pic16F873 pic16F873A pic16F874 pic16F874A pic16F876 pic16F876A pic16F877 pic16F877A"
check "$cli --model 12f6" "12F609 12F615 12F617 12F629 12F635 12F675 12F683"
check "$cli --devices $testdevices verify --model 16F8" "16F84A 16F877A 16F88"
check "$cli --port CO" "$(printf 'COM%s ' {1..16} | xargs -n1 | sort | xargs)"
check "$cli --port=ftdis" "ftdisim ftdisim: ftdisim="
check "$cli --port sim=16F87" "16F87 16F870 16F871 16F872 16F873 16F873A 16F874 16F874A 16F876 16F876A 16F877 16F877A"
check "$cli --port sim=no" "none"
check "$cli --port sim:bl" "blink.hex"
check "$cli program " "blink.hex"
check "$cli read " "blink.hex notes.txt"
check "$cli erase " ""

# Every option --help names, long form, is offered after "--".
offered=" $(completions "$cli --") "
for option in $(grep -oE -- '(^|[][ ,(])--[a-z][a-z-]*' <<<"$help" | sed 's/^[][ ,(]*//' | sort -u); do
    [[ $offered == *" $option "* ]] || { echo "'--' does not offer $option"; failed=1; }
done
[[ $(completions "$cli --no-id") == --no-id-check ]] || { echo "--no-id does not complete"; failed=1; }
[ $failed -eq 0 ] && echo "quellmark-cli completes its commands, options, models and ports"
exit $failed
