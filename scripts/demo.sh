#!/usr/bin/env bash
# The main job: installs what is missing, builds every plug-in and runs the
# demo in the host.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
octave-cli --norc --no-history --no-window-system \
  --eval "addpath('$PWD/build/plugins'); addpath('$PWD/demo'); nrx_demo"
