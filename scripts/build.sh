#!/usr/bin/env bash
# Configures and builds one configuration: linux (default), asan, windows or fuzz.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
preset="${1:-linux}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -- -j"${JOBS:-$(nproc)}"
