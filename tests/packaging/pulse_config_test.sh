#!/bin/bash
# Without the PulseAudio development files the build stops at configure time with a
# message naming the package, instead of leaving the voice out silently; with the
# voice switched off on purpose it configures.
set -u
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mkdir "$out/nopc"
if PKG_CONFIG_LIBDIR="$out/nopc" PKG_CONFIG_PATH= cmake -S "$here/pulse_config" -B "$out/a" >"$out/log" 2>&1; then
  echo "configured although libpulse-simple cannot be found"; cat "$out/log"; exit 1
fi
grep -q "libpulse-dev" "$out/log" || { echo "the configure error does not name libpulse-dev"; cat "$out/log"; exit 1; }
PKG_CONFIG_LIBDIR="$out/nopc" PKG_CONFIG_PATH= cmake -S "$here/pulse_config" -B "$out/b" -DKISHARIN_VOICE=OFF >"$out/log" 2>&1 ||
  { echo "KISHARIN_VOICE=OFF does not configure"; cat "$out/log"; exit 1; }
echo "ok"
