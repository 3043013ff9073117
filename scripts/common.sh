# Shared by test.sh and run.sh: packages, the isolated Wine environment, the build, the virtual display.
# Sourced, not run.

VIREON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${VIREON_BUILD_DIR:-$VIREON_ROOT/build}

VIREON_PACKAGES=(
    cmake ninja-build python3
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools
    wine wine32:i386 xvfb xauth x11-utils imagemagick googletest
    gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 gstreamer1.0-plugins-bad:i386
    gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
    ffmpeg dvdauthor lsdvd clang libclang-rt-14-dev fonts-inter
)

say() { printf '%s\n' "$*" >&2; }

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'
}

# Installs what is missing; apt runs only when something is.
ensure_packages() {
    local missing=() p
    for p in "${VIREON_PACKAGES[@]}"; do
        package_installed "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        say "missing packages (run as root to install them): ${missing[*]}"
        exit 1
    fi
    mkdir -p "$BUILD_DIR"
    local log="$BUILD_DIR/apt.log"
    say "installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 >>"$log" 2>&1
    fi
    if ! apt-get update >>"$log" 2>&1; then
        say "could not reach the package archive to install: ${missing[*]} (details in $log)"
        exit 1
    fi
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >>"$log" 2>&1; then
        for p in "${missing[@]}"; do
            package_installed "$p" || { say "could not install package: $p (details in $log)"; exit 1; }
        done
    fi
}

# A HOME and a Wine prefix of the run's own, under the build folder.
prepare_environment() {
    export VIREON_USER_HOME=${VIREON_USER_HOME:-$HOME}
    export HOME="$BUILD_DIR/testenv/home"
    export WINEPREFIX="$BUILD_DIR/testenv/wineprefix"
    export WINEDEBUG=-all
    export WINEARCH=win32
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export XDG_CACHE_HOME="$HOME/.cache" XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
    export XDG_RUNTIME_DIR="$BUILD_DIR/testenv/run"
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    # No sound card on these machines: a null ALSA device lets the audio renderer work.
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "creating the Wine prefix (once)"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

# Without a window manager (the virtual screen has none), Wine waits two seconds for every hidden
# managed window to be withdrawn; unmanaged windows skip that wait. A real desktop keeps them managed.
set_window_management() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >/dev/null 2>&1
}

configure_and_build() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$VIREON_ROOT" -B "$BUILD_DIR" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$VIREON_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null ||
            { say "cmake configuration failed"; exit 1; }
    fi
    cmake --build "$BUILD_DIR" -j "$(nproc)" || { say "build failed"; exit 1; }
}

XVFB_PID=
stop_xvfb() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# One virtual screen for the run, on the first free display number.
start_xvfb() {
    local n
    for n in $(seq 90 189); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
        XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        stop_xvfb
    done
    say "could not start Xvfb"
    exit 1
}
