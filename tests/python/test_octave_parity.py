"""Every bound plug-in against the Octave plug-in on shared inputs: results
bit for bit, refusals with the same message. Each Python call runs on
Fortran- and on C-ordered copies of the inputs."""

import numpy as np
import pytest

import nrx
from octave_host import Case, assert_same_as_octave, call, run_in_octave

rng = np.random.default_rng(20240611)


def with_specials(a):
    """a with a few NaN, infinities and negative zeros."""
    a = a.copy()
    flat = a.reshape(-1, order="F")
    for k, value in enumerate([np.nan, np.inf, -np.inf, -0.0]):
        flat[7 * k + 3] = value
    return flat.reshape(a.shape, order="F")


def field_of(shape, m):
    """A deformation field: the positions of the voxels mapped by m, plus noise."""
    grid = np.stack(np.meshgrid(*[np.arange(1.0, n + 1) for n in shape], indexing="ij"), axis=-1)
    y = grid @ m[:3, :3].T + m[:3, 3] + 0.3 * rng.standard_normal(grid.shape)
    return {f"y{c + 1}": y[..., c].astype(np.float32) for c in range(3)}


affine = np.array([[1.1, 0.1, 0.0, 2.0], [-0.1, 0.9, 0.2, -1.0], [0.05, 0.0, 1.2, 0.5], [0, 0, 0, 1]])
perspective = affine + np.array([[0, 0, 0, 0]] * 3 + [[0.01, -0.02, 0.005, 0]])
field = dict(field_of((9, 8, 7), affine), m=affine)
v1 = rng.integers(0, 256, (20, 18, 16), dtype=np.uint8)
v2 = rng.integers(0, 256, (17, 19, 15), dtype=np.uint8)
volumes = dict(v1=v1, v2=v2, m=np.array([[0.9, 0.1, 0, 1.5], [-0.1, 0.95, 0.05, 0.7], [0, 0.1, 0.9, 0.3], [0, 0, 0, 1]]))
points = dict(values=rng.standard_normal(60), locations=rng.uniform(-25, 25, (3, 60)))
pm = rng.uniform(-np.pi, np.pi, (11, 10, 9))
mask = (rng.random(pm.shape) > 0.2).astype(float)
wmap = with_specials(np.where(rng.random(pm.shape) > 0.4, rng.random(pm.shape), 0.0))
image = with_specials(rng.standard_normal((12, 11, 10)))
kernel = np.where(rng.random((3, 3, 3)) > 0.3, rng.random((3, 3, 3)), 0.0)
P = rng.integers(0, 256, (6, 5, 4, 3), dtype=np.uint8)
F = rng.random(P.shape).astype(np.float32)
relax = dict(p=P, f=F, w=np.array([1.0, 0.5, 2.0], dtype=np.float32))
seeds = np.array([[2.0, 3.0, 4.0], [10.4, 9.0, 2.0], [6.0, 6.0, 8.5], [1.0, 1.0, 1.0]])
parcels = dict(img=(rng.random((12, 11, 10)) > 0.25).astype(float), seeds=seeds)
peaks = dict(vol=rng.random((10, 9, 8)).round(1), l=rng.integers(0, 12, (3, 80)).astype(float))

CASES = [
    Case("jacobian", "nrx_warp_jacobian", field, "o1 = nrx_warp_jacobian (y1, y2, y3, m);", nrx.warp_jacobian),
    Case("affine", "nrx_warp_affine", dict(field, m=perspective),
         "nrx_warp_affine (y1, y2, y3, m); o1 = y1; o2 = y2; o3 = y3;",
         lambda y1, y2, y3, m: (nrx.warp_affine(y1, y2, y3, m), y1, y2, y3)[1:], in_place=True),
    Case("histogram", "nrx_joint_histogram", volumes, "o1 = nrx_joint_histogram (v1, v2, m);", nrx.joint_histogram),
    Case("histogram skips", "nrx_joint_histogram", dict(volumes, skips=np.array([1.5, 2.0, 1.25])),
         "o1 = nrx_joint_histogram (v1, v2, m, skips);", nrx.joint_histogram),
    Case("mip general", "nrx_mip_render",
         dict(points, dims=np.array([2.0, 3.0, 1.0, 44, 38]), dxyz=np.array([20.0, 24, 18]), cxyz=np.array([10.0, 12, 9])),
         "o1 = nrx_mip_render (values, locations, dims, dxyz, cxyz);", nrx.mip_render),
    Case("mip fixed", "nrx_mip_render", dict(points, dims=np.array([3.0, 2, 2, 360, 352])),
         "o1 = nrx_mip_render (values, locations, dims);", nrx.mip_render),
    Case("region graph", "nrx_region_graph", dict(rima=rng.integers(0, 5, pm.shape).astype(float), pm=pm),
         "[o1, o2, o3, o4] = nrx_region_graph (rima, pm);", nrx.region_graph),
    Case("ramp fit", "nrx_ramp_fit", dict(pm=pm + 0.3 * np.arange(11)[:, None, None], mask=mask),
         "[o1, o2] = nrx_ramp_fit (pm, mask);", nrx.ramp_fit),
    Case("ramp add", "nrx_ramp_add", dict(pm=pm, mask=mask, ramps=np.array([[0.1], [-0.2], [0.05]])),
         "o1 = nrx_ramp_add (pm, mask, ramps);", nrx.ramp_add),
    Case("phase fill", "nrx_phase_fill", dict(pm=pm, wmap=wmap, kernel=kernel),
         "[o1, o2] = nrx_phase_fill (pm, wmap, kernel);", nrx.phase_fill),
    Case("weighted blur", "nrx_weighted_blur", dict(pm=pm, wmap=wmap, kernel=rng.random((4, 3, 2))),
         "o1 = nrx_weighted_blur (pm, wmap, kernel);", nrx.weighted_blur),
    Case("relax matrix", "nrx_label_relax", dict(relax, g=rng.standard_normal((3, 3)).astype(np.float32)),
         "o1 = nrx_label_relax (p, f, g, w);", nrx.label_relax),
    Case("relax packed in place", "nrx_label_relax",
         dict(relax, g=rng.integers(0, 256, (6, 5, 4, 3), dtype=np.uint8)),
         "nrx_label_relax (p, f, g); o1 = p;",
         lambda p, f, g, w: (nrx.label_relax(p, f, g, inplace=True), p)[1:], in_place=True),
    Case("parcels d34", "nrx_geo_parcels", parcels, "[o1, o2] = nrx_geo_parcels (img, seeds);", nrx.geo_parcels),
    Case("parcels d5711", "nrx_geo_parcels", parcels, "[o1, o2] = nrx_geo_parcels (img, seeds, 'd5711');",
         lambda img, seeds: nrx.geo_parcels(img, seeds, "d5711")),
    Case("peaks", "nrx_local_peaks", peaks, "o1 = nrx_local_peaks (vol, l);", nrx.local_peaks),
    Case("peaks 2-D", "nrx_local_peaks", dict(vol=peaks["vol"][:, :, 0], l=peaks["l"][:2]),
         "o1 = nrx_local_peaks (vol, l);", nrx.local_peaks),
    Case("dilate", "nrx_morphology", dict(ima=image, kernel=kernel), "o1 = nrx_morphology (ima, kernel, 'dilate');",
         lambda ima, kernel: nrx.morphology(ima, kernel, "dilate")),
    Case("erode", "nrx_morphology", dict(ima=image, kernel=kernel), "o1 = nrx_morphology (ima, kernel, 'erode');",
         lambda ima, kernel: nrx.morphology(ima, kernel, "erode")),
    Case("nan counts", "nrx_nan_reduce", dict(x=image), "o1 = nrx_nan_reduce (x, 2); o2 = nrx_nan_reduce (x);",
         lambda x: (nrx.nan_reduce(x, 2), nrx.nan_reduce(x))),
    Case("nan counts single complex", "nrx_nan_reduce",
         dict(x=np.vectorize(complex, otypes=[np.complex64])(image, image[::-1])), "o1 = nrx_nan_reduce (x, 3);",
         lambda x: nrx.nan_reduce(x, 3)),
    Case("nan counts int16", "nrx_nan_reduce", dict(x=P.astype(np.int16)), "o1 = nrx_nan_reduce (x, 4);",
         lambda x: nrx.nan_reduce(x, 4)),
    Case("gamma", "nrx_gamma_sampler", {},
         "clear nrx_gamma_sampler; o1 = nrx_gamma_sampler (2, 3, 4, 5); o2 = nrx_gamma_sampler (0.5, 1, 7);",
         lambda: (lambda s: (s(2, 3, 4, 5), s(0.5, 1, 7)))(nrx.GammaSampler())),
    # Refusals: the same message in both hosts.
    Case("refused perspective", "nrx_warp_jacobian", dict(field, m=perspective),
         "o1 = nrx_warp_jacobian (y1, y2, y3, m);", nrx.warp_jacobian),
    Case("refused field size", "nrx_warp_affine", dict(field, y3=field["y3"][:, :, :4]),
         "nrx_warp_affine (y1, y2, y3, m);", nrx.warp_affine, in_place=True),
    Case("refused sort", "nrx_joint_histogram", dict(volumes, v1=v1.astype(float)),
         "o1 = nrx_joint_histogram (v1, v2, m);", nrx.joint_histogram),
    Case("refused skips", "nrx_joint_histogram", dict(volumes, skips=np.array([1.0, 0.0, 1.0])),
         "o1 = nrx_joint_histogram (v1, v2, m, skips);", nrx.joint_histogram),
    Case("refused mip size", "nrx_mip_render", dict(points, dims=np.array([3.0, 2, 2, 30, 30])),
         "o1 = nrx_mip_render (values, locations, dims);", nrx.mip_render),
    Case("refused ramps", "nrx_ramp_add", dict(pm=pm, mask=mask, ramps=np.ones((2, 2))),
         "o1 = nrx_ramp_add (pm, mask, ramps);", nrx.ramp_add),
    Case("refused weights", "nrx_phase_fill", dict(pm=pm, wmap=wmap[:, :, :3], kernel=kernel),
         "[o1, o2] = nrx_phase_fill (pm, wmap, kernel);", nrx.phase_fill),
    Case("refused interaction", "nrx_label_relax", dict(relax, g=np.ones((3, 4), np.float32)),
         "o1 = nrx_label_relax (p, f, g);", lambda p, f, g, w: nrx.label_relax(p, f, g)),
    Case("refused seed", "nrx_geo_parcels", dict(parcels, seeds=seeds + 10),
         "[o1, o2] = nrx_geo_parcels (img, seeds);", nrx.geo_parcels),
    Case("refused distance", "nrx_geo_parcels", parcels, "[o1, o2] = nrx_geo_parcels (img, seeds, 'd6');",
         lambda img, seeds: nrx.geo_parcels(img, seeds, "d6")),
    Case("refused plane", "nrx_local_peaks", dict(vol=peaks["vol"][:, :, 0], l=peaks["l"] + 1),
         "o1 = nrx_local_peaks (vol, l);", nrx.local_peaks),
    Case("refused image", "nrx_morphology", dict(ima=np.ones((4, 3), np.int16), kernel=kernel),
         "o1 = nrx_morphology (ima, kernel, 'dilate');", lambda ima, kernel: nrx.morphology(ima, kernel, "dilate")),
    Case("refused function", "nrx_morphology", dict(ima=image, kernel=kernel),
         "o1 = nrx_morphology (ima, kernel, 'spin');", lambda ima, kernel: nrx.morphology(ima, kernel, "spin")),
    Case("refused dimension", "nrx_nan_reduce", dict(x=image), "o1 = nrx_nan_reduce (x, -1);",
         lambda x: nrx.nan_reduce(x, -1)),
    Case("refused size", "nrx_gamma_sampler", dict(s=np.zeros((0, 1))), "o1 = nrx_gamma_sampler (1, 1, s);",
         lambda s: nrx.gamma_sampler(1, 1, s)),
]


@pytest.fixture(scope="module")
def octave_outcomes(tmp_path_factory):
    run_in_octave(CASES, tmp_path_factory.mktemp("octave"))


@pytest.mark.parametrize("case", CASES, ids=[case.name for case in CASES])
def test_same_as_octave(case, octave_outcomes):
    for order in ("F",) if case.in_place else ("F", "C"):
        assert_same_as_octave(case, call(case, order))
