#!/bin/bash
# Installs what is missing, builds Varnok and opens it on a fresh demo laboratory.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "demo.sh: no display to open Varnok on (DISPLAY is not set); run it in a desktop session." >&2
    exit 1
fi
bash "$here/scripts/install-deps.sh" xdg-utils libglib2.0-bin
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOK_BUILD_TESTS=OFF
cmake --build "$here/build" -j"$(nproc)" --target varnok
bash "$here/scripts/make-demo-lab.sh" "$here/build/demo-lab"
cd "$here/build/demo-lab"
exec "$here/build/src/varnok"
