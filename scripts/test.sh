#!/usr/bin/env bash
# Builds and runs every test: the kernel and plug-in tests of the normal
# build, then all of them again with kernels and plug-ins built under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc)")

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DNRX_SANITIZE=ON -DNRX_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$(nproc)"
(cd build-sanitize && ctest --output-on-failure -j "$(nproc)")
