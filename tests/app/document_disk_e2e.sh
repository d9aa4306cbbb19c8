#!/usr/bin/env bash
# Nothing typed is lost to the disk, with the real editor under a real X server and real key
# presses: a page deleted while open is saved again, a page opened a second time comes
# forward with its edits instead of opening twice, and a page another program changed is
# never saved over unseen. Each save is held to what tsmeta writes for the same values.
# Run under xvfb-run; arguments: the tagsmith executable, the tsmeta executable and a page
# to copy.
set -euo pipefail

TAGSMITH="$(realpath "$1")"
TSMETA="$(realpath "$2")"
EXAMPLE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
STAMP="$(date +%s)"
mkdir -p "$XDG_CONFIG_HOME/Vantorel"
printf '%s\n' '[Tagsmith%20LITE]' 'Backup Files=off' >"$XDG_CONFIG_HOME/Vantorel/Tagsmith LITE.ini"

# Answers the prompt that must have come with a key; fails at once when none came.
answer_prompt() {
    answer "Tagsmith LITE" "$2" "$1"
    wait_for no_prompt || fail "the prompt stayed after $1"
    # No window manager gives the keyboard back to the main window.
    xdotool windowfocus --sync "$WINDOW"
}

no_prompt() {
    ! xdotool search --onlyvisible --name '^Tagsmith LITE$' 2>/dev/null | grep -qv "^$WINDOW\$"
}

# 1. Deleted while open: Save writes the page again from the bytes last read.
cp "$EXAMPLE" "$WORK/deleted.html"
start_editor "$WORK/deleted.html"
describe "Deleted $STAMP"
rm "$WORK/deleted.html"
xdotool key --clearmodifiers ctrl+s
wait_for test -f "$WORK/deleted.html" || fail "Save did not write the deleted page again"
no_prompt || fail "saving a deleted page asked or reported something"
[ "$(cat "$WORK/deleted.html")" = "$(expected_save "$EXAMPLE" "Deleted $STAMP")" ] \
    || fail "the page saved again is not the page last read with the description typed"
quit_editor "Alt+Q did not end the editor after saving a deleted page"

# 2. Opened twice: a second start brings the window forward, edits and all, and one save
# writes them. With a second window the save would have come from the untouched copy.
cp "$EXAMPLE" "$WORK/twice.html"
start_editor "$WORK/twice.html"
describe "Twice $STAMP"
"$TAGSMITH" "$WORK/twice.html" || fail "the second start did not end well"
sleep 1
xdotool windowfocus --sync "$WINDOW"
xdotool key --clearmodifiers ctrl+s
wait_for saved_with "$WORK/twice.html" "Twice $STAMP" || fail "the page opened twice lost the description typed"
no_prompt || fail "saving the page opened twice asked something"
quit_editor "Alt+Q asked something after the page opened twice was saved, so another window held it"

# 3. Changed by another program: each save asks first. Escape keeps both sides as they are;
# Save Over writes the description typed into the other program's page; Reload shows what
# the disk holds, and the next save writes that.
cp "$EXAMPLE" "$WORK/changed.html"
start_editor "$WORK/changed.html"
describe "Mine $STAMP"
sed -i -e 's/Fresh sourdough/Theirs/' -e 's/Saturdays only/Saturdays and Sundays/' "$WORK/changed.html"
cp "$WORK/changed.html" "$WORK/theirs.html"
xdotool key --clearmodifiers ctrl+s
answer_prompt Escape "Save wrote over a page changed on disk without asking"
cmp -s "$WORK/changed.html" "$WORK/theirs.html" || fail "the page changed on disk was written after Cancel"
xdotool key --clearmodifiers ctrl+s
answer_prompt s "the second Save did not ask again"
wait_for saved_with "$WORK/changed.html" "Mine $STAMP" || fail "Save Over did not write the description typed"
[ "$(cat "$WORK/changed.html")" = "$(expected_save "$WORK/theirs.html" "Mine $STAMP")" ] \
    || fail "Save Over lost what the other program wrote outside the tags"
sed -i -e "s/Mine $STAMP/Theirs again $STAMP/" "$WORK/changed.html"
xdotool key --clearmodifiers ctrl+s
answer_prompt r "Save wrote over the second change without asking"
grep -qF "Theirs again $STAMP" "$WORK/changed.html" || fail "Reload wrote the page"
xdotool key --clearmodifiers ctrl+s
sleep 1
no_prompt || fail "a save after Reload asked again"
saved_with "$WORK/changed.html" "Theirs again $STAMP" || fail "after Reload the window did not show what the disk holds"
quit_editor "Alt+Q asked something after the reloaded page was saved"
echo "PASS"
