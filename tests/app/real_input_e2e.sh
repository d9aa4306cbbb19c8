#!/usr/bin/env bash
# Drives the real editor with real X input: type a description, Ctrl+S, a second start
# handing over another page, Alt+Q. Run under xvfb-run; argument: the tagsmith executable.
set -euo pipefail

TAGSMITH="$1"
EXAMPLE="$2"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
mkdir "$WORK/site, \"quoted\""
FIRST="$WORK/site, \"quoted\"/first page.html"
SECOND="$WORK/site, \"quoted\"/second.htm"
cp "$EXAMPLE" "$FIRST"
cp "$EXAMPLE" "$SECOND"
cp "$EXAMPLE" "$WORK/original.html"
NEW_DESCRIPTION="Typed by a real keyboard at $(date +%s)"

"$TAGSMITH" "$FIRST" &
EDITOR_PID=$!
WINDOW="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tagsmith LITE' | head -1)" \
    || fail "the main window did not appear"
# No window manager runs under Xvfb: give the window the keyboard ourselves.
xdotool windowfocus --sync "$WINDOW"
sleep 0.5

# The description field has the focus when a page opens.
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "$NEW_DESCRIPTION"
xdotool key --clearmodifiers ctrl+s
wait_for test -f "$WORK/site, \"quoted\"/first page.bak" || fail "Ctrl+S wrote no backup"

"$TAGSMITH" "$SECOND" || fail "the second start did not end well"
sleep 1
xdotool windowfocus --sync "$WINDOW"
xdotool key --clearmodifiers alt+q
wait_for sh -c "! kill -0 $EDITOR_PID 2>/dev/null" || fail "Alt+Q did not end the editor"
wait "$EDITOR_PID" || fail "the editor ended with status $?"
EDITOR_PID=0

grep -qF "<META name=\"description\" content=\"$NEW_DESCRIPTION\">" "$FIRST" \
    || fail "the saved page lacks the typed description"
cmp -s "$WORK/original.html" "$WORK/site, \"quoted\"/first page.bak" || fail "the backup is not the old page"
cmp -s "$WORK/original.html" "$SECOND" || fail "the handed-over page changed without a save"

RECENT="$(cat "$XDG_CONFIG_HOME"/Vantorel/registry/*.ini)"
grep -qF "first page.html" <<<"$RECENT" || fail "the recent files do not list the first page"
grep -qF "second.htm" <<<"$RECENT" || fail "the recent files do not list the handed-over page"
echo "PASS"
