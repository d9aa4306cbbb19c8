#!/usr/bin/env bash
# Nothing a document window shows is cut off, on a real X server with real key presses: eight
# cascaded pages, and a page whose warning comes after it opened (a koi8-r page with the
# charset flag ticked). The preview's bottom edge is looked for on the screen itself.
# Run under xvfb-run; arguments: the tagsmith executable, the preview_edge checker and a page
# to copy.
set -euo pipefail

TAGSMITH="$(realpath "$1")"
PREVIEW_EDGE="$(realpath "$2")"
EXAMPLE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

usual_settings

# Asked again for a while: on a loaded machine the windows are laid out and painted some
# time after they come up. A preview cut off stays cut off.
preview_whole() {
    wait_for "$PREVIEW_EDGE" >/dev/null 2>&1 || "$PREVIEW_EDGE" || fail "$1"
}

eight_pages
start_editor "${PAGES[@]}"
preview_whole "the eighth cascaded window cuts its preview off"
quit_editor "Alt+Q did not end the editor with eight pages"

sed -e 's/<meta charset="utf-8">/<meta charset="koi8-r">/' "$EXAMPLE" >"$WORK/koi8.html"
start_editor "$WORK/koi8.html"
preview_whole "the koi8-r page cuts its preview off before the charset flag is ticked"
# From the description, Tab goes through keywords, author and the four robots flags to the
# charset flag.
xdotool key --clearmodifiers Tab Tab Tab Tab Tab Tab Tab space
sleep 0.5
preview_whole "the koi8-r page's warning cut its preview off"
# Saved, the page holds the charset tag: the flag was ticked, and its warning stays.
xdotool key --clearmodifiers ctrl+s
wait_for grep -q '<META http-equiv="Content-Type"' "$WORK/koi8.html" || fail "Tab did not reach the charset flag"
preview_whole "the koi8-r page cuts its preview off after the save"
quit_editor "Alt+Q did not end the editor after the koi8-r page was saved"
echo "PASS"
