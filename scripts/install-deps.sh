#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the command line need. Safe to run again.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang clang-format
  # scripts/check-function-size.sh: no function longer than about a screen.
  clang-tidy
  libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev
  libcairo2-dev libpng-dev
  # PNG compression (the player writes its own zlib stream).
  zlib1g-dev
  # Text: fonts loaded from their files (FreeType), shaped (HarfBuzz), bidi order (FriBidi);
  # fontconfig only as the last resort for characters no listed font has.
  libfreetype-dev libharfbuzz-dev libfribidi-dev libfontconfig-dev
  # The chart fonts, upright and slanted, and the fallbacks behind DejaVu for the scripts it
  # lacks: CJK and Hangul, Thai, Devanagari, emoji.
  fonts-dejavu-core fonts-dejavu-extra
  fonts-wqy-microhei fonts-tlwg-garuda-ttf fonts-lohit-deva fonts-noto-color-emoji
  libsqlite3-dev sqlite3
  imagemagick
  unixodbc-dev odbcinst libsqliteodbc
  # libltdl.a: unixODBC's loader, for the statically linked plotara program (PLOTARA_STATIC_DEPS)
  libltdl-dev
  libcli11-dev nlohmann-json3-dev
  imagemagick poppler-utils
  # rsvg-convert: the player tests rasterise its SVG to compare texts with their outlines.
  librsvg2-bin
  locales
  help2man
  jq
  # /usr/bin/time -v: peak memory in bench/memory/per_point.sh
  time
  qt6-base-dev xvfb xauth
  # tests/browser: the web pages in headless Chromium, driven by a Python script (standard
  # library only); the pages name the chart fonts above, so a screenshot matches the PNG.
  chromium python3
  # esbuild: the page script minified at build time (a 12-column page 38.8 to 28.6 KB).
  esbuild
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
