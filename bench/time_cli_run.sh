#!/usr/bin/env bash
# Times pellmar-cli run as a whole process on a generated study of 400 individuals, 10 stages
# and lives of about 150 days; prints wall time and peak memory. Run from the project folder
# after building the release preset.
set -euo pipefail
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/pellmar-make-study" --individuals 400 --stages 10 --adult-life-scale 2 \
  > "$work/large.txt"
/usr/bin/time -f 'wall %e s, peak memory %M KiB' \
  "$build/src/cli/pellmar-cli" run "$work/large.txt" > /dev/null
