#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the game need.
# Idempotent: asks apt only for what is missing; uses sudo only when not root.
# Prints one line of what it installs; apt's own output goes to a log file whose path
# it names, and only the log's end is shown when something fails.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libxcb1-dev  # sends the earthquake's moves of the board to the X server while the game holds
  qt6-translations-l10n  # Qt's own buttons and dialogs in Japanese (qtbase_ja.qm)
  qt6-websockets-dev  # the network game (host and guest over WebSocket)
  qt6-charts-dev libqt6opengl6-dev  # the charts of the story window 「対戦の記録」 (Charts needs OpenGL's CMake files)
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  open-jtalk open-jtalk-mecab-naist-jdic  # the Japanese voice of the station announcements
  libpulse-dev  # plays the announcements (PulseAudio simple API)
  fonts-ipafont-gothic fonts-mplus fontconfig
  xvfb xauth xdg-utils
  desktop-file-utils appstream librsvg2-bin dpkg-dev file  # icons, desktop entry checks, the Debian package
  python3-debian  # reads the package's machine-readable copyright file strictly (package test)
  lintian  # judges the package as Debian does (package test)
  nlohmann-json3-dev  # JSON of the open data read by the data builder
  clang libclang-rt-14-dev  # make fuzz: clang with the libFuzzer and sanitizer runtimes
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: not root and no sudo; run as root: apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi

log=$(mktemp "${TMPDIR:-/tmp}/kisharin-install-deps.XXXXXX.log")
echo "install-deps: installing ${#missing[@]} packages (${missing[*]}); log: $log"
export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update -q && \
       "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  echo "install-deps: installing failed; the end of $log:" >&2
  tail -n 25 "$log" >&2
  exit 1
fi
