#!/usr/bin/env bash
# Remakes the screenshots of docs/walkthrough.md: builds pellmar-screenshots with the given
# preset (release unless named) and runs it on the offscreen platform, which needs no display.
# Run it after every change to the screens and commit the pictures that changed.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target pellmar-screenshots
rm -f docs/walkthrough/*.png
QT_QPA_PLATFORM=offscreen "build/$preset/tools/pellmar-screenshots" docs/walkthrough
