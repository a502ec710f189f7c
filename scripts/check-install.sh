#!/usr/bin/env bash
# Checks Plotara the way its users get it, from a built tree: scripts/check-install.sh BUILD_DIR
#  1. `cmake --install` into a temporary prefix holds the headers, both kinds of libraries, the
#     CMake and pkg-config files, the chart movies, the program and its manual page;
#  2. examples/consumer builds against that prefix with find_package(Plotara), shared and
#     static, compiles every installed header, and draws its chart; so does a build through
#     pkg-config;
#  3. cpack writes the Debian packages plotara and libplotara-dev with the expected files and
#     dependencies; as root they are installed with apt-get, the consumer is built and run
#     against /usr, and the packages are purged again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^#define PLOTARA_VERSION "\(.*\)"$/\1/p' "$build/include/core/Version.h")

fail() {
  echo "check-install: $*" >&2
  exit 1
}
# A drawn chart has many colours; a player without its chart movie leaves a blank picture.
check_picture() {
  [ -s "$1" ] || fail "$1 was not written"
  local colours
  colours=$(identify -format %k "$1")
  [ "$colours" -gt 1 ] || fail "$1 is blank"
  echo "$1: $colours colours"
}
# check_listing FILE PATTERN...: every pattern matches a line of the listing.
check_listing() {
  local listing=$1 pattern
  shift
  for pattern in "$@"; do
    grep -Eq "$pattern" "$listing" || fail "$pattern is missing from $listing"
  done
}
installed_files=(
  '/include/plotara/data/PlotaraData\.h$' '/include/plotara/control/Plotara\.h$'
  '/include/plotara/core/Version\.h$' '/include/plotara/player/draw/Scene\.h$'
  '/include/plotara/platform/headless/HeadlessContainer\.h$'
  '/include/plotara/desktop/PlotaraWidget\.h$' '/include/plotara/desktop/designer/PropertySheet\.h$'
  '/libplotara_data\.so\.1$' '/libplotara_player\.so\.1\.0\.0$' '/libplotara_core\.a$'
  '/cmake/Plotara/PlotaraConfig\.cmake$' '/cmake/Plotara/PlotaraConfigVersion\.cmake$'
  '/pkgconfig/plotara-player\.pc$' '/bin/plotara$' '/libexec/plotara/plotara-view$'
  '/man1/plotara\.1'
  '/share/plotara/charts/PTM01\.swf$' '/share/plotara/sample\.sql$'
  '/doc/plotara/guides/data-builder\.md$'
)

echo "-- install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
(cd "$prefix" && find . -type f -o -type l) >"$work/installed.txt"
check_listing "$work/installed.txt" "${installed_files[@]}"
[ "$("$prefix/bin/plotara" --version)" = "plotara $version" ] || fail "plotara --version"
# The installed program finds the installed chart movies beside its bin folder.
(cd "$work" && "$prefix/bin/plotara" render --type column2d --sample -o program.png)
check_picture "$work/program.png"
# `plotara view` runs the installed libexec/plotara/plotara-view for its window.
echo "<chart><set label='a' value='1'/></chart>" >"$work/view.xml"
(cd "$work" && QT_QPA_PLATFORM=offscreen "$prefix/bin/plotara" view view.xml --snapshot view.png)
check_picture "$work/view.png"
grep -q '^\.SS render' "$prefix/share/man/man1/plotara.1" || fail "the man page lacks the render command"

echo "-- examples/consumer against the prefix"
cmake -S "$root/examples/consumer" -B "$work/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/consumer"
"$work/consumer/consumer" "$work/shared.png"
check_picture "$work/shared.png"
# A static program cannot find a moved prefix from its own location: the variable names it.
PLOTARA_CHARTS="$prefix/share/plotara/charts" "$work/consumer/consumer_static" "$work/static.png"
check_picture "$work/static.png"

echo "-- a build through pkg-config"
pcdir=$(dirname "$(find "$prefix" -name plotara-player.pc)")
libdir=$(dirname "$pcdir")
read -r -a flags <<<"$(PKG_CONFIG_PATH=$pcdir pkg-config --cflags --libs \
  plotara-control plotara-player plotara-platform_headless)"
g++ -std=c++20 "$root/examples/consumer/main.cpp" "${flags[@]}" -Wl,-rpath,"$libdir" \
  -o "$work/pkg-config-consumer"
"$work/pkg-config-consumer" "$work/pkg-config.png"
check_picture "$work/pkg-config.png"

echo "-- Debian packages"
(cd "$build" && cpack -G DEB -B "$work/debs" >/dev/null)
runtime=$(echo "$work"/debs/plotara_"$version"_*.deb)
dev=$(echo "$work"/debs/libplotara-dev_"$version"_*.deb)
[ -f "$runtime" ] && [ -f "$dev" ] || fail "cpack did not write both packages"
dpkg-deb -c "$runtime" >"$work/runtime.txt"
dpkg-deb -c "$dev" >"$work/dev.txt"
check_listing "$work/runtime.txt" '/bin/plotara$' '/libplotara_data\.so\.1 ' '/man1/plotara\.1' \
  '/libexec/plotara/plotara-view$' \
  '/share/plotara/charts/PTM01\.swf$' '/share/plotara/sample\.sql$'
check_listing "$work/dev.txt" '/include/plotara/data/PlotaraData\.h$' '/libplotara_data\.so ' \
  '/libplotara_core\.a$' '/cmake/Plotara/PlotaraConfig\.cmake$' '/pkgconfig/plotara-data\.pc$'
if grep -Eq '/include/' "$work/runtime.txt"; then fail "headers in the runtime package"; fi
dpkg-deb -f "$runtime" Depends >"$work/runtime-depends.txt"
dpkg-deb -f "$dev" Depends >"$work/dev-depends.txt"
check_listing "$work/runtime-depends.txt" 'libcairo2' 'libharfbuzz0b' 'libfreetype6' 'libfribidi0' \
  'libsqlite3-0' 'libodbc' 'libpugixml' 'libstdc\+\+6' 'zlib1g'
check_listing "$work/dev-depends.txt" "plotara \(= $version\)" 'libcairo2-dev' 'zlib1g-dev' 'libharfbuzz-dev' \
  'libpugixml-dev' 'libsqlite3-dev' 'unixodbc-dev' 'pkg-config'
echo "plotara depends on: $(cat "$work/runtime-depends.txt")"

if [ "$(id -u)" -ne 0 ]; then
  echo "-- not root: the packages are not installed"
  exit 0
fi
for package in plotara libplotara-dev; do
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    fail "the package $package is already installed; remove it first"
  fi
done
echo "-- install the packages, build the consumer against /usr, remove the packages"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$runtime" "$dev" >/dev/null
remove_packages() { apt-get purge -y -qq plotara libplotara-dev >/dev/null || true; }
trap 'remove_packages; rm -rf "$work"' EXIT
[ "$(plotara --version)" = "plotara $version" ] || fail "installed plotara --version"
[ -f /usr/share/man/man1/plotara.1 ] || fail "no man page under /usr/share/man"
cmake -S "$root/examples/consumer" -B "$work/consumer-system" -G Ninja >/dev/null
cmake --build "$work/consumer-system"
(cd "$work" && "$work/consumer-system/consumer" system.png && check_picture system.png)
(cd "$work" && "$work/consumer-system/consumer_static" system-static.png &&
  check_picture system-static.png)
echo "-- install checks passed"
