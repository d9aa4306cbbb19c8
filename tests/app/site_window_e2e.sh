#!/usr/bin/env bash
# A whole site edited in its window with real key presses under a real X server: the pages
# without a description filtered out of a folder, three of them given one description in
# one edit, previewed and saved. Each page written holds exactly what tsmeta writes for the
# same description, with its backup beside it; a read-only page among them is refused and
# left as it was; Undo Last Save brings every page back byte for byte. A second run exports
# the table as CSV, changes it outside the editor, imports it and saves.
# Run under xvfb-run; arguments: the tagsmith executable, the tsmeta executable and a page
# to copy.
set -euo pipefail

TAGSMITH="$(realpath "$1")"
TSMETA="$(realpath "$2")"
EXAMPLE="$3"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
STAMP="$(date +%s)"
SITE="$WORK/site"
ORIGINAL="$WORK/original"
TABLES="$WORK/tables"
mkdir -p "$SITE/news" "$ORIGINAL" "$TABLES"

# A copy of the example page with its own title; "bare" drops its description, "crlf"
# gives it Windows line ends as well.
page() {
    local name="$1" title="$2" kind="${3:-}" drop=()
    [ "$kind" = described ] || drop=(-e '/name="description"/d')
    sed -e "s|<title>.*</title>|<title>$title</title>|" "${drop[@]}" "$EXAMPLE" >"$SITE/$name"
    [ "$kind" != crlf ] || sed -i 's/$/\r/' "$SITE/$name"
}
page described.html "Harbour Bakery" described
page bare.html "Bread"
page news/crlf.html "Cakes" crlf
page prices.html "Prices"
cp -a "$SITE/." "$ORIGINAL/"
BARE_PAGES=(bare.html news/crlf.html prices.html)

# Root writes to any file, so the editor runs as nobody there and a page without write
# permission is refused as it would be for anyone else.
if [ "$(id -u)" -eq 0 ]; then
    chmod 0755 "$WORK"
    cp "${XAUTHORITY:-/dev/null}" "$WORK/xauthority"
    export XAUTHORITY="$WORK/xauthority" HOME="$WORK/home"
    mkdir -p "$HOME"
    chown -R 65534:65534 "$XAUTHORITY" "$HOME" "$SITE" "$TABLES" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
    install -m 0755 "$TAGSMITH" "$WORK/tagsmith"
    TAGSMITH="$WORK/tagsmith"
    RUN_AS=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
chmod 0444 "$SITE/prices.html"

same_as_original() {
    cmp -s "$SITE/$1" "$ORIGINAL/$1"
}

backup_of() {
    echo "$SITE/${1%.*}.bak"
}

# Types a path into the file dialog that must have come and accepts it.
choose_file() {
    local id
    id="$(other_window "$1")" || fail "no \"$1\" dialog came"
    xdotool windowfocus --sync "$id"
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 "$2"
    xdotool key --clearmodifiers Return
    wait_for gone "$id" || fail "the \"$1\" dialog stayed open"
    xdotool windowfocus --sync "$WINDOW"
}

gone() {
    ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"
}

# 1. The pages without a description: filter, select, describe, preview, save.
start_editor --site "$SITE"
sleep 1
# The filter box has the keyboard; its warning switches follow it, "description missing"
# fifth. Back past them to the table, which comes first.
xdotool key --clearmodifiers --delay 30 Tab Tab Tab Tab Tab Tab space
xdotool key --clearmodifiers --delay 30 shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
# From the first row's path to its description, then every row shown, then one edit.
xdotool key --clearmodifiers --delay 30 Home Right Right Right ctrl+a F2 ctrl+a
xdotool type --delay 5 "One description $STAMP"
xdotool key --clearmodifiers Return
sleep 0.5
xdotool key --clearmodifiers alt+s
answer "Tagsmith LITE" "Save All showed no preview" alt+s
wait_for test -f "$(backup_of bare.html)" || fail "Save All wrote no backup of bare.html"
sleep 0.5
xdotool windowfocus --sync "$WINDOW"
for name in bare.html news/crlf.html; do
    [ "$(cat "$SITE/$name")" = "$(expected_save "$ORIGINAL/$name" "One description $STAMP")" ] \
        || fail "$name does not hold what tsmeta writes for the same description"
    cmp -s "$(backup_of "$name")" "$ORIGINAL/$name" || fail "the backup of $name is not the page as it was"
done
same_as_original prices.html || fail "the read-only page was written"
[ ! -e "$(backup_of prices.html)" ] || fail "the read-only page got a backup"
same_as_original described.html || fail "a page with a description, filtered out, was written"

# 2. Undo Last Save puts back what the save wrote, after asking.
xdotool key --clearmodifiers alt+u
answer "Tagsmith LITE" "Undo Last Save did not ask first" y
for name in "${BARE_PAGES[@]}" described.html; do
    wait_for same_as_original "$name" || fail "Undo Last Save did not bring $name back byte for byte"
done
xdotool windowfocus --sync "$WINDOW"

# The refused page kept its edit: quitting asks about it; No leaves it unwritten.
xdotool key --clearmodifiers alt+q
answer "Tagsmith LITE" "the refused page's edit was lost: quitting did not ask" n
editor_ends "the editor did not end after No"
same_as_original prices.html || fail "the read-only page was written on quitting"

# 3. The table exported, edited outside, imported and saved.
start_editor --site "$SITE"
sleep 1
xdotool key --clearmodifiers alt+x
choose_file "Export Table" "$TABLES/table.csv"
wait_for test -s "$TABLES/table.csv" || fail "Export wrote no table"
grep -q '^bare.html,Bread,[0-9.]*,,' "$TABLES/table.csv" || fail "the table lacks bare.html without a description"
sed -e "s/^bare.html,Bread,\([0-9.]*\),,/bare.html,Bread,\1,From a spreadsheet $STAMP,/" \
    -e "s/^news\/crlf.html,Cakes,\([0-9.]*\),,/news\/crlf.html,Cakes,\1,Cakes $STAMP,/" \
    "$TABLES/table.csv" >"$TABLES/edited.csv"
chmod 0644 "$TABLES/edited.csv"
xdotool key --clearmodifiers alt+i
choose_file "Import Table" "$TABLES/edited.csv"
sleep 0.5
xdotool key --clearmodifiers alt+s
answer "Tagsmith LITE" "Save All after the import showed no preview" alt+s
wait_for saved_with "$SITE/bare.html" "From a spreadsheet $STAMP" || fail "the imported description was not saved"
sleep 0.5
[ "$(cat "$SITE/bare.html")" = "$(expected_save "$ORIGINAL/bare.html" "From a spreadsheet $STAMP")" ] \
    || fail "bare.html from the table does not hold what tsmeta writes"
[ "$(cat "$SITE/news/crlf.html")" = "$(expected_save "$ORIGINAL/news/crlf.html" "Cakes $STAMP")" ] \
    || fail "news/crlf.html from the table does not hold what tsmeta writes"
same_as_original described.html || fail "a row the table left as it was got written"
same_as_original prices.html || fail "the read-only page was written from the table"
xdotool windowfocus --sync "$WINDOW"
quit_editor "Alt+Q asked something after the imported edits were saved"
echo "PASS"
