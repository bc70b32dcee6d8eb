#!/usr/bin/env bash
# Installs what is needed, builds, and converts the bundled sample documents to PDF.
# The options come from a fresh Kelva.ini of the demo's own, so a user's settings are untouched.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

out="$root/out/samples"
export KELVARA_CONFIG_DIR="$root/out/config"
mkdir -p "$KELVARA_CONFIG_DIR"
# Position 6 of the output list is PDF; position 0 of the input list takes every file.
"$root/build/kelvara-batch" /i: "$root/samples/" /o: "$out/" /if: 0 /of: 6
