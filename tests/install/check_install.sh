#!/usr/bin/env bash
# Builds the two programs as the Debian package ships them (scripts/package's build, with
# Debian's hardened flags, in BUILD-DIR/package-build), installs them into a fresh prefix and
# builds the package, then checks that what a user gets works: desktop files valid, guide and
# man pages in place, tsmeta, its bash completion and a headless tagsmith running from the installed files, Help >
# Index finding the guide (the package's unpacked too); that the programs are hardened; and
# that installing the package leaves the default application of web pages as it was.
# Usage: check_install.sh BUILD-DIR CPACK-COMMAND [CMAKE-ARGUMENTS...]
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

# Help > Index (F1) of the editor, the desktop's viewer a stand-in that writes down what it
# was given, on a virtual display: the editor opens the guide installed with it.
check_help_index() {
    local root="$1" home
    if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
        echo "SKIP: Help > Index needs xvfb-run and xdotool"
        return 0
    fi
    home="$(mktemp -d "$WORK/home.XXXXXX")"
    mkdir -p "$home/bin" && mkdir -p -m 0700 "$home/run"
    printf '#!/bin/sh\nprintf "%%s" "$1" >"$0.part" && mv "$0.part" "$0.args"\n' >"$home/bin/xdg-open"
    chmod +x "$home/bin/xdg-open"
    PATH="$home/bin:$PATH" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
        xvfb-run -a -s "-screen 0 1024x768x24" "${BASH_SOURCE[0]}" --press-f1 "$root/bin/tagsmith" \
        "$home/bin/xdg-open.args"
    [ "$(realpath "$(cat "$home/bin/xdg-open.args")")" = "$(realpath "$root/share/tagsmith/guide/index.html")" ] \
        || fail "Help > Index opened $(cat "$home/bin/xdg-open.args"), not the guide installed in $root"
}

# Inside check_help_index's display: starts the editor, gives it F1, waits for the viewer.
press_f1() {
    local program="$1" record="$2" window tries=0
    unset QT_QPA_PLATFORM
    "$program" &
    local pid=$!
    window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tagsmith LITE' | head -1)" \
        || { kill "$pid"; fail "$program showed no window"; }
    xdotool windowfocus --sync "$window"
    xdotool key F1
    until [ -f "$record" ]; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || { kill "$pid"; fail "F1 started no viewer"; }
        sleep 0.1
    done
    kill -TERM "$pid"
    wait "$pid" || fail "$program ended with status $?"
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
    expect_file "$share/tagsmith/guide/index.html"
    [ "$(readlink "$share/doc/tagsmith/guide")" = ../../tagsmith/guide ] \
        || fail "share/doc/tagsmith/guide is no relative link to the guide"
    expect_file "$share/doc/tagsmith/guide/index.html"
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
    check_help_index "$root"
}

# Built with Debian's hardening: every program position-independent, its relocations
# read-only and bound at start-up, its stack protected and its libc calls fortified.
check_hardened() {
    local program dynamic symbols
    for program in "$@"; do
        [ "$(readelf -h "$program" | awk '/Type:/ { print $2 }')" = DYN ] || fail "$program is no PIE"
        readelf -lW "$program" | grep -q GNU_RELRO || fail "$program has no read-only relocations"
        dynamic="$(readelf -dW "$program")"
        grep -Eq 'FLAGS.*\bNOW\b|BIND_NOW' <<<"$dynamic" || fail "$program binds lazily (no -z now)"
        symbols="$(readelf --dyn-syms -W "$program")"
        grep -q '__stack_chk_fail' <<<"$symbols" || fail "$program has no stack protector"
        grep -Eq '__[a-z]+_chk\b' <<<"$symbols" || fail "$program calls no fortified libc function"
    done
}

# Runs a command in a desktop of the given data folders and home alone, away from the
# session this runs in.
in_private_desktop() {
    local data_dirs="$1" home="$2"
    shift 2
    env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY -u XDG_CURRENT_DESKTOP -u XDG_SESSION_DESKTOP \
        -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u MATE_DESKTOP_SESSION_ID LC_ALL=C \
        XDG_DATA_DIRS="$data_dirs" XDG_CONFIG_DIRS="$home/no-config" XDG_DATA_HOME="$home/data" \
        XDG_CONFIG_HOME="$home/config" "$@"
}

# What opens web pages there, as xdg-mime (generic and on GNOME) and GIO answer.
html_defaults() {
    local gio
    printf 'xdg-mime: %s\n' "$(in_private_desktop "$1" "$2" xdg-mime query default text/html || true)"
    printf 'xdg-mime on GNOME: %s\n' \
        "$(in_private_desktop "$1" "$2" env XDG_CURRENT_DESKTOP=GNOME xdg-mime query default text/html || true)"
    gio="$(in_private_desktop "$1" "$2" gio mime text/html | head -n 1 || true)"
    printf 'gio: %s\n' "${gio#Default application for *: }"
}

# Installing the package is its files joining the system's folders (its programs on PATH,
# which GIO looks for) and dpkg's trigger renewing the MIME cache of their applications. Whether or not anything opened web pages
# before (nothing; a browser), each reader answers the same after.
check_defaults_kept() {
    local unpacked="$1" system before after
    if ! command -v xdg-mime >/dev/null || ! command -v gio >/dev/null \
        || ! command -v update-desktop-database >/dev/null; then
        echo "SKIP: the defaults check needs xdg-mime, gio and update-desktop-database"
        return 0
    fi
    cp -a "$unpacked" "$WORK/installed"
    update-desktop-database "$WORK/installed/usr/share/applications"
    for system in nothing browser; do
        mkdir -p "$WORK/$system/applications" "$WORK/$system-home"
        [ ! -d /usr/share/mime ] || ln -s /usr/share/mime "$WORK/$system/mime"
        if [ "$system" = browser ]; then
            printf '[Desktop Entry]\nType=Application\nName=Browser\nExec=true %%u\nMimeType=text/html;\n' \
                >"$WORK/$system/applications/browser.desktop"
            update-desktop-database "$WORK/$system/applications"
        fi
        before="$(html_defaults "$WORK/$system" "$WORK/$system-home")"
        after="$(PATH="$WORK/installed/usr/bin:$PATH" \
            html_defaults "$WORK/$system:$WORK/installed/usr/share" "$WORK/$system-home")"
        [ "$after" = "$before" ] \
            || fail "installing the package changed what opens web pages on a system with $system for them:
before:
$before
after:
$after"
    done
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
if [ "$1" = --press-f1 ]; then
    press_f1 "$2" "$3"
    exit 0
fi
CPACK="$2"
TAGSMITH_BUILD_DIR="$1/package-build"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
build_for_package "${@:3}" >"$WORK/build.log" 2>&1 \
    || { cat "$WORK/build.log" >&2; fail "the programs could not be built as the package builds them"; }

cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >/dev/null
check_tree "$WORK/prefix"
check_hardened "$WORK/prefix/bin/tagsmith" "$WORK/prefix/bin/tsmeta"

"$CPACK" --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/package" >/dev/null
DEB="$(find "$WORK/package" -maxdepth 1 -name 'tagsmith_*.deb')"
[ -n "$DEB" ] || fail "cpack made no .deb"
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 qt6-qpa-plugins; do
    grep -q "$needed" <<<"$DEPENDS" || fail "the package does not depend on $needed ($DEPENDS)"
done
dpkg-deb -x "$DEB" "$WORK/unpacked"
check_tree "$WORK/unpacked/usr"
check_hardened "$WORK/unpacked/usr/bin/tagsmith" "$WORK/unpacked/usr/bin/tsmeta"
check_defaults_kept "$WORK/unpacked"
# Built from any folder, the package is the same: nothing in it names the trees it came from,
# not even where a program run in the build tree finds the sources' user guide.
for tree in "$TOP" "$(realpath "$1")"; do
    ! grep -rqF "$tree" "$WORK/unpacked" || fail "the package names the folder $tree it was built in"
done
check_lintian "$DEB"
echo "PASS: $(basename "$DEB")"
