#!/usr/bin/env bash
# Installs the Debian packages nrx needs to build, test and run its demo.
# Does nothing when all of them are present, so it is safe to run every time.
set -euo pipefail

packages=(
  g++ cmake make                                # compiler and build
  googletest libgtest-dev libgmock-dev          # kernel tests
  libbenchmark-dev                              # benchmarks
  octave liboctave-dev                          # the host and its MEX headers
  python3-scipy                                 # reading packed values in the interoperation tests
  clang libclang-rt-14-dev                      # libFuzzer run of the unpacker
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
