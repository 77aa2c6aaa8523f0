#!/bin/bash
# Installs what is missing, builds Varnok and runs every test, once as it ships
# and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

for variant in plain sanitize; do
    build="$here/build-test-$variant"
    sanitize=OFF
    [[ $variant == sanitize ]] && sanitize=ON
    echo "== $variant build"
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVARNOK_SANITIZE=$sanitize >/dev/null
    cmake --build "$build" -j"$jobs"
    (cd "$build" && ctest --output-on-failure -j"$jobs")
done
