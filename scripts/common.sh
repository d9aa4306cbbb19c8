# Shared by the scripts in this folder: Debian packages and the build.
set -euo pipefail

TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${TAGSMITH_BUILD_DIR:-$TOP/build}"

PACKAGES=(
    build-essential cmake ninja-build pkg-config libglib2.0-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
    libbenchmark-dev clang libclang-rt-14-dev
    xvfb xauth xdotool imagemagick fonts-liberation desktop-file-utils xdg-utils libglib2.0-bin shared-mime-info
    appstream patch dpkg-dev file lintian bash-completion
)
# Only scripts/coverage needs these; the test suite does not.
COVERAGE_PACKAGES=(gcovr)

# Runs a command as root: directly when this script already is root (CI), else through
# sudo, which asks for the password only now. Everything else runs as the user, so the
# build stays the user's own and the editor keeps the user's display.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo DEBIAN_FRONTEND=noninteractive "$@"
    else
        echo "Installing needs root, and sudo is missing: run as root: $*" >&2
        exit 1
    fi
}

# Installs those of the packages named (by default PACKAGES) that are missing.
install_missing_packages() {
    local wanted=("$@")
    [ ${#wanted[@]} -eq 0 ] && wanted=("${PACKAGES[@]}")
    local missing=()
    local package
    for package in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -q
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure() {
    cmake -S "$TOP" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# The compiler and linker flags of a Debian package build, every hardening feature on
# (fortified libc calls, stack protector, read-only relocations bound at start-up), as
# dpkg-buildflags gives them from the top of the sources, for cmake's command line.
debian_build_flags() {
    DEBIAN_BUILD_FLAGS=(
        "-DCMAKE_CXX_FLAGS=$(dpkg_build_flag CPPFLAGS) $(dpkg_build_flag CXXFLAGS)"
        "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg_build_flag LDFLAGS)"
    )
}

dpkg_build_flag() {
    (cd "$TOP" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1")
}

build() {
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" "$@"
}

# The two programs alone, built as the package ships them.
build_for_package() {
    debian_build_flags
    configure -DTAGSMITH_BUILD_TESTS=OFF -DTAGSMITH_BUILD_BENCH=OFF -DTAGSMITH_BUILD_DEMOS=OFF \
        "${DEBIAN_BUILD_FLAGS[@]}" "$@"
    build --target tagsmith tsmeta
}
