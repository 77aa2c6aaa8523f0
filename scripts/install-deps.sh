#!/bin/bash
# Installs what building and testing Varnok needs on Debian 12 (run as root).
set -euo pipefail
source "$(dirname "$0")/apt-get-waiting.sh"

packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libglib2.0-dev libssl-dev fonts-liberation)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    apt_get update -qq
    apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi
