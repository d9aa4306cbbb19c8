#!/usr/bin/env bash
# The command line as a user gives it, with the real editor under a real X server: relative
# paths from another folder (with a comma and quotes in its name), several files at once, and
# a later start in yet another folder handing over a relative path; both starts with Qt's own
# options among the pages, which neither opens nor lists. Each page is proved open by typing
# into it and saving it. Run under xvfb-run; arguments: the tagsmith executable and a page to
# copy.
set -euo pipefail

TAGSMITH="$(realpath "$1")"
EXAMPLE="$2"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
SITE="$WORK/my site, \"quoted\""
STARTED_IN="$WORK/started here"
LATER_IN="$WORK/later here"
mkdir "$SITE" "$STARTED_IN" "$LATER_IN"
for page in "$SITE/first page.html" "$SITE/second.htm" "$STARTED_IN/page.html" "$LATER_IN/page.html"; do
    cp "$EXAMPLE" "$page"
done
STAMP="$(date +%s)"

describe_and_save() {
    xdotool windowfocus --sync "$WINDOW"
    sleep 0.3
    describe "$1"
    xdotool key --clearmodifiers ctrl+s
}

cd "$STARTED_IN"
start_editor -style fusion "../my site, \"quoted\"/first page.html" -name tagsmith-e2e \
    "../my site, \"quoted\"/second.htm"
cd "$WORK"

# Both pages are open: the last one in front, the first one behind it.
describe_and_save "Second, typed at $STAMP"
wait_for saved_with "$SITE/second.htm" "Second, typed at $STAMP" || fail "the second argument was not opened"
cmp -s "$EXAMPLE" "$SITE/second.bak" || fail "the backup is not the old page"
xdotool key --clearmodifiers ctrl+Tab
describe_and_save "First, typed at $STAMP"
wait_for saved_with "$SITE/first page.html" "First, typed at $STAMP" || fail "the first argument was not opened"

# A later start elsewhere: its relative path names the page in its own folder, and Qt's
# options around it are no pages to hand over.
(cd "$LATER_IN" && exec "$TAGSMITH" -style fusion page.html --qwindowtitle "Not a page" -display "$DISPLAY") \
    || fail "the later start did not end well"
sleep 1
describe_and_save "Handed over at $STAMP"
wait_for saved_with "$LATER_IN/page.html" "Handed over at $STAMP" || fail "the handed-over page was not the one opened"
cmp -s "$EXAMPLE" "$STARTED_IN/page.html" || fail "the running copy's own folder was used for the handed-over path"
quit_editor "Alt+Q did not end the editor"

# As given, below the folder each start was made in, and nothing else; the settings file
# quotes what holds a comma.
RECENT="$(grep -ho '\\File[0-9]*=.*' "$XDG_CONFIG_HOME"/Vantorel/registry/*.ini | cut -d= -f2- \
    | sed -e 's/^"\(.*\)"$/\1/' -e 's/\\"/"/g')"
EXPECTED="$(printf '%s\n' "$LATER_IN/page.html" "$STARTED_IN/../${SITE#"$WORK/"}/second.htm" \
    "$STARTED_IN/../${SITE#"$WORK/"}/first page.html")"
[ "$RECENT" = "$EXPECTED" ] \
    || fail "the recent files are not the absolute paths, newest first: $RECENT"
echo "PASS"
