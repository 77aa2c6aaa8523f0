#!/bin/bash
# Builds Varnok for Windows on Debian 12, as root: installs what it needs (MinGW-w64, Wine, NSIS,
# CMake, Ninja), builds Debian's own Qt source for MinGW into a cache outside the work tree
# (reused when present), cross-builds varnok.exe and the test programs, runs every test program
# under Wine headless, makes the installer and the zip in build-windows/, checks them, installs
# the program silently under Wine and starts it from the installed files, and runs the
# end-to-end test of varnok.exe under Wine on Xvfb.
#
#   bash scripts/windows.sh
#
# VARNOK_WINDOWS_CACHE chooses the cache (default /var/cache/varnok-windows).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/apt-get-waiting.sh"
build=$here/build-windows
cache=${VARNOK_WINDOWS_CACHE:-/var/cache/varnok-windows}
jobs=$(nproc)
step() { echo "== $*"; }

step "tools"
bash "$here/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64 wine nsis ninja-build dpkg-dev zip qt6-base-dev-tools \
    xvfb xdotool imagemagick python3-xlib locales
# Wine gives Linux the names of files in the locale's character set: the tests' pt_PT.UTF-8 must exist.
if ! locale -a | grep -qx 'pt_PT.utf8'; then
    sed -i 's/^# *pt_PT.UTF-8 UTF-8/pt_PT.UTF-8 UTF-8/' /etc/locale.gen
    locale-gen >/dev/null
fi

# --- Qt for MinGW, from Debian's source of the host's Qt ---------------------------------

qt_version=$(dpkg-query -W -f='${Version}' libqt6core6)
qt_configure=(-release -shared -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -qt-host-path /usr -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -no-feature-sql
    -no-feature-network -no-feature-printsupport -no-feature-concurrent -no-feature-xml
    # tabletevent: Debian's source leaves out wintab.h; androiddeployqt: Debian's patch for cross
    # builds would build it.
    -no-feature-tabletevent -no-feature-androiddeployqt -no-feature-vulkan
    -qt-zlib -qt-pcre -qt-libpng -no-libjpeg -qt-harfbuzz -qt-doubleconversion -qt-freetype -no-fontconfig)
key=$(printf '%s\n' "$qt_version" "${qt_configure[@]}" | sha256sum | cut -c1-12)
qt=$cache/qt-${qt_version%%+*}-$key
if [[ ! -f $qt/.built ]]; then
    step "Qt $qt_version for MinGW, into $qt (about twenty minutes on two cores)"
    source_list=/etc/apt/sources.list.d/varnok-qt-source.sources
    if [[ ! -f $source_list ]]; then
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            >"$source_list"
        apt_get update -qq
    fi
    sources=$cache/src-$qt_version
    if [[ ! -d $sources/qt6-base-${qt_version%-*} ]]; then
        rm -rf "$sources" && mkdir -p "$sources"
        (cd "$sources" && apt-get source -qq "qt6-base=$qt_version")
    fi
    rm -rf "$cache/qt-build" "$qt"
    mkdir -p "$cache/qt-build"
    (cd "$cache/qt-build" &&
        "$sources/qt6-base-${qt_version%-*}/configure" -prefix "$qt" "${qt_configure[@]}" -- \
            -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log &&
        cmake --build . --parallel "$jobs" >build.log &&
        cmake --install . >install.log) || { tail -40 "$cache"/qt-build/*.log; exit 1; }
    rm -rf "$cache/qt-build"
    touch "$qt/.built"
fi

# --- Varnok and its tests -----------------------------------------------------------------

step "varnok.exe and the test programs"
export WINEPREFIX=$cache/wine WINEDEBUG=-all
mingw_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread_dll=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-file-name=libwinpthread-1.dll)")
export WINEPATH="Z:${qt//\//\\}\\bin;Z:${mingw_dlls//\//\\};Z:${pthread_dll//\//\\}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
cmake --build "$build" --parallel "$jobs"

step "the tests, under Wine"
wineboot --init >/dev/null 2>&1 || true
# As on Windows, a name that begins with a dot is no hidden file.
wine reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1
(cd "$build" && ctest --output-on-failure --parallel "$jobs")
