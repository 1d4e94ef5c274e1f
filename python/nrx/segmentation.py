"""Segmentation: class relaxation, geodesic parcels, local peaks, morphology."""

from __future__ import annotations

from typing import Optional, Tuple

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kernels
from ._help import plugin_help


@plugin_help(
    "returns Q. With inplace=True P itself is updated instead and None is\n"
    "returned; P must then be a writeable, Fortran-contiguous uint8 NumPy\n"
    "array, any other is refused, never copied."
)
def label_relax(
    p: ArrayLike, f: ArrayLike, g: ArrayLike, w: Optional[ArrayLike] = None, *, inplace: bool = False
) -> Optional[NDArray[np.uint8]]:
    return _kernels.label_relax(p, f, g, w, inplace)


@plugin_help("returns the tuple (labels, dists); one seed is [[x, y, z]].")
def geo_parcels(
    img: ArrayLike, seeds: ArrayLike, dist: str = "d34"
) -> Tuple[NDArray[np.float64], NDArray[np.float64]]:
    return _kernels.geo_parcels(img, seeds, dist)


@plugin_help("idx is a 1 x m float64 array.")
def local_peaks(vol: ArrayLike, l: ArrayLike) -> NDArray[np.float64]:  # noqa: E741 (the plug-in's name)
    return _kernels.local_peaks(vol, l)


@plugin_help()
def morphology(ima: ArrayLike, kernel: ArrayLike, function: str) -> NDArray[np.float64]:
    return _kernels.morphology(ima, kernel, function)
