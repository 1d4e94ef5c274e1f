"""What the driver and the Python worker of the comparison share."""

import os

import scipy.io


def load(folder, name):
    """The input array <name> saved by compare_inputs.m in folder."""
    return scipy.io.loadmat(os.path.join(folder, name + ".mat"))[name]


def private_ipc_namespace():
    """Whether this process runs in the private IPC namespace made for it."""
    try:
        return os.readlink("/proc/self/ns/ipc") == os.environ.get("NRX_PRIVATE_IPC_NAMESPACE")
    except OSError:
        return False
