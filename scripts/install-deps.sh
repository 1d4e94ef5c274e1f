#!/usr/bin/env bash
# Installs the Debian packages nrx needs to build, test and run its demo.
# Does nothing when all of them are present, so it is safe to run every time.
set -euo pipefail

packages=(
  g++ cmake make                                # compiler and build
  googletest libgtest-dev libgmock-dev          # kernel tests
  libbenchmark-dev                              # benchmarks
  octave liboctave-dev                          # the host and its MEX headers
  libnifti2-dev zlib1g-dev                      # NIfTI image reading
  gnuplot-nox ghostscript fonts-freefont-otf    # charts: headless plotting, PNG output, text font
  python3-numpy python3-scipy                   # packed values in the interoperation tests; the speed comparison
  python3-skimage python3-nibabel               # the speed comparison's peers
  python3-dev python3-pybind11                  # the Python package nrx
  python3-pytest python3-venv python3-pip python3-setuptools   # its tests and its offline install
  python3-distributed python3-matplotlib        # the cohort on Dask: cluster, pictures
  clang libclang-rt-14-dev                      # libFuzzer run of the unpacker
)
# Real 1 mm brain scans for the demo; without them it uses a synthetic head.
optional_packages=(mricron-data)

missing() {
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      echo "$package"
    fi
  done
}

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
required=($(missing "${packages[@]}"))
optional=($(missing "${optional_packages[@]}"))
if ((${#required[@]} + ${#optional[@]} > 0)); then
  "${sudo[@]}" apt-get update -qq
fi
if ((${#required[@]} > 0)); then
  echo "Installing: ${required[*]}"
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${required[@]}"
fi
if ((${#optional[@]} > 0)); then
  echo "Installing: ${optional[*]}"
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${optional[@]}" ||
    echo "Could not install ${optional[*]}: the demo will use a synthetic head phantom."
fi
