# Shared by the scripts in this folder: Debian packages and the build.
set -euo pipefail

TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${TAGSMITH_BUILD_DIR:-$TOP/build}"

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libbenchmark-dev clang libclang-rt-14-dev
    xvfb xauth xdotool fonts-liberation desktop-file-utils xdg-utils libglib2.0-bin
    appstream patch dpkg-dev file lintian
)

install_missing_packages() {
    local missing=()
    local package
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Run this script as root (for example with sudo) to install them, or install them yourself." >&2
        exit 1
    fi
    echo "Installing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure() {
    cmake -S "$TOP" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

build() {
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" "$@"
}
