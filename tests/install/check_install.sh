#!/usr/bin/env bash
# Installs the build into a fresh prefix and builds the Debian package, then checks that
# what a user gets works: desktop files valid, guide and man pages in place, tsmeta, its
# bash completion and a headless tagsmith running from the installed files (the package's
# unpacked too).
# Usage: check_install.sh BUILD-DIR CPACK-COMMAND
#        check_install.sh --tree PREFIX    (checks an installed copy only, e.g. /usr)
set -euo pipefail

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

expect_file() {
    [ -f "$1" ] || fail "missing $1"
}

# Starts the editor without a display and ends it the way a desktop's logout does.
headless_start() {
    local program="$1" home
    home="$(mktemp -d "$WORK/home.XXXXXX")"
    mkdir -p -m 0700 "$home/run"
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
        QT_QPA_PLATFORM=offscreen "$program" &
    local pid=$! tries=0
    until [ -n "$(find "$home/run" -type s 2>/dev/null)" ]; do
        tries=$((tries + 1))
        [ "$tries" -lt 150 ] || { kill "$pid"; fail "$program did not start"; }
        sleep 0.1
    done
    kill -TERM "$pid"
    wait "$pid" || fail "$program ended with status $?"
    grep -q '^Version=' "$home/config/Vantorel/Tagsmith LITE.ini" || fail "$program wrote no settings"
}

check_tree() {
    local root="$1" share="$1/share"
    expect_file "$root/bin/tagsmith"
    expect_file "$root/bin/tsmeta"
    desktop-file-validate "$share/applications/com.vantorel.tagsmith.desktop"
    appstreamcli validate --no-net "$share/metainfo/com.vantorel.tagsmith.metainfo.xml" >/dev/null
    expect_file "$share/icons/hicolor/scalable/apps/tagsmith.svg"
    for size in 16 22 24 32 48 64 128 256; do
        expect_file "$share/icons/hicolor/${size}x${size}/apps/tagsmith.png"
        [ "$(file -b "$share/icons/hicolor/${size}x${size}/apps/tagsmith.png" | grep -o "$size x $size")" ] \
            || fail "the ${size} px icon has another size"
    done
    for page in tagsmith tsmeta; do
        expect_file "$share/man/man1/$page.1.gz"
        [ -z "$(gzip -dc "$share/man/man1/$page.1.gz" | groff -man -ww -z 2>&1)" ] \
            || fail "$page.1 has roff warnings"
    done
    expect_file "$share/doc/tagsmith/index.html"
    grep -q '^License: MIT$' "$share/doc/tagsmith/copyright" || fail "the copyright file names no MIT licence"
    gzip -t "$share/doc/tagsmith/changelog.Debian.gz" || fail "changelog.Debian.gz is no gzip file"
    "$root/bin/tsmeta" --help | grep -q '^Usage: tsmeta' || fail "tsmeta --help"
    expect_file "$share/bash-completion/completions/tsmeta"
    bash -c 'source /usr/share/bash-completion/bash_completion 2>/dev/null; source "$1"; complete -p tsmeta' \
        bash "$share/bash-completion/completions/tsmeta" | grep -q '^complete -F _tsmeta tsmeta$' \
        || fail "the installed bash completion completes nothing for tsmeta"
    env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/tagsmith" --version | grep -q '^tagsmith [0-9]' \
        || fail "tagsmith --version without a display"
    headless_start "$root/bin/tagsmith"
}

# Debian's own checks of the package: any error or warning fails, and so does anything
# lintian prints about itself. Lintian warns when it runs as root because unpacking a
# stranger's package with root rights is unsafe; this package is the one just built, and
# CI runs as root, so root is allowed explicitly rather than the check being skipped.
check_lintian() {
    if ! command -v lintian >/dev/null; then
        echo "SKIP: lintian is not installed"
        return 0
    fi
    local options=(--fail-on error,warning --tag-display-limit 0) report
    [ "$(id -u)" -ne 0 ] || options+=(--allow-root)
    if ! report="$(lintian "${options[@]}" "$1" 2>&1)" || [ -n "$report" ]; then
        printf '%s\n' "$report" >&2
        fail "lintian finds fault with $(basename "$1")"
    fi
}

if [ "$1" = --tree ]; then
    check_tree "$2"
    echo "PASS: $2"
    exit 0
fi
BUILD="$1"
CPACK="$2"

cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null
check_tree "$WORK/prefix"

"$CPACK" --config "$BUILD/CPackConfig.cmake" -B "$WORK/package" >/dev/null
DEB="$(find "$WORK/package" -maxdepth 1 -name 'tagsmith_*.deb')"
[ -n "$DEB" ] || fail "cpack made no .deb"
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 qt6-qpa-plugins; do
    grep -q "$needed" <<<"$DEPENDS" || fail "the package does not depend on $needed ($DEPENDS)"
done
dpkg-deb -x "$DEB" "$WORK/unpacked"
check_tree "$WORK/unpacked/usr"
# Built from any folder, the package is the same: nothing in it names the trees it came from,
# not even where a program run in the build tree finds the sources' user guide.
for tree in "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)" "$(realpath "$BUILD")"; do
    ! grep -rqF "$tree" "$WORK/unpacked" || fail "the package names the folder $tree it was built in"
done
check_lintian "$DEB"
echo "PASS: $(basename "$DEB")"
