"""The binding's contract without Octave: output shapes and dtypes, inputs in
any layout, writing in place, refusals and their messages, the gamma
samplers' state, and the GIL released while a kernel runs."""

import threading

import numpy as np
import pytest

import nrx

rng = np.random.default_rng(7)
vol = rng.standard_normal((6, 5, 4))
ones3 = np.ones((3, 3, 3))
f64, f32, u8 = np.float64, np.float32, np.uint8


def field(shape=(6, 5, 4)):
    return [np.asfortranarray(rng.standard_normal(shape), dtype=f32) for _ in range(3)]


@pytest.mark.parametrize("run, expected", [
    (lambda: nrx.morphology(vol, ones3, "erode"), [((6, 5, 4), f64)]),
    (lambda: nrx.warp_jacobian(*field(), np.eye(4)), [((6, 5, 4), f32)]),
    (lambda: nrx.ramp_fit(vol[:, :, 0], vol[:, :, 1]), [((3, 1), f64), ((6, 5), f64)]),
    (lambda: nrx.region_graph(np.zeros((3, 2)), np.zeros((3, 2))), [((0, 1), f64)] * 4),
    (lambda: nrx.local_peaks(np.zeros((3, 3, 3)), [1.0, 1, 1]), [((1, 1), f64)]),
    (lambda: nrx.joint_histogram(np.zeros((3, 3, 3), u8), np.zeros((3, 3, 3), u8), np.eye(4)), [((256, 256), f64)]),
    (lambda: nrx.geo_parcels(vol[:, :, 0], [[1.0, 1, 1]]), [((6, 5), f64)] * 2),
    (lambda: nrx.label_relax(np.zeros((4, 4), u8), np.ones((4, 4), f32), np.ones((1, 1), f32)), [((4, 4), u8)]),
    (lambda: nrx.nan_reduce(vol.astype(f32), 2), [((6, 1, 4), f32)]),
    (lambda: nrx.nan_reduce(np.arange(7, dtype=np.int8)), [((1,), f64)]),
    (lambda: nrx.nan_reduce(vol, 5), [((6, 5, 4), f64)]),
    (lambda: nrx.gamma_sampler(1, 1), [((1, 1), f64)]),
    (lambda: nrx.gamma_sampler(1, 1, 3), [((3, 1), f64)]),
    (lambda: nrx.gamma_sampler(1, 1, 2, 3, 4), [((2, 3, 4), f64)]),
])
def test_output_shapes_and_dtypes(run, expected):
    outputs = run()
    outputs = outputs if isinstance(outputs, tuple) else (outputs,)
    assert [(out.shape, out.dtype) for out in outputs] == expected
    assert all(out.flags.f_contiguous for out in outputs)


LAYOUTS = [np.asfortranarray, np.ascontiguousarray, lambda a: a.astype(a.dtype.newbyteorder(">")),
           lambda a: np.repeat(a, 2, axis=0)[::2]]


@pytest.mark.parametrize("run, inputs", [
    (lambda a, k: nrx.morphology(a, k, "dilate"), [vol, rng.random((3, 2, 3))]),
    (nrx.weighted_blur, [vol, rng.random(vol.shape), rng.random((2, 3, 3))]),
    (nrx.joint_histogram, [rng.integers(0, 256, (7, 6, 5), u8), rng.integers(0, 256, (6, 7, 5), u8), np.eye(4)]),
    (nrx.label_relax, [rng.integers(0, 256, (4, 3, 2, 2), u8), rng.random((4, 3, 2, 2)).astype(f32),
                       rng.random((2, 2)).astype(f32)]),
    (lambda x: nrx.nan_reduce(x, 3), [np.where(vol > 1, np.nan, vol)]),
])
def test_every_layout_gives_the_same_bits(run, inputs):
    results = [run(*[layout(a) for a in inputs]) for layout in LAYOUTS]
    assert all(r.tobytes(order="F") == results[0].tobytes(order="F") for r in results)


def test_warp_affine_writes_into_its_arrays():
    y = field()
    before = [c.copy() for c in y]
    m = np.diag([2.0, 2.0, 2.0, 1.0])
    m[:3, 3] = 1.0
    nrx.warp_affine(*y, m)
    for c, old in zip(y, before):
        assert np.array_equal(c, (2.0 * old.astype(f64) + 1.0).astype(f32))


@pytest.mark.parametrize("make, error, reason", [
    (lambda c: np.ascontiguousarray(c), ValueError,
     "it is not Fortran-contiguous (numpy.asfortranarray gives such a copy)."),
    (lambda c: np.lib.stride_tricks.as_strided(c, writeable=False), ValueError, "it is read-only."),
    (lambda c: c.astype(c.dtype.newbyteorder(">")), ValueError, "its byte order is not the machine's."),
    (memoryview, TypeError, "it is not a NumPy array."),
])
def test_in_place_refuses_what_it_cannot_write_through(make, error, reason):
    y1, y2, y3 = field()
    kept = y1.copy()
    with pytest.raises(error) as refused:
        nrx.warp_affine(y1, y2, make(y3), np.eye(4) * 2)
    assert str(refused.value) == "y3 cannot be changed in place: " + reason
    assert np.array_equal(y1, kept)


def test_label_relax_in_place_or_into_a_new_array():
    p = np.asfortranarray(rng.integers(0, 256, (5, 4, 3, 2), u8))
    f, g = rng.random(p.shape).astype(f32), rng.random((2, 2)).astype(f32)
    kept = p.copy()
    q = nrx.label_relax(p, f, g)
    assert np.array_equal(p, kept) and not np.array_equal(q, kept)
    assert nrx.label_relax(p, f, g, inplace=True) is None
    assert np.array_equal(p, q)
    with pytest.raises(ValueError, match="^p cannot be changed in place: it is not Fortran"):
        nrx.label_relax(np.ascontiguousarray(p), f, g, inplace=True)


@pytest.mark.parametrize("run, error, message", [
    (lambda: nrx.morphology(vol.astype(complex), ones3, "dilate"), TypeError,
     "nrx_morphology: ima must be numeric, real, full and double"),
    (lambda: nrx.morphology(vol[:, :, :1], ones3, "dilate"), ValueError,
     "nrx_morphology: ima and kernel must have same dimensionality"),
    (lambda: nrx.morphology(np.empty((2**31, 0)), ones3, "dilate"), ValueError,
     "nrx_morphology: ima too large: dimensions and element count must fit in 32-bit integers"),
    (lambda: nrx.morphology(vol, ones3, ""), TypeError, "nrx_morphology: function should be a string"),
    (lambda: nrx.geo_parcels(vol > 0, [[1.0, 1, 1]]), TypeError, "Input img must be a real double array."),
    (lambda: nrx.geo_parcels(vol, [1.0, 1, 1]), ValueError, "Input seeds must be a real double array [n x 3]."),
    (lambda: nrx.geo_parcels(vol, [[1.0, 1, 1]], 34), TypeError, "Input dist must be a string."),
    (lambda: nrx.mip_render([1.0], [1.0, 1, 1], [1.0] * 5, dxyz=[1.0] * 3), TypeError, "Incorrect usage."),
    (lambda: nrx.label_relax(np.zeros((2, 2)), np.zeros((2, 2), f32), np.ones(1, f32)), TypeError,
     "First arg must be numeric, real, full and uint8."),
    (lambda: nrx.nan_reduce(np.array([None, "a"])), TypeError, "Unsupported type!"),
    (lambda: nrx.gamma_sampler([], 1), TypeError, "Shape and scale must be non-empty numeric values."),
    (lambda: nrx.gamma_sampler(1, 1, 2**31), ValueError,
     "Sizes too large: each size and their product must fit in 32-bit integers."),
])
def test_refusals_carry_the_plugin_message(run, error, message):
    with pytest.raises(error) as refused:
        run()
    assert str(refused.value) == message


def test_sparse_arrays_are_refused_as_the_plugin_refuses_them():
    sparse = pytest.importorskip("scipy.sparse")
    with pytest.raises(TypeError, match="^Sparse arrays are not supported!$"):
        nrx.nan_reduce(sparse.csr_matrix(np.eye(3)))


def test_gamma_samplers_keep_their_own_sequences():
    first, second = nrx.GammaSampler(), nrx.GammaSampler()
    a = first(2.0, 1.0, 5)
    second(0.5, 3.0, 9)
    assert np.array_equal(a, second.__class__()(2.0, 1.0, 5))
    assert not np.array_equal(first(2.0, 1.0, 5), a)
    first.reset()
    nrx.reset_gamma_sampler()
    assert np.array_equal(first(2.0, 1.0, 5), a) and np.array_equal(nrx.gamma_sampler(2.0, 1.0, 5), a)


def test_one_sampler_draws_each_call_in_one_piece_across_threads():
    shared, chunks = nrx.GammaSampler(), []
    threads = [threading.Thread(target=lambda: chunks.append(shared(3.0, 1.0, 20000).ravel())) for _ in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    sequential = nrx.GammaSampler()(3.0, 1.0, 80000).ravel().reshape(4, 20000)
    assert sorted(map(bytes, chunks)) == sorted(map(bytes, sequential))


def test_kernels_run_without_the_gil():
    image, counted = rng.standard_normal((96, 96, 96)), 0
    worker = threading.Thread(target=nrx.morphology, args=(image, np.ones((7, 7, 7)), "dilate"))
    worker.start()
    while worker.is_alive():
        counted += 1
    worker.join()
    assert counted > 100000
