# Shared by the end-to-end scripts: a private work folder and settings, removed at exit
# together with the editor they started (EDITOR_PID), and two helpers.
WORK="$(mktemp -d)"
trap '[ "$EDITOR_PID" -eq 0 ] || { kill "$EDITOR_PID"; wait "$EDITOR_PID"; } 2>/dev/null; rm -rf "$WORK"' EXIT
EDITOR_PID=0

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p -m 0700 "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

fail() {
    echo "FAIL: $*" >&2
    exit 1
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
