#!/usr/bin/env bash
# Makes docs/draw-in.gif, the animated picture of a chart drawing itself in (README, desktop.md):
# the frames come from the chart player at evenly spaced progresses (plotara_animation_frames,
# the same layout and drawing as a window's frames), ImageMagick assembles them. Run it from the
# repository after building:
#     bash scripts/make-animation-picture.sh [BUILD_DIR]   # default: build
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tool=$build/examples/plotara_animation_frames
if [[ ! -x $tool ]]; then
  cmake --build "$build" --target plotara_animation_frames
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/chart.xml" <<'XML'
<chart caption='Visitors by month' subCaption='Thousands' numberSuffix='k' showValues='1'
       decimals='0' yAxisMaxValue='60' canvasBorderColor='C8C8C8' animation='1'>
  <set label='Jan' value='21' color='1F5F99'/>
  <set label='Feb' value='26' color='1F5F99'/>
  <set label='Mar' value='34' color='1F5F99'/>
  <set label='Apr' value='41' color='1F5F99'/>
  <set label='May' value='47' color='1F5F99'/>
  <set label='Jun' value='55' color='E07B39'/>
</chart>
XML

# 1 s at 25 frames a second (ImageMagick delays are in hundredths), then the still picture.
frames=26
"$tool" "$PWD/share/plotara/charts" PTM02.swf "$work/chart.xml" 480 300 $frames "$work/frame"
moving=()
for ((i = 0; i < frames - 1; ++i)); do moving+=("$(printf '%s/frame-%03d.ppm' "$work" $i)"); done
last=$(printf '%s/frame-%03d.ppm' "$work" $((frames - 1)))
convert -delay 4 "${moving[@]}" -delay 250 "$last" -loop 0 +dither -colors 48 \
  -layers OptimizeTransparency docs/draw-in.gif
ls -l docs/draw-in.gif
