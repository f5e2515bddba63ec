#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks what a player installs: the
# program, every piece of shipped data, the desktop entry, icons, metainfo, the manual
# page, the manual with its pictures and a copyright file that credits the data; and
# lintian's judgement.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { tail -30 "$out/cpack.log"; fail "cpack"; }
deb=$(ls "$out"/kisharin_*.deb 2>/dev/null | head -1)
[[ -n "$deb" ]] || fail "no kisharin_*.deb in $out"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
need() { grep -qxF "$1" <<<"$files" || fail "the package lacks $1"; }
need ./usr/games/kisharin
need ./usr/share/kisharin/GameData/駅.txt
need ./usr/share/kisharin/GameData/NameData.txt
need ./usr/share/kisharin/GameData/URL.txt
for n in 1 2 3 4 5 6 7 8; do need ./usr/share/kisharin/Train/$n.bmp; done
for pref in 北海道 東京都 大阪府 沖縄県; do
  for f in PL.dat L.dat NEWS.dat L_rr.dat L_st.dat St.dat; do need ./usr/share/kisharin/MapData/$pref/$f; done
done
[[ $(grep -c '^\./usr/share/kisharin/MapData/[^/]*/$' <<<"$files") -eq 47 ]] || fail "not 47 prefectures of map data"
grep -q '^\./usr/share/kisharin/voice/.*\.htsvoice$' <<<"$files" || fail "the package lacks the voice"
need ./usr/share/applications/kisharin.desktop
need ./usr/share/icons/hicolor/scalable/apps/kisharin.svg
for s in 48 128 256; do need ./usr/share/icons/hicolor/${s}x${s}/apps/kisharin.png; done
need ./usr/share/metainfo/jp.kisharin.kisharin.metainfo.xml
need ./usr/share/man/man6/kisharin.6.gz
need ./usr/share/doc/kisharin/Manual.htm
need ./usr/share/doc/kisharin/copyright
need ./usr/share/doc/kisharin/changelog.gz
need ./usr/share/lintian/overrides/kisharin
grep -q '^\./usr/\(bin\|games\)/kisharin-' <<<"$files" && fail "the developers' tools are installed"
grep -q '^\./usr/bin/.' <<<"$files" && fail "a game's program belongs in /usr/games, not /usr/bin"

[[ $(dpkg-deb -f "$deb" Package) == kisharin ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6charts6 libc6 open-jtalk open-jtalk-mecab-naist-jdic fonts-ipafont-gothic qt6-translations-l10n; do
  grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done

mkdir "$out/root"
dpkg-deb -x "$deb" "$out/root"
copyright=$out/root/usr/share/doc/kisharin/copyright
grep -q 'CC BY-SA 4.0' "$copyright" || fail "copyright lacks the railway data's licence"
grep -q '国土数値情報' "$copyright" || fail "copyright lacks the open data's credit"
grep -q 'Permission is hereby granted' "$copyright" || fail "copyright lacks the program's licence"
# Written for the people who install the game: no notes on building it, no other
# package's Debian text.
for note in 'make data' 'databuilder' 'third_party/' 'not part of the' 'debian/\*'; do
  grep -q "$note" "$copyright" && fail "copyright carries \"$note\""
done
# Machine-readable: read strictly, and every installed file falls under a Files
# paragraph whose licence is spelt out.
find "$out/root" -type f -printf '%P\n' >"$out/installed.txt"
/usr/bin/python3 - "$copyright" "$out/installed.txt" <<'PY' || fail "copyright is not machine-readable"
import sys
from debian.copyright import Copyright
with open(sys.argv[1], encoding="utf-8") as f:
    c = Copyright(f, strict=True)
spelt = {p.license.synopsis for p in c.all_license_paragraphs()}
spelt |= {p.license.synopsis for p in c.all_files_paragraphs() if p.license.text}
with open(sys.argv[2], encoding="utf-8") as f:
    for path in f.read().splitlines():
        p = c.find_files_paragraph(path)
        if p is None or p.license.synopsis not in spelt:
            sys.exit(f"{path}: no licence")
voice = c.find_files_paragraph("usr/share/kisharin/voice/nitech_jp_atr503_m001.htsvoice")
if voice.license.synopsis != "CC-BY-3.0":
    sys.exit("the voice is not CC-BY-3.0")
if c.find_files_paragraph("usr/share/kisharin/GameData/駅.txt").license.synopsis != "CC-BY-SA-4.0":
    sys.exit("the railway is not CC-BY-SA-4.0")
PY
gzip -dc "$out/root/usr/share/doc/kisharin/changelog.gz" >"$out/changelog"
[[ $(dpkg-parsechangelog -l "$out/changelog" -S Version) == $(dpkg-deb -f "$deb" Version) ]] ||
  fail "the changelog's last version is not the package's"
gzip -dc "$out/root/usr/share/man/man6/kisharin.6.gz" | grep -q '^\.TH KISHARIN 6' || fail "manual page"
# The installed program finds its data in ../share/kisharin.
[[ -x "$out/root/usr/games/kisharin" ]] || fail "program not executable"
# Every picture the manual shows is installed beside it.
doc=$out/root/usr/share/doc/kisharin
for pic in $(grep -o 'src="[^"]*"' "$doc/Manual.htm" | sed 's/^src="//; s/"$//'); do
  [[ -f "$doc/$pic" ]] || fail "the manual's picture $pic is not installed"
done

# Lintian: an error, a warning without an override giving its reason, or an override that
# matches nothing (lintian: unused, or mismatched with the tag's files) fails.
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" >"$out/lintian.log" 2>&1 || {
  cat "$out/lintian.log" >&2
  fail "lintian"
}
grep -q -e "unused-override" -e "mismatched-override" "$out/lintian.log" && { cat "$out/lintian.log" >&2; fail "an unused lintian override"; }
echo "package ok: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB, $(wc -l <<<"$files") entries"
