#!/usr/bin/env bash
# The toolbar's rebar band as a desktop user meets it, with real X input: its gripper dragged
# down onto a row of its own and back, up beside the logo and along that row, and a 200 px
# window showing only whole buttons before the chevron, as built and with the band dragged.
# What moved is read from pictures of the window. Run under xvfb-run; argument: the tagsmith
# executable. With TAGSMITH_E2E_SHOTS set to a folder, it leaves the narrow window with the
# dragged band there (narrow-dragged-band.png).
set -euo pipefail

TAGSMITH="$(realpath "$1")"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
SHOTS="${TAGSMITH_E2E_SHOTS:-}"

# A picture of the window with the mouse away from the toolbar, so no button is hot in it,
# once the window has stopped changing: on a loaded machine a resize or a drag is laid out
# and painted some time after xdotool returns.
look() {
    xdotool mousemove --window "$WINDOW" 600 400
    sleep 0.3
    import -window "$WINDOW" "$WORK/$1.png"
    local tries
    for tries in $(seq 20); do
        sleep 0.3
        import -window "$WINDOW" "$WORK/$1-again.png"
        [ "$(compare -metric AE "$WORK/$1.png" "$WORK/$1-again.png" null: 2>&1 || true)" != 0 ] || return 0
        mv "$WORK/$1-again.png" "$WORK/$1.png"
    done
    fail "the window kept changing while $1.png was taken"
}

# The top of the empty document area: the window's first row of its colour down the middle.
documents_top() {
    local colour
    colour="$(convert "$WORK/$1.png" -crop 1x1+600+400 -depth 8 txt:- | awk 'NR == 2 { print $3 }')"
    convert "$WORK/$1.png" -crop 1x400+600+0 -depth 8 txt:- \
        | awk -v c="$colour" -F '[,:]' 'NR > 1 && !top && index($0, c) { top = $2 } END { print top }'
}

# Where the first buttons, as the first look showed them, are in the top of another look:
# "x y".
buttons_in() {
    local found
    convert "$WORK/$1.png" -crop 460x120+0+0 +repage "$WORK/top.png"
    found="$(compare -metric AE -subimage-search "$WORK/top.png" "$WORK/buttons.png" null: 2>&1 || true)"
    [[ "$found" == "0 @ "* ]] || fail "the toolbar's first buttons are nowhere in $1.png ($found)"
    sed 's/^0 @ \([0-9]*\),\([0-9]*\).*/\1 \2/' <<<"$found"
}

# Takes the gripper at $1,$2 and lets go at $3,$4, in steps as a hand moves.
drag() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" mousedown 1
    for step in 1 2 3 4; do
        sleep 0.05
        xdotool mousemove --window "$WINDOW" $(($1 + ($3 - $1) * step / 4)) $(($2 + ($4 - $2) * step / 4))
    done
    sleep 0.05
    xdotool mouseup 1
}

# Whether the 200 px window `narrow` shows its buttons whole, compared with the same buttons
# in the wide window `wide`: the icons' rows from the first button's left, $2,$3 in the
# narrow look and $5,$6 in the wide one. Each run of drawn columns in the narrow band must
# look as in the wide window and end where it ends there, up to the first run the wide
# window does not have there: the chevron.
whole_buttons_only() {
    local width=$((200 - $2 - 2))
    convert "$WORK/$1.png" -crop "${width}x16+$2+$3" +repage -depth 8 txt:- >"$WORK/narrow.txt"
    convert "$WORK/$4.png" -crop "${width}x16+$5+$6" +repage -depth 8 txt:- >"$WORK/wide.txt"
    awk -F '[,:]' -v n="$width" '
        FNR == 1 { wide = ++file == 2; next }
        {
            colour = substr($0, index($0, ":") + 1)
            if (wide) { w[$1] = w[$1] colour; seen[colour]++ } else { c[$1] = c[$1] colour }
            pixel[wide, $1, $2] = colour
        }
        END {
            for (colour in seen)
                if (seen[colour] > seen[background]) background = colour
            for (x = 0; x < n; ++x)
                for (y = 0; y < 16; ++y) {
                    if (pixel[0, x, y] != background) drawn[x] = 1
                    if (pixel[1, x, y] != background) wideDrawn[x] = 1
                }
            for (x = 0; x < n;) {
                if (!drawn[x]) { ++x; continue }
                for (start = x; x < n && drawn[x]; ++x) {}
                for (i = start; i < x; ++i)
                    if (c[i] != w[i]) { print "chevron at " start; exit 0 }
                if (x < n && wideDrawn[x]) { print "cut off at " x " (drawn from " start ")"; exit 1 }
            }
            print "no chevron"
            exit 1
        }' "$WORK/narrow.txt" "$WORK/wide.txt"
}

usual_settings
start_editor
look wide
TOP="$(documents_top wide)"
[ -n "$TOP" ] || fail "no document area below the toolbar in the first look"
# The middle of the band's row, above the rebar's frame; the icons sit across it.
GRIP_Y=$((TOP - 16))
convert "$WORK/wide.png" -crop "40x16+12+$((GRIP_Y - 7))" +repage "$WORK/buttons.png"
read -r X0 Y0 < <(buttons_in wide)

# As built, at 200 px: whole buttons, then the chevron.
xdotool windowsize --sync "$WINDOW" 200 420
look narrow
read -r NX NY < <(buttons_in narrow)
[ "$NX" -eq "$X0" ] || fail "at 200 px the toolbar starts at x=$NX, not at x=$X0"
verdict="$(whole_buttons_only narrow "$NX" "$NY" wide "$X0" "$Y0")" || fail "at 200 px wide: $verdict"
xdotool windowsize --sync "$WINDOW" 900 700
look wide-again

# Down by a row: the band on a row of its own below the logo, the window making room.
drag 5 "$GRIP_Y" 5 $((GRIP_Y + 30))
look own-row
read -r X1 Y1 < <(buttons_in own-row)
[ "$X1" -eq "$X0" ] && [ "$Y1" -gt $((Y0 + 15)) ] \
    || fail "dragged down, the buttons are at $X1,$Y1, not a row below $X0,$Y0"
[ "$(documents_top own-row)" -gt "$TOP" ] || fail "the documents did not move down to make room for the new row"
ROW=$((Y1 - Y0))

# Up again: everything as it was.
drag 5 $((GRIP_Y + ROW)) 5 "$GRIP_Y"
look back
convert "$WORK/wide.png" -crop "900x$((TOP + 10))+0+0" +repage "$WORK/wide-top.png"
convert "$WORK/back.png" -crop "900x$((TOP + 10))+0+0" +repage "$WORK/back-top.png"
differ="$(compare -metric AE "$WORK/wide-top.png" "$WORK/back-top.png" null: 2>&1 || true)"
[ "$differ" = "0" ] || fail "dragged down and back, $differ pixels of the menus and toolbar differ"

# Down, then up with the mouse well past the logo: the band joins the row after it, its
# start following the mouse from there on.
drag 5 "$GRIP_Y" 5 $((GRIP_Y + ROW))
drag 5 $((GRIP_Y + ROW)) 300 "$GRIP_Y"
look beside-logo
read -r X2 Y2 < <(buttons_in beside-logo)
[ "$Y2" -eq "$Y0" ] && [ "$X2" -gt $((X0 + 40)) ] \
    || fail "dragged up past the logo, the buttons are at $X2,$Y2, not after the logo in the first row"
[ "$(documents_top beside-logo)" -eq "$TOP" ] || fail "back in one row, the documents did not move up"

# Along the row: the band's start follows the mouse, down to the logo's least and no further.
# The gripper's middle is 7 px before the first button's icon.
drag $((X2 - 7)) "$GRIP_Y" $((X2 - 7 + 60)) "$GRIP_Y"
look along
read -r X3 Y3 < <(buttons_in along)
[ "$X3" -eq $((X2 + 60)) ] && [ "$Y3" -eq "$Y0" ] || fail "dragged 60 px right, the buttons went from $X2 to $X3,$Y3"
drag $((X3 - 7)) "$GRIP_Y" 0 "$GRIP_Y"
look least
read -r X4 _ < <(buttons_in least)
[ "$X4" -lt "$X2" ] && [ "$X4" -gt $((X0 + 40)) ] || fail "dragged far left, the buttons went to $X4, not to the logo's end"
drag $((X4 - 7)) "$GRIP_Y" 0 "$GRIP_Y"
look still-least
read -r X5 _ < <(buttons_in still-least)
[ "$X5" -eq "$X4" ] || fail "at the logo's least, a drag left still moved the buttons from $X4 to $X5"

# The band dragged back onto a row of its own, in a 200 px window.
drag $((X5 - 7)) "$GRIP_Y" $((X5 - 7)) $((GRIP_Y + ROW))
xdotool windowsize --sync "$WINDOW" 200 420
look narrow-dragged-band
[ -z "$SHOTS" ] || cp "$WORK/narrow-dragged-band.png" "$SHOTS/"
read -r NX NY < <(buttons_in narrow-dragged-band)
[ "$NX" -eq "$X0" ] || fail "at 200 px the dragged band's buttons start at x=$NX, not at x=$X0"
verdict="$(whole_buttons_only narrow-dragged-band "$NX" "$NY" own-row "$X1" "$Y1")" \
    || fail "at 200 px wide with the band on its own row: $verdict"

quit_editor "Alt+Q did not end the editor"
echo "PASS"
