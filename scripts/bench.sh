#!/usr/bin/env bash
# Times every plug-in through the host against its fastest peer (numpy,
# scipy.ndimage, scikit-image, nibabel, scipy.io or the host's own functions)
# on the same inputs, and writes the table, a chart and a page into
# build/bench-compare (see bench/compare/compare.py --help). Needs the
# plug-ins of build/plugins (scripts/build.sh). The full run takes minutes;
#
#   scripts/bench.sh --quick
#
# is a smoke run of a few seconds on small inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/memory_settings.sh    # for the workers; see compare.py

compare=(/usr/bin/python3 bench/compare/compare.py "$@")
# The acquisition segment's key is fixed and may belong to a scanner's own
# acquisition: its cases run only inside a private IPC namespace, and are
# skipped where none can be made.
if scripts/private_ipc.sh true 2>/dev/null; then
  exec scripts/private_ipc.sh "${compare[@]}"
fi
exec "${compare[@]}"
