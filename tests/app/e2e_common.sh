# Shared by the end-to-end scripts: a private work folder and settings, removed at exit
# together with the editor they started (EDITOR_PID), and helpers to drive it.
WORK="$(mktemp -d)"
trap 'stop_editor; rm -rf "$WORK"' EXIT
EDITOR_PID=0
# A command the editor runs through, such as one that drops root's privileges.
RUN_AS=()

# A terminated editor asks about unsaved edits like any close; a test that failed with edits
# or a prompt open must not wait for an answer that never comes.
stop_editor() {
    [ "$EDITOR_PID" -ne 0 ] || return 0
    kill "$EDITOR_PID" 2>/dev/null || true
    for _ in $(seq 20); do
        kill -0 "$EDITOR_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$EDITOR_PID" 2>/dev/null || true
    wait "$EDITOR_PID" 2>/dev/null || true
}

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p -m 0700 "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

fail() {
    echo "FAIL: $*" >&2
    [ "$EDITOR_PID" -eq 0 ] || echo "The editor shows: $(shown_windows)" >&2
    exit 1
}

# The names of the editor's windows on screen, a prompt nobody expected among them.
shown_windows() {
    local id
    for id in $(timeout 5 xdotool search --onlyvisible --pid "$EDITOR_PID" 2>/dev/null); do
        printf '"%s" ' "$(timeout 5 xdotool getwindowname "$id" 2>/dev/null)"
    done
}

# No call waits for ever: with a window in the way that nobody expected (a prompt after a
# slip), --sync would wait until CTest's timeout, which says nothing of why.
xdotool() {
    local status=0
    timeout 10 xdotool "$@" || status=$?
    [ "$status" -ne 124 ] || fail "xdotool $* waited 10 s"
    return "$status"
}

# Waits up to ten seconds for a condition given as a command.
wait_for() {
    local tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || return 1
        sleep 0.1
    done
}

# The META pane and the toolbar shown, in a window of 900 x 700 at the top left.
usual_settings() {
    mkdir -p "$XDG_CONFIG_HOME/Vantorel"
    printf '%s\n' '[Tagsmith%20LITE]' ViewMeta=on Toolbar=on WindowState=normal Left=0 Top=0 Width=900 \
        Height=700 >"$XDG_CONFIG_HOME/Vantorel/Tagsmith LITE.ini"
}

# What tsmeta writes for this description into a copy of the page given, byte for byte:
# what a save of it in the editor must write too.
expected_save() {
    cp "$1" "$WORK/expected.html"
    "$TSMETA" apply --no-backup --description "$2" "$WORK/expected.html" >/dev/null
    cat "$WORK/expected.html"
}

# A window other than the main one: a prompt, a preview or a file dialog, by its title.
other_window() {
    local id
    for _ in $(seq 50); do
        id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -v "^$WINDOW\$" | head -1)" \
            && [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# Gives the window named the keyboard and presses the keys given; fails when it never came.
answer() {
    local title="$1" why="$2" id
    shift 2
    id="$(other_window "$title")" || fail "$why"
    xdotool windowfocus --sync "$id"
    xdotool key --clearmodifiers "$@"
}

saved_with() {
    grep -qF "<META name=\"description\" content=\"$2\">" "$1"
}

ended() {
    ! kill -0 "$EDITOR_PID" 2>/dev/null
}

# Starts the editor with the arguments given and gives its window the keyboard: no window
# manager runs under Xvfb.
start_editor() {
    "${RUN_AS[@]}" "$TAGSMITH" "$@" &
    EDITOR_PID=$!
    WINDOW="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tagsmith LITE' | head -1)" \
        || fail "the main window did not appear"
    xdotool windowfocus --sync "$WINDOW"
    sleep 0.5
}

# Waits for the editor to end well; the argument says what failed when it does not end.
editor_ends() {
    wait_for ended || fail "$1"
    wait "$EDITOR_PID" || fail "the editor ended with status $?"
    EDITOR_PID=0
}

quit_editor() {
    xdotool windowfocus --sync "$WINDOW"
    xdotool key --clearmodifiers alt+q
    editor_ends "$1"
}

# Types over the description; its field has the focus when a page opens or comes forward.
describe() {
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 "$1"
}

# Eight copies of the example page, page1.html to page8.html, named in PAGES.
eight_pages() {
    PAGES=()
    local n
    for n in 1 2 3 4 5 6 7 8; do
        cp "$EXAMPLE" "$WORK/page$n.html"
        PAGES+=("$WORK/page$n.html")
    done
}
