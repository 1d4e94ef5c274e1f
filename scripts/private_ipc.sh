#!/bin/sh
# private_ipc.sh COMMAND [ARGUMENT...]
#
# Runs COMMAND in a new System V IPC namespace of its own, which holds no
# shared-memory segment and disappears with the command.
#
# The acquisition segment has a fixed key, so a test that used the machine's
# own namespace could overwrite a live acquisition. Every test and benchmark
# that touches the segment runs through this script instead. When no private
# namespace can be made (it needs root, or unprivileged user namespaces) the
# script exits with 77, which ctest reports as a skip, and the command never
# runs. Inside, NRX_PRIVATE_IPC_NAMESPACE names the new namespace, so that a
# test can make sure it runs in one (tests/kernels/acquisition/private_ipc.hpp,
# tests/octave/support/private_ipc_namespace.m).

skip() {
  echo "SKIPPED: $1; tests that touch the acquisition segment run only in a private IPC namespace" >&2
  exit 77
}

outer=$(readlink /proc/self/ns/ipc 2>/dev/null) || skip "no IPC namespaces here"
if unshare --ipc true 2>/dev/null; then
  how="--ipc"
elif unshare --user --map-root-user --ipc true 2>/dev/null; then
  how="--user --map-root-user --ipc"
else
  skip "cannot make a private IPC namespace (needs root or unprivileged user namespaces)"
fi

# The new namespace exits 77 itself should it turn out to be the old one.
exec unshare $how -- sh -c '
  outer=$1
  shift
  inner=$(readlink /proc/self/ns/ipc)
  if [ -z "$inner" ] || [ "$inner" = "$outer" ]; then
    echo "SKIPPED: the IPC namespace did not change" >&2
    exit 77
  fi
  NRX_PRIVATE_IPC_NAMESPACE=$inner
  export NRX_PRIVATE_IPC_NAMESPACE
  exec "$@"
' private_ipc "$outer" "$@"
