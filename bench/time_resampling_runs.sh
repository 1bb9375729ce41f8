#!/usr/bin/env bash
# Times the resampling runs of pellmar-cli as whole processes on a generated study of 400
# individuals whose stable age-stage distribution has been read: a bootstrap of 100,000 own
# samples of 400, the same with the study's fecundity, then with a 90-day projection and its
# band, a bootstrap of the 100,000 replicates of the samples file that one writes, and the
# jackknife. Prints wall time and peak memory of each.
# Run from the project folder after building the release preset.
set -euo pipefail
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/pellmar-make-study" --individuals 400 --fecundity "$work/fecundity.txt" \
  > "$work/study.txt"
cli="$build/src/cli/pellmar-cli"
# The stable age-stage distribution of the study's own fecundity life table, and the samples of
# a seeded bootstrap with it.
"$cli" run "$work/study.txt" --fecundity "$work/fecundity.txt" --bootstrap 100000 --seed 1 \
  --write-samples > /dev/null 2>&1
mv "$work/study_10_SASD_from_fecundity.txt" "$work/sasd.txt"
mv "$work/study_11_Bootstrap_samples_from_fecundity.txt" "$work/samples.txt"
timed() {
  local name=$1
  shift
  rm -f "$work"/study_*
  /usr/bin/time -f "$name: wall %e s, peak memory %M KiB" "$cli" run "$work/study.txt" \
    "$@" > /dev/null 2> "$work/log" || { cat "$work/log"; exit 1; }
  tail -n 1 "$work/log"
}
timed "own samples, B = 100000, n = 400" --sasd "$work/sasd.txt" --bootstrap 100000 --seed 1
timed "own samples with fecundity, B = 100000, n = 400" --fecundity "$work/fecundity.txt" \
  --bootstrap 100000 --seed 1
timed "own samples with fecundity and a 90-day projection with its band" \
  --fecundity "$work/fecundity.txt" --bootstrap 100000 --seed 1 --projection-days 90
timed "same samples, B = 100000" --sasd "$work/sasd.txt" --same-samples "$work/samples.txt"
timed "jackknife, N = 400" --sasd "$work/sasd.txt" --jackknife
