#!/usr/bin/env bash
# Builds and runs every test: the kernel and plug-in tests of the normal
# build, one-minute fuzz runs of the unpacker and the NIfTI reader, then all
# the tests again with kernels and plug-ins built under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc)")

# The Python package installs offline over Debian's packages, and the
# installed package keeps its contract (every binding, its documentation);
# ctest has already run the whole Python suite on the package of the build.
venv=build/python-venv
rm -rf "$venv" && /usr/bin/python3 -m venv --system-site-packages "$venv"
"$venv/bin/pip" install -q --no-build-isolation --no-index .
PYTHONDONTWRITEBYTECODE=1 "$venv/bin/python" -m pytest -q -p no:cacheprovider tests/python/test_contract.py

CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNRX_FUZZ=ON \
  -DNRX_PLUGINS=OFF -DNRX_TESTS=OFF -DNRX_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
mkdir -p build-fuzz/corpus build-fuzz/seeds
octave-cli --norc --no-history --no-window-system \
  --eval "addpath('$PWD/build/plugins', '$PWD/tests/octave/support', '$PWD/tests/fuzz'); write_seeds('$PWD/build-fuzz/seeds')"
/usr/bin/python3 tests/octave/support/scipy_mat.py write build-fuzz/seeds
if ! build-fuzz/tests/fuzz/nrx_unpack_value_fuzzer -max_total_time=60 -max_len=8192 \
     build-fuzz/corpus build-fuzz/seeds >build-fuzz/fuzz.log 2>&1; then
  tail -n 60 build-fuzz/fuzz.log
  exit 1
fi
echo "Fuzzing the unpacker: $(tail -n 1 build-fuzz/fuzz.log)"
mkdir -p build-fuzz/nifti-corpus build-fuzz/nifti-seeds
octave-cli --norc --no-history --no-window-system \
  --eval "addpath('$PWD/tests/fuzz'); write_nifti_seeds('$PWD/build-fuzz/nifti-seeds')"
if ! build-fuzz/tests/fuzz/nrx_nifti_read_fuzzer -max_total_time=60 -max_len=4096 \
     build-fuzz/nifti-corpus build-fuzz/nifti-seeds >build-fuzz/nifti-fuzz.log 2>&1; then
  tail -n 60 build-fuzz/nifti-fuzz.log
  exit 1
fi
echo "Fuzzing the NIfTI reader: $(tail -n 1 build-fuzz/nifti-fuzz.log)"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DNRX_SANITIZE=ON -DNRX_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$(nproc)"
(cd build-sanitize && ctest --output-on-failure -j "$(nproc)")
