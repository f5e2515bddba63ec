#!/usr/bin/env bash
# Runs every libFuzzer program of a fuzz build folder in turn for FUZZ_SECONDS each.
#   fuzz/run.sh BUILD_FOLDER [TARGET...]
# New inputs go to BUILD_FOLDER/corpus/<target>/ (the committed corpus under
# fuzz/corpus/<target>/ is read, never written); an input that breaks a reader is kept
# in BUILD_FOLDER/found/<target>/ and the run stops. Once the reader is mended, copy that
# input into fuzz/corpus/<target>/ so that `make test` replays it from then on.
# `fuzz/run.sh --merge BUILD_FOLDER` folds the new inputs that reach code the committed
# corpus does not into fuzz/corpus/ (only those: the committed corpus stays small).
set -euo pipefail
cd "$(dirname "$0")/.."
merge=0
if [[ "${1:-}" == "--merge" ]]; then merge=1; shift; fi
build="${1:?usage: fuzz/run.sh [--merge] BUILD_FOLDER [TARGET...]}"
shift
seconds="${FUZZ_SECONDS:-60}"
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  for f in fuzz/targets/*.cpp; do t="${f##*/}"; targets+=("${t%.cpp}"); done
fi
for t in "${targets[@]}"; do
  program="$build/fuzz/fuzz_$t"
  [[ -x "$program" ]] || { echo "fuzz: $program is missing (make fuzz builds it)" >&2; exit 1; }
  mkdir -p "$build/corpus/$t" "$build/found/$t"
  if [[ $merge -eq 1 ]]; then
    # Edges only, not how often they run: the committed corpus stays a few dozen files.
    "$program" -merge=1 -use_counters=0 "fuzz/corpus/$t" "$build/corpus/$t" 2>&1 | tail -n 1
    continue
  fi
  echo "== fuzz_$t for $seconds s"
  "$program" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$build/found/$t/" "$build/corpus/$t" "fuzz/corpus/$t" 2>&1 |
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|SUMMARY|fuzz:|Test unit written)' || true
  if compgen -G "$build/found/$t/*" >/dev/null; then
    echo "fuzz: fuzz_$t found a fault: $(ls "$build/found/$t")" >&2
    exit 1
  fi
done
