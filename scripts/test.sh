#!/usr/bin/env bash
# Builds and runs every test: the kernel and plug-in tests of the normal
# build, then the kernel tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc)")

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DNRX_SANITIZE=ON -DNRX_PLUGINS=OFF -DNRX_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$(nproc)"
(cd build-sanitize && ctest --output-on-failure -j "$(nproc)")
