#!/usr/bin/env bash
# Configures and builds nrx into build/ (plug-ins land in build/plugins).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DNRX_PYTHON=ON >/dev/null
cmake --build build -j "$(nproc)"
