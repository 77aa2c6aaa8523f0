#!/bin/bash
# Builds the Debian package of Varnok as it ships (Release, hardened, tests off) in
# build-package/, checks its desktop entry, AppStream metadata, Depends and lintian's
# verdict, then INSTALLS it into this system with apt-get and checks what it placed.
# For CI and for a throwaway machine: run as root on Debian 12; no display needed.
# scripts/test.sh never calls it, so a developer's test run installs no package.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/apt-get-waiting.sh"
build="$here/build-package"
export DEBIAN_FRONTEND=noninteractive

# dpkg-dev gives dpkg-shlibdeps and `file` lets CPack find the program: without them CPack
# leaves the libraries out of Depends without failing.
bash "$here/scripts/install-deps.sh" dpkg-dev file lintian desktop-file-utils appstream \
    xvfb xdotool x11-utils imagemagick libglib2.0-bin python3-xlib python3-fusepy samba smbnetfs gcc # the end-to-end test's tools

failures=()
fail() {
    echo "FAIL: $*" >&2
    failures+=("$*")
}

echo "== Release build in $build"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVARNOK_BUILD_TESTS=OFF -DVARNOK_BUILD_BENCH=OFF -DVARNOK_SANITIZE=OFF -DVARNOK_HARDEN=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

echo "== cpack -G DEB"
rm -f "$build"/varnok_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/varnok_*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f ${debs[0]} ]]; then
    echo "cpack made no single varnok_*.deb in $build" >&2
    exit 1
fi
deb=${debs[0]}
echo "Package: $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

# The entry and the metadata are checked as the package holds them.
work=$(mktemp -d /tmp/varnok-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
unpacked=$work/root
dpkg-deb -x "$deb" "$unpacked"
desktop=/usr/share/applications/org.example.varnok.desktop
metainfo=/usr/share/metainfo/org.example.varnok.metainfo.xml
icon=/usr/share/icons/hicolor/scalable/apps/varnok.svg
manpage=/usr/share/man/man1/varnok.1.gz

echo "== The program as packaged"
program=$unpacked/usr/bin/varnok
# Read whole before matching: with pipefail, a grep -q that stops reading fails the pipe.
kind=$(file "$program") headers=$(readelf -lW "$program") dynamic=$(readelf -dW "$program")
echo "$kind"
[[ $kind == *', stripped'* ]] || fail "/usr/bin/varnok is not stripped"
[[ $headers == *GNU_RELRO* ]] || fail "/usr/bin/varnok has no read-only relocations (-z relro)"
[[ $dynamic == *BIND_NOW* ]] || fail "/usr/bin/varnok is not bound at load time (-z now)"

echo "== desktop-file-validate $desktop"
# It ends with 0 after warnings: those fail here too, hints do not.
status=0
out=$(desktop-file-validate "$unpacked$desktop" 2>&1) || status=$?
echo "${out:-valid}"
not_hints=$(grep -v ': hint: ' <<<"$out" || true)
if ((status != 0)) || [[ -n $not_hints ]]; then
    fail "desktop-file-validate: the desktop entry has errors or warnings"
fi

echo "== appstreamcli validate --no-net $metainfo"
# Any warning makes appstreamcli end with a status other than 0.
appstreamcli validate --no-net "$unpacked$metainfo" || fail "appstreamcli validate: the metainfo has errors or warnings"

echo "== lintian"
lintian --display-info --pedantic --fail-on none "$deb" >"$work/lintian.out" 2>"$work/lintian.err" ||
    fail "lintian could not check the package"
grep -v '^running with root privileges' "$work/lintian.err" >&2 || true
lintian_out=$(cat "$work/lintian.out")
echo "${lintian_out:-(no tags)}"
if grep -q '^E: ' <<<"$lintian_out"; then
    fail "lintian reports errors"
fi
# A warning about the desktop entry or the manual page fails; other warnings are shown above.
entry_or_manual='desktop|man-?page|manual-page|whatis|groff|usr/share/man/|usr/share/applications/'
concerning=$(grep -E '^W: ' <<<"$lintian_out" | grep -E "$entry_or_manual" || true)
if [[ -n $concerning ]]; then
    fail "lintian warns about the desktop entry or the manual page"
fi

echo "== Depends"
depends=$(dpkg-deb --field "$deb" Depends)
recommends=$(dpkg-deb --field "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
echo "Libraries the program needs: $(sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' <<<"$dynamic" | xargs)"
# names_package LIST PACKAGE: PACKAGE is an entry of the list, with or without a version.
names_package() {
    local entries entry
    IFS=',' read -ra entries <<<"$1"
    for entry in "${entries[@]}"; do
        entry=${entry#"${entry%%[! ]*}"}
        [[ ${entry%% *} == "$2" ]] && return 0
    done
    return 1
}
for p in libqt6widgets6 libglib2.0-0 libssl3 xdg-utils; do
    names_package "$depends" "$p" || fail "Depends does not name $p"
done
names_package "$recommends" fonts-liberation || fail "Recommends does not name fonts-liberation"

echo "== apt-get install $(basename "$deb")"
# apt-get wants the path of a local package to hold a slash; --reinstall refreshes the same
# version. Without the recommendations of the dependencies (xdg-utils would bring a terminal
# emulator), so that the machine changes no more than the package needs.
install_package() {
    (cd "$build" && apt_get install -y -q --no-install-recommends --reinstall "./$(basename "$deb")")
}
install_package || { apt_get update -qq && install_package; }

echo "== What the installed package placed"
[[ -x /usr/bin/varnok ]] || fail "/usr/bin/varnok is missing or not executable"
if missing_libs=$(ldd /usr/bin/varnok | grep 'not found'); then
    echo "$missing_libs"
    fail "/usr/bin/varnok needs libraries that are not installed"
fi
listed=$(dpkg -L varnok)
for f in /usr/bin/varnok "$desktop" "$icon" "$metainfo" "$manpage" \
    /usr/share/doc/varnok/copyright /usr/share/doc/varnok/changelog.gz; do
    if grep -qxF "$f" <<<"$listed" && [[ -f $f ]]; then
        echo "installed: $f"
    else
        fail "dpkg -L varnok does not list $f, or it is not on disk"
    fi
done

# End-to-end test of the installed program, started through its installed desktop entry.
echo "== End-to-end test of /usr/bin/varnok"
E2E_ARTEFACTS=$build bash "$here/tests/e2e/run.sh" /usr/bin/varnok "$desktop" ||
    fail "the end-to-end test of the installed program"

if ((${#failures[@]})); then
    echo
    echo "Package check FAILED (${#failures[@]}):" >&2
    printf '  %s\n' "${failures[@]}" >&2
    exit 1
fi
echo
echo "Package check passed: $deb"
