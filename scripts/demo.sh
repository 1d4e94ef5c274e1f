#!/usr/bin/env bash
# The main job: installs what is missing, builds every plug-in and runs the
# brain tour in the host. The tour prints its table and writes its pictures
# and report page into build/tour.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
out="$PWD/build/tour"
# Volumes come back to Octave as new arrays of tens of megabytes.
. scripts/memory_settings.sh
export GLIBC_TUNABLES="$NRX_GLIBC_TUNABLES"
tour=(octave-cli --norc --no-history --no-window-system
      --eval "addpath('$PWD/build/plugins', '$PWD/demo'); exit(nrx_tour('$out'))")
# The acquisition segment's key is fixed and may belong to a scanner's own
# acquisition: the tour touches it only inside a private IPC namespace, and
# skips that step where none can be made.
if scripts/private_ipc.sh true 2>/dev/null; then
  exec scripts/private_ipc.sh "${tour[@]}"
fi
exec "${tour[@]}"
