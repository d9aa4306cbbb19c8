#!/usr/bin/env bash
# The editor as a desktop user finds it, with real X input: --help without a display, the
# menu bar's keyboard mode, the caret while it lasts and a shortcut given in it, Alt+letters
# that open nothing, overwriting, Help > Index from the build tree, and Exit asking about two
# edited pages. Run under xvfb-run; arguments: the tagsmith executable (the one in the build
# tree) and a page to copy. With TAGSMITH_E2E_SHOTS set to a folder, it also leaves
# screenshots there (the whole META pane, a field overwriting, a narrow window and its
# chevron open, cascaded windows, the first Exit prompt).
set -euo pipefail

TAGSMITH="$(realpath "$1")"
EXAMPLE="$2"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
SHOTS="${TAGSMITH_E2E_SHOTS:-}"
STAMP="$(date +%s)"

shot() {
    [ -z "$SHOTS" ] || import -window root "$SHOTS/$1.png"
}

popup_open() {
    xdotool search --onlyvisible --pid "$EDITOR_PID" 2>/dev/null | grep -qv "^$WINDOW\$"
}

# Whether a caret blinks in the main window: nothing else there changes by itself, and of
# six pictures over more than a second (a blink's half is half a second) two then differ.
caret_blinks() {
    local i
    for i in 1 2 3 4 5 6; do
        import -window "$WINDOW" "$WORK/blink$i.png"
        sleep 0.15
    done
    for i in 2 3 4 5 6; do
        [ "$(compare -metric AE "$WORK/blink1.png" "$WORK/blink$i.png" null: 2>&1 | cut -d' ' -f1)" = 0 ] || return 0
    done
    return 1
}

# Information only, on standard output, with no display at all (the install check asks for
# the version the same way).
output="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$TAGSMITH" --help)" \
    || fail "tagsmith --help ended with status $?"
grep -q '^Usage: tagsmith' <<<"$output" || fail "tagsmith --help printed no usage"

usual_settings

# Every tag of the block at once: the META pane must show all seven lines.
FULL="$WORK/full.html"
cat >"$FULL" <<'EOF'
<html><head><title>Every tag</title>
<meta http-equiv="Content-Type" content="text/html; charset=ISO-8859-1">
<meta name="description" content="All of them">
<meta name="keywords" content="pane, lines">
<meta name="author" content="Jo">
<meta name="robots" content="noindex, nofollow">
</head><body></body></html>
EOF
cp "$FULL" "$WORK/full.orig"

start_editor "$FULL"
shot meta-pane

# The menu bar by keyboard. Alt alone enters it: "f" opens File, "s" chooses Save.
describe "Menus $STAMP"
xdotool key alt
xdotool key f s
wait_for saved_with "$FULL" "Menus $STAMP" || fail "Alt alone, f, s did not save through the menu"
# Escape leaves the mode, so the next letter reaches the field again; so does Escape out
# of a menu and Escape once more.
xdotool key F10 Escape
xdotool type "X"
xdotool key F10 Down Escape Escape
xdotool type "Y"
# A click beside the menu bar leaves it too.
xdotool key F10
xdotool mousemove --window "$WINDOW" 450 400 click 1
xdotool key End
xdotool type "Z"
# Alt+letters that open no menu type nothing and change nothing.
xdotool key --clearmodifiers alt+z alt+b alt+j
xdotool key --clearmodifiers ctrl+s
wait_for saved_with "$FULL" "Menus ${STAMP}XYZ" || fail "keys after leaving the menu bar were lost, or Alt+letters typed"

# The keyboard is in one place at a time. While the menu bar has it, the field shows no
# caret; a shortcut lets go of the bar before its command runs: F10 and Ctrl+S save once
# (the backup still holds the page from before this save), the caret is back, and "f",
# File's letter, goes into the field instead of opening File.
caret_blinks || fail "the description field shows no caret to begin with"
xdotool key F10
! caret_blinks || fail "the caret blinks in the field while the menu bar has the keyboard"
xdotool key Escape
cp "$FULL" "$WORK/before-shortcut.html"
describe "Shortcut $STAMP"
xdotool key F10 ctrl+s
wait_for saved_with "$FULL" "Shortcut $STAMP" || fail "F10 and Ctrl+S did not save"
sleep 0.5
cmp -s "$WORK/full.bak" "$WORK/before-shortcut.html" || fail "F10 and Ctrl+S saved more than once"
caret_blinks || fail "no caret came back after F10 and Ctrl+S"
xdotool type f
sleep 0.5
! popup_open || fail "f after F10 and Ctrl+S opened a menu: the bar kept the keyboard"
xdotool key --clearmodifiers ctrl+s
wait_for saved_with "$FULL" "Shortcut ${STAMP}f" || fail "f after F10 and Ctrl+S did not reach the field alone"
# Escape out of a menu leaves the bar with the keyboard, and the field without its caret.
xdotool key F10 Down Escape
! caret_blinks || fail "the caret blinks in the field after Escape out of a menu"
xdotool key Escape
caret_blinks || fail "no caret came back after Escape left the menu bar"

# Insert switches to overwriting, which the caret shows as a block over the next letter;
# Insert again goes back to inserting.
describe "Fresh rye bread every morning"
xdotool key Home Insert
xdotool type "Crisp "
shot overwrite-mode
xdotool key Insert
xdotool type "dark "
xdotool key --clearmodifiers ctrl+s
wait_for saved_with "$FULL" "Crisp dark rye bread every morning" || fail "Insert did not overwrite, or Insert again did not insert"

# Unmodified after the save even with the Alt+letters: Exit asks nothing.
quit_editor "the editor asked before ending, so an Alt+letter changed the page"

# Help > Index of the editor in its build tree opens the user guide of the sources it was built
# from, in the desktop's viewer: a stand-in here that writes down what it was given.
mkdir -p "$WORK/bin"
printf '#!/bin/sh\nprintf "%%s" "$1" >"$0.part" && mv "$0.part" "$0.args"\n' >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
PATH="$WORK/bin:$PATH" start_editor
xdotool key F1
viewer_started() { [ -f "$WORK/bin/xdg-open.args" ]; }
wait_for viewer_started || fail "F1 started no viewer"
SOURCE_GUIDE="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/docs/guide/index.html"
[ "$(realpath "$(cat "$WORK/bin/xdg-open.args")")" = "$(realpath "$SOURCE_GUIDE")" ] \
    || fail "F1 opened $(cat "$WORK/bin/xdg-open.args"), not the guide of the sources, $SOURCE_GUIDE"
quit_editor "Alt+Q did not end the editor after Help > Index"

# A narrow window: the menu bar wraps, nothing is cut off. Help, the last menu, drops its
# menu inside the window, from a second row.
start_editor
xdotool windowsize --sync "$WINDOW" 230 420
sleep 0.5
shot narrow-window
xdotool key F10 Left Down
sleep 0.5
POPUP="$(xdotool search --onlyvisible --pid "$EDITOR_PID" 2>/dev/null | grep -v "^$WINDOW\$" | head -1)" \
    || fail "F10, Left and Down opened no Help menu"
eval "$(xdotool getwindowgeometry --shell "$WINDOW" | sed 's/^/MAIN_/')"
eval "$(xdotool getwindowgeometry --shell "$POPUP" | sed 's/^/MENU_/')"
[ "$MENU_X" -lt $((MAIN_X + 100)) ] || fail "the Help menu opens at x=$MENU_X, past the narrow window's edge"
xdotool key Escape Escape
# The toolbar's chevron stands right before the logo: clicked from the right, past the
# logo, it is the first thing that opens a popup.
CHEVRON_FOUND=0
for y in 57 64 50; do
    for x in $(seq 226 -3 84); do
        xdotool mousemove --window "$WINDOW" "$x" "$y" click 1
        sleep 0.1
        if popup_open; then
            CHEVRON_FOUND=1
            break 2
        fi
    done
done
[ "$CHEVRON_FOUND" -eq 1 ] || fail "no chevron opened the toolbar buttons that do not fit"
shot chevron-open
xdotool key Escape
quit_editor "Alt+Q did not end the narrow editor"

# Many pages: the cascade stays inside the window.
usual_settings
eight_pages
start_editor "${PAGES[@]}"
shot cascade
quit_editor "Alt+Q did not end the editor with eight pages"

# Exit with two edited pages, the second in front: each prompt brings its own page
# forward. Yes saves the first asked about, No leaves the second.
cp "$EXAMPLE" "$WORK/first.html"
cp "$EXAMPLE" "$WORK/second.html"
start_editor "$WORK/first.html" "$WORK/second.html"
describe "Second $STAMP"
xdotool key --clearmodifiers ctrl+Tab
sleep 0.3
describe "First $STAMP"
xdotool key --clearmodifiers ctrl+Tab
sleep 0.3
xdotool key --clearmodifiers alt+q
PROMPT="$(timeout 10 xdotool search --sync --onlyvisible --name '^Tagsmith LITE$' | grep -v "^$WINDOW\$" | head -1)" \
    || fail "Exit asked nothing about two edited pages"
sleep 0.5
shot exit-prompt
xdotool windowfocus --sync "$PROMPT"
xdotool key y
sleep 1
PROMPT="$(xdotool search --onlyvisible --name '^Tagsmith LITE$' | grep -v "^$WINDOW\$" | head -1)" \
    || fail "Exit asked only once about two edited pages"
xdotool windowfocus --sync "$PROMPT"
xdotool key n
editor_ends "the editor did not end after both prompts"
saved_with "$WORK/first.html" "First $STAMP" || fail "Yes on the first prompt did not save the first page"
cmp -s "$EXAMPLE" "$WORK/second.html" || fail "No on the second prompt changed the second page"
echo "PASS"
