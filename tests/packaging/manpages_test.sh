#!/usr/bin/env bash
# The manual pages render without a groff warning, and each one has an entry for every command
# and option that its program's --help names, so that a page cannot fall behind its program.
set -euo pipefail
bin=${1:?usage: manpages_test.sh BIN_DIR MAN_DIR}
pages=${2:?usage: manpages_test.sh BIN_DIR MAN_DIR}

# The rendered text of one section: "OPTIONS" or "COMMANDS".
section() {
    awk -v name="$2" '/^[A-Z]/ { on = ($0 == name) } on' <<<"$1"
}

failed=0
for program in quellmark-cli quellmark; do
    page=$pages/$program.1
    warnings=$(groff -man -ww -z "$page" 2>&1)
    if [ -n "$warnings" ]; then
        echo "$program.1 renders with warnings:"
        echo "$warnings"
        failed=1
    fi
    text=$(groff -man -Tascii -P-cbou "$page" 2>/dev/null)
    help=$("$bin/$program" --help)

    options=$(grep -oE -- '(^|[][ ,(])--?[a-zA-Z][a-zA-Z-]*' <<<"$help" | sed 's/^[][ ,(]*//' |
        sort -u)
    # An entry is a tag at the start of a line, as in "-q, --quiet" or "--port PORT".
    for option in $options; do
        section "$text" OPTIONS | grep -qE -- "^ {7}(-[a-zA-Z-]+, )*$option( |,|\$)" ||
            { echo "$program.1 has no entry for the option $option"; failed=1; }
    done
    commands=$(awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on && /^  [a-z]/ { print $1 }' \
        <<<"$help")
    for command in $commands; do
        section "$text" COMMANDS | grep -qE "^ {7}$command( |\$)" ||
            { echo "$program.1 has no entry for the command $command"; failed=1; }
    done
    echo "$program.1: $(wc -w <<<"$options") options, $(wc -w <<<"$commands") commands"
done
exit $failed
