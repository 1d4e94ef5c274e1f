"""Docstrings made from the plug-ins' own help files.

The build puts each bound plug-in's help file nrx_<name>.m into help/ beside
this module, so that the text lives once: a function's docstring is that
text with the plug-in names written as this package's function names, then
what differs in Python, then the conventions every function shares.
"""

import re
import textwrap
from pathlib import Path
from typing import Callable, TypeVar

_HELP_FOLDER = Path(__file__).with_name("help")

CONVENTIONS = """\
Arrays are NumPy arrays, or anything numpy.asarray takes, with the axes in
the order x, y, z that Octave and nibabel use; double is float64, single
float32, and uint8 and int32 keep their names. Dimensions are counted as the
plug-in counts them: axes of length 1 after the second do not count, and a
1-D array of n is n x 1. An array that is not Fortran-ordered is read
through a column-major copy. Voxel coordinates, packet numbers and
dimension numbers are one-based, as in the plug-in. Outputs are new
Fortran-ordered arrays, several of them as a tuple in the order above. A
refused call raises TypeError (an argument of the wrong kind) or ValueError
with the plug-in's own message.
"""

Function = TypeVar("Function", bound=Callable)


def plugin_help(python_notes: str = "") -> Callable[[Function], Function]:
    """Gives the decorated function the help of the plug-in of its name."""

    def attach(function: Function) -> Function:
        parts = [adapted_help(function.__name__), f"In Python: {python_notes}" if python_notes else "", CONVENTIONS]
        function.__doc__ = "\n\n".join(part for part in parts if part)
        return function

    return attach


def adapted_help(name: str) -> str:
    """The help of plug-in nrx_<name>, its comment marks taken off and its
    title line ("NRX_NAME  Summary.") reduced to the summary."""
    lines = [re.sub(r"^% ?", "", line) for line in (_HELP_FOLDER / f"nrx_{name}.m").read_text().splitlines()]
    summary = lines[0].split(None, 1)[1]
    text = summary + "\n" + textwrap.dedent("\n".join(lines[1:]))
    return re.sub(r"\bnrx_(\w+)", r"nrx.\1", text)
