#!/usr/bin/env bash
# The main job: installs what is missing, builds (which also creates the sample database
# build-release/examples/sample.db), and renders the gallery of every chart type and of charts
# from the built-in sample database into gallery/ (open gallery/index.html).
# Arguments go to `plotara gallery`, e.g. `bash scripts/main.sh --width 640 --height 480`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DPLOTARA_TESTS=OFF
./build-release/apps/plotara gallery -o gallery "$@"
