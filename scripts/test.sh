#!/usr/bin/env bash
# Builds the three configurations and runs their tests: Linux, Linux under ASan+UBSan, and the
# Windows build under Wine; then the fuzz step (scripts/fuzz.sh). Prints one closing line with
# the counts of all of them. Then the package step (scripts/package-check.sh): the .deb of the
# Linux build, installed, started once and removed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh

presets=("${@:-linux asan windows fuzz package}")
read -r -a presets <<<"${presets[*]}"
passed=0
failed=0
for preset in "${presets[@]}"; do
    # The fuzz step: every libFuzzer target about 30 s on its seeds, counted as one check.
    if [ "$preset" = fuzz ]; then
        if bash scripts/fuzz.sh; then
            passed=$((passed + 1))
        else
            echo "=== fuzz: FAILED"
            failed=$((failed + 1))
        fi
        continue
    fi
    # The .deb of the Linux build, counted as one check.
    if [ "$preset" = package ]; then
        if bash scripts/package-check.sh build/linux; then
            passed=$((passed + 1))
        else
            echo "=== package: FAILED"
            failed=$((failed + 1))
        fi
        continue
    fi
    echo "=== $preset: build"
    if ! bash scripts/build.sh "$preset"; then
        echo "=== $preset: BUILD FAILED"
        failed=$((failed + 1))
        continue
    fi
    # The sanitizer and Windows tests borrow the Linux build's stand-in and sample renderer.
    if [ "$preset" != linux ] && [ ! -x build/linux/standin/tovrik-standin ]; then
        echo "=== $preset: building the Linux stand-in its tests use"
        if ! { cmake --preset linux >/dev/null &&
            cmake --build --preset linux --target tovrik-standin tovrik-render-sample; }; then
            echo "=== $preset: the Linux stand-in did not build"
            failed=$((failed + 1))
            continue
        fi
    fi
    if [ "$preset" = windows ]; then tovrik_wine_prefix; fi
    echo "=== $preset: test"
    log="build/$preset/ctest.log"
    # TOVRIK_E2E_WINE=0 leaves out the Windows program's end-to-end runs under Wine (about two
    # minutes) for a quicker local check.
    exclude=()
    if [ "$preset" = windows ] && [ "${TOVRIK_E2E_WINE:-1}" = 0 ]; then exclude=(-E '^e2e_wine'); fi
    # Every test runs once: a test that fails only now and then is a fault to find, not to retry.
    ctest --preset "$preset" "${exclude[@]}" 2>&1 | tee "$log"
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "=== $preset: no test summary"
        failed=$((failed + 1))
        continue
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
echo "${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
