"""Phase maps: ramps, region borders, filling and smoothing."""

from __future__ import annotations

from typing import Tuple

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kernels
from ._help import plugin_help

Map = NDArray[np.float64]


@plugin_help("returns the tuple (i, j, n, p) of N x 1 arrays.")
def region_graph(rima: ArrayLike, pm: ArrayLike) -> Tuple[Map, Map, Map, Map]:
    return _kernels.region_graph(rima, pm)


@plugin_help("returns the tuple (ramp, pm), ramp 3 x 1.")
def ramp_fit(pm: ArrayLike, mask: ArrayLike) -> Tuple[Map, Map]:
    return _kernels.ramp_fit(pm, mask)


@plugin_help()
def ramp_add(pm: ArrayLike, mask: ArrayLike, ramps: ArrayLike) -> Map:
    return _kernels.ramp_add(pm, mask, ramps)


@plugin_help("returns the tuple (pm, wmap).")
def phase_fill(pm: ArrayLike, wmap: ArrayLike, kernel: ArrayLike) -> Tuple[Map, Map]:
    return _kernels.phase_fill(pm, wmap, kernel)


@plugin_help()
def weighted_blur(pm: ArrayLike, wmap: ArrayLike, kernel: ArrayLike) -> Map:
    return _kernels.weighted_blur(pm, wmap, kernel)
