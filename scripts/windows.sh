#!/bin/bash
# Builds Varnok for Windows on Debian 12, as root: installs what it needs (MinGW-w64, Wine, NSIS,
# CMake, Ninja), builds Debian's own Qt source for MinGW into a cache outside the work tree
# (reused when present), cross-builds varnok.exe and the test programs, runs every test program
# under Wine headless, makes the installer and the zip in build-windows/, checks them, installs
# the program silently under Wine, runs the end-to-end test of the installed program from its
# Start-menu entry under Wine on Xvfb, and uninstalls it.
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
    xvfb xdotool imagemagick python3-xlib python3-fusepy fuse3 openbox x11-utils locales
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

# --- The installer and the zip -------------------------------------------------------------

step "the installer and the zip"
version=$(sed -n 's/^project(Varnok VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
files=$build/package/Varnok
rm -rf "$build/package" && mkdir -p "$files/platforms" "$files/styles"
cp "$build/src/varnok.exe" "$qt/bin/Qt6Core.dll" "$qt/bin/Qt6Gui.dll" "$qt/bin/Qt6Widgets.dll" "$files/"
cp "$qt/plugins/platforms/qwindows.dll" "$files/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$files/styles/"
cp "$mingw_dlls/libstdc++-6.dll" "$mingw_dlls/libgcc_s_seh-1.dll" "$pthread_dll/libwinpthread-1.dll" "$files/"
cp "$here/COPYING" "$files/COPYING.txt"
x86_64-w64-mingw32-strip "$files"/*.exe "$files"/*.dll "$files"/*/*.dll
# Every DLL a file here imports is here too, or is one of Windows's own (those Wine has, and the
# API sets, api-ms-win-*, that Windows's loader resolves itself).
missing=()
while read -r binary; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        [[ ${dll,,} == api-ms-win-* || -n $(find "$files" -iname "$dll" -print -quit) ||
            -f $WINEPREFIX/drive_c/windows/system32/${dll,,} ]] || missing+=("${binary#"$files"/} needs $dll")
    done
done < <(find "$files" -iname '*.exe' -o -iname '*.dll')
((${#missing[@]} == 0)) || { printf 'missing from the package: %s\n' "${missing[@]}" >&2; exit 1; }
zip=$build/varnok-$version-windows-x64.zip setup=$build/varnok-$version-setup.exe
rm -f "$zip" && (cd "$build/package" && zip -qr "$zip" Varnok)
# The uninstaller removes these files and their folders, no others.
remove=$build/package-remove.nsh
{
    (cd "$files" && find . -type f | sort) | sed 's|^\./||; s|/|\\|g; s|.*|Delete "$INSTDIR\\&"|'
    (cd "$files" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./||; s|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|'
} >"$remove"
makensis -V2 -DVERSION="$version" -DFILES="$files" -DOUT="$setup" -DREMOVE="$remove" "$here/share/windows/varnok.nsi"
echo "$zip"
echo "$setup"

step "installed silently under Wine"
installed=$WINEPREFIX/drive_c/Varnok lab_folder=$WINEPREFIX/drive_c/VarnokLab
rm -rf "$installed" "$lab_folder"
wine "$setup" /S '/LAB=C:\VarnokLab' '/D=C:\Varnok'
for file in varnok.exe uninstall.exe Qt6Widgets.dll platforms/qwindows.dll; do
    [[ -f $installed/$file ]] || { echo "the installer did not install $file" >&2; exit 1; }
done
shortcut=$(find "$WINEPREFIX/drive_c/ProgramData" -path '*Start Menu*' -name Varnok.lnk)
[[ -n $shortcut && -d $lab_folder ]] || { echo "no Start-menu entry for all users, or no lab folder" >&2; exit 1; }

step "end to end, from the Start-menu entry and the installed files alone"
WINEPATH='' E2E_ARTEFACTS=$build bash "$here/tests/e2e/windows.sh" "$shortcut" "$lab_folder"

step "uninstalled silently: the installed files go, the lab's and others stay"
echo 'notas' >"$installed/notas.txt" && touch "$lab_folder/pcs.txt"
wine 'C:\Varnok\uninstall.exe' /S '_?=C:\Varnok'
rm -f "$installed/uninstall.exe" # an uninstaller run in place leaves itself
left=$(cd "$installed" && find . -mindepth 1)
[[ $left == ./notas.txt && -f $lab_folder/pcs.txt && -z $(find "$WINEPREFIX/drive_c" -name Varnok.lnk) ]] ||
    { echo "the uninstaller left or took the wrong files: ${left:-nothing left}" >&2; exit 1; }
echo "Windows build, tests, package and end-to-end test passed"
