"""Simulated subjects made from a real scan: a random rotation about the
vertical axis, a change of size and a smooth random deformation, then a
linear intensity bias and noise, so that each subject's figures differ from
the scan's in known ways."""

import numpy as np
from nibabel.affines import voxel_sizes
from scipy import ndimage

from .cohort_align import turn_about_centre
from .cohort_scans import read_scan, write_scan

WARP_MM = 3.0       # largest displacement of the smooth deformation
CONTROL_MM = 20.0   # spacing of its random control points


def simulate_subject(t1, affine, seed):
    """(subject, truth): a uint8 scan on t1's grid and what was done to make it."""
    rng = np.random.default_rng(seed)
    truth = {"angle_deg": rng.uniform(-6, 6), "scale": rng.uniform(0.93, 1.07),
             "bias_pct": rng.uniform(5, 25), "noise_pct": rng.uniform(1, 4)}
    spacing = voxel_sizes(affine)
    # Each subject voxel takes the value of the scan where the turn and
    # scaling, undone, bring it.
    turn = turn_about_centre(affine, t1.shape, truth["angle_deg"], truth["scale"])
    linear = np.linalg.inv(affine) @ np.linalg.inv(turn) @ affine
    grid = np.indices(t1.shape, dtype=np.float32).reshape(3, -1)
    where = (linear[:3, :3] @ grid + linear[:3, 3:]).reshape((3,) + t1.shape)
    del grid
    coarse = tuple(max(2, int(n * s / CONTROL_MM)) for n, s in zip(t1.shape, spacing))
    for axis in range(3):
        field = ndimage.zoom(rng.standard_normal(coarse), np.divide(t1.shape, coarse), order=3, grid_mode=True,
                             mode="nearest")
        where[axis] += field * (WARP_MM / spacing[axis] / np.abs(field).max())
    moved = ndimage.map_coordinates(t1, where, order=1, mode="constant", cval=0.0)
    del where

    direction = rng.standard_normal(3)
    ramp = sum(d * (p / (n - 1) - 0.5) for d, p, n in zip(direction / np.linalg.norm(direction),
                                                          np.indices(t1.shape, sparse=True), t1.shape))
    bias = 1 + truth["bias_pct"] / 100 * ramp / np.ptp(ramp)
    noise = rng.normal(0, truth["noise_pct"] / 100 * np.percentile(t1, 99), t1.shape)
    subject = np.clip(np.rint(moved * bias + noise), 0, 255).astype(np.uint8)
    return subject, truth


def write_subject(base, path, seed):
    """Writes a subject simulated from the scan at base to path; returns its truth."""
    t1, affine = read_scan(base)
    subject, truth = simulate_subject(t1, affine, seed)
    write_scan(path, subject, affine)
    return truth
