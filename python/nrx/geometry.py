"""Deformation fields: Jacobian determinants, and affine transforms in place."""

from __future__ import annotations

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kernels
from ._help import plugin_help


@plugin_help("prints no progress dots.")
def warp_jacobian(y1: ArrayLike, y2: ArrayLike, y3: ArrayLike, m: ArrayLike) -> NDArray[np.float32]:
    return _kernels.warp_jacobian(y1, y2, y3, m)


@plugin_help(
    "y1, y2 and y3 are changed in place, so each must be a writeable,\n"
    "Fortran-contiguous float32 NumPy array in the machine's byte order; any\n"
    "other is refused, never copied. Returns None."
)
def warp_affine(y1: np.ndarray, y2: np.ndarray, y3: np.ndarray, m: ArrayLike) -> None:
    _kernels.warp_affine(y1, y2, y3, m)
