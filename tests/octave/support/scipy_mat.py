"""MAT-file checks through scipy.io, for the packing plug-in tests.

    scipy_mat.py same DIR   for every DIR/<name>.packed.mat, checks that
                            scipy.io.loadmat reads the same value from it as
                            from DIR/<name>.ref.mat (or fails on both alike);
                            lists any that differ
    scipy_mat.py write DIR  writes DIR/<name>.mat with scipy.io.savemat for
                            each sample value below

Exits 0 when every check passed.
"""
import glob
import os
import sys

import numpy as np
import scipy.io
import scipy.sparse


def load(path):
    """The value in the file, or the name of the error scipy raises reading
    it (it cannot read some text, such as a lone character beyond U+FFFF,
    from any writer)."""
    try:
        return scipy.io.loadmat(path)["value"]
    except Exception as error:  # noqa: BLE001 - compared, not hidden
        return type(error).__name__


def same(a, b):
    if isinstance(a, str) or isinstance(b, str):
        return a == b
    if scipy.sparse.issparse(a) or scipy.sparse.issparse(b):
        # Values only: a sparse logical array reads as uint8, its reference
        # (saved as sparse double, since the host's own writer has no sparse
        # logical form) as float64.
        return (scipy.sparse.issparse(a) and scipy.sparse.issparse(b)
                and a.shape == b.shape and (a != b).nnz == 0)
    a, b = np.asarray(a), np.asarray(b)
    if a.shape != b.shape or a.dtype != b.dtype:
        return False
    if a.dtype.names:
        return all(same(x[n], y[n]) for x, y in zip(a.flat, b.flat) for n in a.dtype.names)
    if a.dtype == object:
        return all(same(x, y) for x, y in zip(a.flat, b.flat))
    return np.array_equal(a, b, equal_nan=a.dtype.kind in "fc")


def check_same(folder):
    packed = sorted(glob.glob(os.path.join(folder, "*.packed.mat")))
    differ = [p for p in packed if not same(load(p), load(p.replace(".packed.", ".ref.")))]
    for p in differ:
        print("differs:", os.path.basename(p))
    return bool(packed) and not differ


def samples():
    cell = np.empty((1, 2), dtype=object)
    cell[0, 0] = np.array([[1.0]])
    cell[0, 1] = "a"
    return {
        "double": np.array([[1.5, -2.0], [3.0, 4.0]]),
        "single": np.array([[1.5, -np.inf]], dtype=np.float32),
        "int16": np.array([[1, -2, 3]], dtype=np.int16),
        "uint64": np.array([[2**60]], dtype=np.uint64),
        "complex": np.array([[1 + 2j, 3 - 4j]]),
        "logical": np.array([[True, False, True]]),
        "text": "é€x",
        "rows": np.array(["ab", "cd"]),
        "cell": cell,
        "struct": {"beta": 1.0, "alpha": "x"},
        "sparse": scipy.sparse.csc_matrix(np.array([[1, 0], [0, 2.5], [0, 0]])),
        "nd": np.arange(24.0).reshape(2, 3, 4, order="F"),
        "empty": np.zeros((0, 3)),
    }


def write(folder):
    for name, value in samples().items():
        scipy.io.savemat(os.path.join(folder, name + ".mat"), {"value": value})
    return True


if __name__ == "__main__":
    command, folder = sys.argv[1], sys.argv[2]
    sys.exit(0 if {"same": check_same, "write": write}[command](folder) else 1)
