#!/usr/bin/env bash
# Plays games with kisharin-sim, each writing its record, replays every record with
# `kisharin --replay` and checks that the replay ends each game exactly where the
# simulator did: the same points, money and arrivals, byte for byte.
#   scripts/replay-check.sh [GAMES]     (1000 games unless given; BUILD names the build folder)
# Game i is played from seed i; the games take turns over every pairing of player 1
# (scripted, or the computer at each strength) with player 2 (the computer at each
# strength), in short and in normal mode: 24 ways. A game that differs is named with the
# simulator command that plays it again. Prints one summary line; exits 1 on any
# difference, 2 when it cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."

games="${1:-1000}"
if ! [[ "$games" =~ ^[1-9][0-9]{0,6}$ ]]; then
  echo "replay-check: ゲームの数「$games」は 1 以上の整数ではありません" >&2
  exit 2
fi
build="${BUILD:-build}"
sim="$build/tools/sim/kisharin-sim"
game="$build/kisharin"
for program in "$sim" "$game"; do
  if [[ ! -x "$program" ]]; then
    echo "replay-check: $program がありません（make build で作れます）" >&2
    exit 2
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

ways=()
for mode in short normal; do
  for p1 in script weak normal strong; do
    for p2 in weak normal strong; do ways+=("$p1 $p2 $mode"); done
  done
done

# The simulator's log's end of each game, written as the replay prints an end.
ends_of_log() {
  local line field re
  while IFS= read -r line; do
    [[ "$line" == *'"event":"end"'* ]] || continue
    for field in points money arrived; do
      re="\"$field\":\\[(-?[0-9]+),(-?[0-9]+)\\]"
      if [[ "$line" =~ $re ]]; then
        echo "$field ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
      else
        echo "$field ?"
      fi
    done
  done <"$1"
}

identical=0
differing=0
started=$SECONDS
for ((i = 1; i <= games; i++)); do
  read -r p1 p2 mode <<<"${ways[$(((i - 1) % ${#ways[@]}))]}"
  args=(--seed "$i" --p1 "$p1" --p2 "$p2")
  [[ "$mode" == normal ]] && args+=(--normal)
  rec="$work/record.jsonl"
  # Status 1 is a game stuck at the turn limit: its record still replays to where it stopped.
  status=0
  "$sim" "${args[@]}" --record "$rec" --log "$work/log.jsonl" >/dev/null 2>"$work/sim.err" || status=$?
  if ((status > 1)); then
    echo "replay-check: kisharin-sim ${args[*]} が失敗しました（終了状態 $status）: $(head -c 500 "$work/sim.err")" >&2
    differing=$((differing + 1))
    continue
  fi
  ends_of_log "$work/log.jsonl" >"$work/sim.ends"
  status=0
  "$game" --replay "$rec" >"$work/replay.ends" 2>"$work/replay.err" || status=$?
  if ((status == 0)) && cmp -s "$work/sim.ends" "$work/replay.ends"; then
    identical=$((identical + 1))
  else
    differing=$((differing + 1))
    {
      echo "replay-check: kisharin-sim ${args[*]} --record FILE の記録が同じ終わりに再生されません（kisharin --replay の終了状態 $status）"
      diff "$work/sim.ends" "$work/replay.ends" | sed 's/^/  /' || true
      head -c 500 "$work/replay.err" | sed 's/^/  /'
    } >&2
  fi
done

echo "replay-check: games $games, identical $identical, differing $differing, seconds $((SECONDS - started))"
((differing == 0))
