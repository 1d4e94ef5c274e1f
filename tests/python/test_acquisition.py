"""The acquisition pair on the segment with the fixed key: only inside the
private IPC namespace that scripts/private_ipc.sh makes, so that no test can
write into a live acquisition on this machine; skipped anywhere else."""

import math
import os

import numpy as np
import pytest

import nrx


def in_private_namespace():
    try:
        return os.readlink("/proc/self/ns/ipc") == os.environ.get("NRX_PRIVATE_IPC_NAMESPACE")
    except OSError:
        return False


pytestmark = pytest.mark.skipif(not in_private_namespace(), reason="runs only through scripts/private_ipc.sh")

samples = np.arange(-5, 35, dtype=np.int32).reshape(4, 10)


def test_written_packets_read_back():
    nrx.acq_write(3, 1, 2.9, -3, 2.0**40, math.nan, samples)
    headers = nrx.acq_read()
    assert [(h.shape, h.dtype) for h in headers] == [((1, 600), np.int32)] * 5
    assert [int(h[0, 2]) for h in headers] == [1, 2, -3, -(2**31), -(2**31)]
    assert np.array_equal(nrx.acq_read(3.5, 45), np.r_[samples.ravel(order="F"), [0] * 5][None, :])
    assert nrx.acq_read(3).shape == (1, 28160)


@pytest.mark.parametrize("run, error, message", [
    (lambda: nrx.acq_write(0, 1, 2, 3, 4, 5, samples), ValueError, "Cannot write before the first packet"),
    (lambda: nrx.acq_write(601, 1, 2, 3, 4, 5, samples), ValueError, "Cannot write after the last packet"),
    (lambda: nrx.acq_write(4, 1, 2, 3, 4, 5, samples.astype(float)), TypeError,
     "Invalid type of data, should be int32"),
    (lambda: nrx.acq_write(4, 1, 2, "3", 4, 5, samples), TypeError, "Header words must be numbers"),
    (lambda: nrx.acq_read(math.nan), ValueError, "Cannot read before the first packet"),
    (lambda: nrx.acq_read(601), ValueError, "Cannot read after the last packet"),
])
def test_refusals_leave_the_packets_as_they_were(run, error, message):
    before = nrx.acq_read()
    with pytest.raises(error) as refused:
        run()
    assert str(refused.value) == message
    assert all(np.array_equal(a, b) for a, b in zip(before, nrx.acq_read()))


def test_both_hosts_see_one_segment_alike(tmp_path):
    from octave_host import Case, assert_same_as_octave, run_in_octave

    words = (7, 8, -9, 2.0**40, math.nan)
    case = Case("acquisition", "nrx_acq_read", dict(d=samples),
                "nrx_acq_write (5, 7, 8, -9, 2^40, NaN, d); [o1, o2, o3, o4, o5] = nrx_acq_read (); "
                "o6 = nrx_acq_read (5, 45);", None)
    run_in_octave([case], tmp_path)
    assert_same_as_octave(case, (*nrx.acq_read(), nrx.acq_read(5, 45)))
    nrx.acq_write(6, *words, samples)
    headers = nrx.acq_read()
    assert all(h[0, 5] == h[0, 4] for h in headers)
    assert np.array_equal(nrx.acq_read(6, 45), nrx.acq_read(5, 45))
