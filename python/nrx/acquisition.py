"""The acquisition segment: copies out of it and into it."""

from __future__ import annotations

from typing import Optional, Tuple, Union

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _kernels
from ._help import plugin_help

Row = NDArray[np.int32]

_SYSTEM_CALLS = "a failed shmget, shmat or shmdt raises OSError with its errno and that name."


@plugin_help("acq_read() returns the tuple (H1, H2, H3, H4, H5);\n" + _SYSTEM_CALLS)
def acq_read(
    p: Optional[ArrayLike] = None, n: Optional[ArrayLike] = None
) -> Union[Row, Tuple[Row, Row, Row, Row, Row]]:
    return _kernels.acq_read(p, n)


@plugin_help("returns None; " + _SYSTEM_CALLS)
def acq_write(
    p: ArrayLike, w1: ArrayLike, w2: ArrayLike, w3: ArrayLike, w4: ArrayLike, w5: ArrayLike, d: ArrayLike
) -> None:
    _kernels.acq_write(p, w1, w2, w3, w4, w5, d)
