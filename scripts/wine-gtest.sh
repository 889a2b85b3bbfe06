#!/usr/bin/env bash
# Runs a GoogleTest executable under Wine. Wine's exit code can be 0 when the program never
# started, so the verdict comes from GoogleTest's own summary lines.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
tovrik_wine_prefix

exe="$1"; shift
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
wine "$exe" --gtest_color=no "$@" 2>&1 | tr -d '\r' | tee "$log"

if grep -q '^\[  PASSED  \] [0-9]* test' "$log" && ! grep -q '^\[  FAILED  \]' "$log"; then
    exit 0
fi
echo "wine-gtest: no passing GoogleTest summary from $exe" >&2
exit 1
