#!/usr/bin/env bash
# The command line as a user gives it, with the real editor under a real X server: relative
# paths from another folder, several files at once, and a later start in yet another folder
# handing over a relative path. Each page is proved open by typing into it and saving it.
# Run under xvfb-run; arguments: the tagsmith executable and a page to copy.
set -euo pipefail

TAGSMITH="$(realpath "$1")"
EXAMPLE="$2"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
SITE="$WORK/my site"
STARTED_IN="$WORK/started here"
LATER_IN="$WORK/later here"
mkdir "$SITE" "$STARTED_IN" "$LATER_IN"
for page in "$SITE/first page.html" "$SITE/second.htm" "$STARTED_IN/page.html" "$LATER_IN/page.html"; do
    cp "$EXAMPLE" "$page"
done
STAMP="$(date +%s)"

# Types a description into the active page and saves it; the description field has the
# focus when a page opens or comes forward.
describe_and_save() {
    xdotool windowfocus --sync "$WINDOW"
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 "$1"
    xdotool key --clearmodifiers ctrl+s
}

saved_with() {
    grep -qF "<META name=\"description\" content=\"$2\">" "$1"
}

(cd "$STARTED_IN" && exec "$TAGSMITH" "../my site/first page.html" "../my site/second.htm") &
EDITOR_PID=$!
WINDOW="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tagsmith LITE' | head -1)" \
    || fail "the main window did not appear"
sleep 0.5

# Both pages are open: the last one in front, the first one behind it.
describe_and_save "Second, typed at $STAMP"
wait_for saved_with "$SITE/second.htm" "Second, typed at $STAMP" || fail "the second argument was not opened"
xdotool key --clearmodifiers ctrl+Tab
describe_and_save "First, typed at $STAMP"
wait_for saved_with "$SITE/first page.html" "First, typed at $STAMP" || fail "the first argument was not opened"

# A later start elsewhere: its relative path names the page in its own folder.
(cd "$LATER_IN" && exec "$TAGSMITH" page.html) || fail "the later start did not end well"
sleep 1
describe_and_save "Handed over at $STAMP"
wait_for saved_with "$LATER_IN/page.html" "Handed over at $STAMP" || fail "the handed-over page was not the one opened"
cmp -s "$EXAMPLE" "$STARTED_IN/page.html" || fail "the running copy's own folder was used for the handed-over path"

xdotool windowfocus --sync "$WINDOW"
xdotool key --clearmodifiers alt+q
wait_for sh -c "! kill -0 $EDITOR_PID 2>/dev/null" || fail "Alt+Q did not end the editor"
wait "$EDITOR_PID" || fail "the editor ended with status $?"
EDITOR_PID=0

# As given, below the folder each start was made in.
RECENT="$(grep -ho '\\File[0-9]*=.*' "$XDG_CONFIG_HOME"/Vantorel/registry/*.ini | cut -d= -f2-)"
EXPECTED="$(printf '%s\n' "$LATER_IN/page.html" "$STARTED_IN/../my site/second.htm" "$STARTED_IN/../my site/first page.html")"
[ "$RECENT" = "$EXPECTED" ] \
    || fail "the recent files are not the absolute paths, newest first: $RECENT"
echo "PASS"
