"""Runs plug-in calls in Octave on inputs written by the tests, and compares
what comes back with what nrx gives, bit for bit.

A case names its plug-in, its inputs (arrays, saved to a MAT file that
Octave loads), the Octave code that calls the plug-in and assigns its
outputs to o1, o2, ..., and the Python call that should give the same. All
cases of a run share one Octave process; each runs in a function of its own,
and a refused call brings back the plug-in's message instead.
"""

import os
import shutil
import subprocess
from dataclasses import dataclass, field
from pathlib import Path
from typing import Callable, Dict

import numpy as np
import pytest

scipy_io = pytest.importorskip("scipy.io")

ROOT = Path(__file__).resolve().parents[2]

DRIVER = """1;
function run_case (source, target, code)
  load (source);
  try
    eval (code);
    save ("-v6", target, "o*");
  catch err
    message = err.message;
    save ("-v6", target, "message");
  end
end
"""


@dataclass
class Case:
    name: str
    plugin: str
    inputs: Dict[str, np.ndarray]
    octave: str
    python: Callable[..., tuple]
    in_place: bool = False
    outcome: dict = field(default_factory=dict)


def plugin_folder() -> Path:
    """The folder of the built plug-ins (NRX_PLUGIN_DIR, else build/plugins);
    skips the test where Octave or the plug-ins are missing."""
    folder = Path(os.environ.get("NRX_PLUGIN_DIR", ROOT / "build" / "plugins"))
    if shutil.which("octave-cli") is None or not (folder / "nrx_morphology.mex").exists():
        pytest.skip("octave-cli or the built plug-ins are missing")
    return folder


def run_in_octave(cases, work: Path) -> None:
    """Runs every case in one Octave process and stores each one's outputs
    (a list) or message (a str) in case.outcome["octave"]."""
    lines = [DRIVER, f"addpath ('{plugin_folder()}');"]
    for k, case in enumerate(cases):
        assert not any(name.startswith("o") for name in case.inputs), "o* names the outputs"
        scipy_io.savemat(work / f"in{k}.mat", case.inputs, oned_as="column")
        code = case.octave.replace("'", "''")
        lines.append(f"run_case ('{work}/in{k}.mat', '{work}/out{k}.mat', '{code}');")
    (work / "driver.m").write_text("\n".join(lines) + "\n")
    subprocess.run(["octave-cli", "--norc", "--no-history", "--no-window-system", str(work / "driver.m")],
                   check=True, cwd=work, timeout=600)
    for k, case in enumerate(cases):
        saved = scipy_io.loadmat(work / f"out{k}.mat")
        if "message" in saved:
            case.outcome["octave"] = str(saved["message"][0])
        else:
            count = len([name for name in saved if name.startswith("o")])
            case.outcome["octave"] = [saved[f"o{j}"] for j in range(1, count + 1)]


def host_dims(shape):
    """The dimensions the host gives an array of this NumPy shape."""
    dims = list(shape) + [1] * (2 - len(shape))
    while len(dims) > 2 and dims[-1] == 1:
        dims.pop()
    return tuple(dims)


def assert_same_as_octave(case: Case, outputs_or_error) -> None:
    expected = case.outcome["octave"]
    if isinstance(outputs_or_error, Exception):
        assert expected == f"{case.plugin}: {outputs_or_error}"
        return
    assert not isinstance(expected, str), f"Octave refused: {expected}"
    assert len(outputs_or_error) == len(expected)
    for ours, theirs in zip(outputs_or_error, expected):
        assert ours.flags.f_contiguous
        assert ours.dtype == theirs.dtype
        assert host_dims(ours.shape) == theirs.shape
        assert ours.tobytes(order="F") == theirs.tobytes(order="F")


def call(case: Case, order: str):
    """The Python call on fresh copies of the inputs in the given order."""
    inputs = {name: np.array(value, order=order) for name, value in case.inputs.items()}
    try:
        outputs = case.python(**inputs)
    except (TypeError, ValueError) as error:
        return error
    return outputs if isinstance(outputs, tuple) else (outputs,)
