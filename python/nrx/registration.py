"""Registration and display: joint histograms and maximum-intensity projections."""

from __future__ import annotations

from typing import Optional

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kernels
from ._help import plugin_help


@plugin_help("S is the argument skips; None gives the default.")
def joint_histogram(
    v1: ArrayLike, v2: ArrayLike, m: ArrayLike, skips: Optional[ArrayLike] = None
) -> NDArray[np.float64]:
    return _kernels.joint_histogram(v1, v2, m, skips)


@plugin_help("give both dxyz and cxyz, or neither.")
def mip_render(
    values: ArrayLike,
    locations: ArrayLike,
    dims: ArrayLike,
    dxyz: Optional[ArrayLike] = None,
    cxyz: Optional[ArrayLike] = None,
) -> NDArray[np.float64]:
    return _kernels.mip_render(values, locations, dims, dxyz, cxyz)
