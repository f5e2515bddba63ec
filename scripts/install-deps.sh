#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the game need.
# Idempotent: asks apt only for what is missing; uses sudo only when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  open-jtalk open-jtalk-mecab-naist-jdic  # the Japanese voice of the station announcements
  libpulse-dev  # plays the announcements (PulseAudio simple API)
  fonts-ipafont-gothic fonts-mplus fontconfig
  xvfb xauth xdg-utils
  desktop-file-utils appstream librsvg2-bin dpkg-dev  # icons, desktop entry checks, the Debian package
  nlohmann-json3-dev  # JSON of the open data read by the data builder
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
