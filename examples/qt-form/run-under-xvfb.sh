#!/usr/bin/env bash
# Runs the example form's self-test on a virtual X display: exit 77 (skipped) when xvfb-run is
# not installed, otherwise the form's own exit code. The settings and the saved form go into a
# temporary folder so the run leaves the user's configuration alone.
set -euo pipefail
program=$1
shift
command -v xvfb-run >/dev/null || { echo "xvfb-run not installed: skipped"; exit 77; }
# libxkbcommon-x11 (under Qt's X11 platform) copies X atom names with strndup from buffers that
# are not NUL-terminated, which AddressSanitizer's strict string checks report; a sanitizer build
# runs the form with that one check off.
if [ -n "${ASAN_OPTIONS:-}" ]; then export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"; fi
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x800x24" "$program" --self-test "$@"
