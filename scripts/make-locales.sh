#!/usr/bin/env bash
# Generates the locales the number tests run under (C needs nothing). Safe to run again.
set -euo pipefail
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
for name in de_DE fr_FR; do
  if ! locale -a 2>/dev/null | grep -qix "$name.utf-\?8"; then
    $sudo localedef -i "$name" -f UTF-8 "$name.UTF-8"
  fi
done
