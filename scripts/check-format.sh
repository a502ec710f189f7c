#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted with the project's clang-format configuration.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror
