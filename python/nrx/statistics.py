"""Statistics: NaN-aware counts and gamma-distributed samples."""

from __future__ import annotations

from typing import Optional

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kernels
from ._help import plugin_help


@plugin_help(
    "dim None counts along the default dimension. Y is X's shape with axis\n"
    "DIM set to 1 (X's shape when DIM is beyond its axes). A bool X counts as\n"
    "logical, without the warning, which concerns the plug-in's host only;\n"
    "text is not taken for char (\"Unsupported type!\")."
)
def nan_reduce(x: ArrayLike, dim: Optional[ArrayLike] = None) -> NDArray:
    return _kernels.nan_reduce(x, dim)


class GammaSampler:
    """A gamma sampler with a generator of its own, which starts where the
    plug-in starts when it is loaded. Calling it draws as nrx.gamma_sampler
    does (sampler(a, b, *sizes)); reset() starts its sequence again. One
    sampler may be called from several threads: each call draws its numbers
    in one piece."""

    def __init__(self) -> None:
        self._state = _kernels.GammaState()

    def __call__(self, a: ArrayLike, b: ArrayLike, *sizes: ArrayLike) -> NDArray[np.float64]:
        return _kernels.gamma_sampler(self._state, a, b, sizes)

    def reset(self) -> None:
        self._state = _kernels.GammaState()


_shared_sampler = GammaSampler()


@plugin_help(
    "draws from one generator shared by the module, which\n"
    "nrx.reset_gamma_sampler() starts again (as clearing the plug-in does);\n"
    "each nrx.GammaSampler() has a generator of its own. Without sizes R is\n"
    "1 x 1, with one size m an m x 1 column, with several of the shape given."
)
def gamma_sampler(a: ArrayLike, b: ArrayLike, *sizes: ArrayLike) -> NDArray[np.float64]:
    return _shared_sampler(a, b, *sizes)


def reset_gamma_sampler() -> None:
    """Starts the generator of nrx.gamma_sampler again from the beginning, as
    "clear nrx_gamma_sampler" does for the plug-in."""
    _shared_sampler.reset()
