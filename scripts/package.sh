#!/usr/bin/env bash
# Builds the Octave package tarball build/dist/nrx-<version>.tar.gz, which
# `pkg install` builds with mkoctfile and `pkg load nrx` puts on the path.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target octave_package
ls "$PWD"/build/dist/nrx-*.tar.gz
