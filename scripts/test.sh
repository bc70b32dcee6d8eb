#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit and integration).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure -j 2 "$@"
