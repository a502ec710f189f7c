#!/usr/bin/env bash
# Checks that no include runs from a lower layer up. Each folder may include only from the
# folders listed after it (headers are included from the repository root, "data/PlotaraData.h"):
# core <- platform <- data <- control <- designer; the player knows only core and platform; the
# desktop (Qt) sits on all of them, and apps on top. tests/, bench/, fuzz/ and examples/ may
# include anything.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(
  "core:core"
  "platform:core platform"
  "data:core platform data"
  "control:core platform data control"
  "designer:core platform data control designer"
  "player:core platform player"
  "desktop:core platform data control designer player desktop"
  "apps:core platform data control designer player desktop apps"
)
status=0
for layer in "${layers[@]}"; do
  folder=${layer%%:*}
  [ -d "$folder" ] || continue
  allowed=$(tr ' ' '|' <<<"${layer#*:}")
  # The folder's quoted includes that do not start with an allowed folder.
  if grep -rnE --include='*.h' --include='*.cpp' '^\s*#\s*include\s*"' "$folder" |
    grep -vE "#\s*include\s*\"($allowed)/"; then
    echo "check-layers: $folder/ may include only from: ${layer#*:}" >&2
    status=1
  fi
done
exit $status
