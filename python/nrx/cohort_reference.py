"""The reference every scan is measured against: a T1 scan and the brain
mask of its brain-only version, with what the study derives from them once
for the whole cohort."""

from dataclasses import dataclass

import numpy as np
from nibabel.affines import voxel_sizes

import nrx

from .cohort_align import to_uint8
from .cohort_scans import read_scan

SEEDS = 40
# How far beyond the reference's brain tissue is looked for (mm), so that
# subjects that differ in shape and size are still covered.
SEARCH_MM = 3.0


@dataclass(frozen=True)
class Reference:
    t1: np.ndarray       # uint8 reference T1 on its own grid, Fortran-ordered
    affine: np.ndarray   # its voxel-to-world matrix, zero-based voxels
    spacing: np.ndarray  # its voxel sizes (mm)
    box: tuple           # (start, stop) per axis, zero-based: the part of the grid the study works on
    search: np.ndarray   # bool on the box: the reference's brain, dilated by SEARCH_MM
    seeds: np.ndarray    # SEEDS x 3 one-based box voxels inside the reference's brain, for the parcels
    source: str

    @property
    def voxel_ml(self):
        return float(np.prod(self.spacing)) / 1000


def ball(radius):
    """A (2 radius + 1)^3 morphology kernel: 1 within radius voxels of the centre."""
    r = np.arange(-radius, radius + 1) ** 2
    return (r[:, None, None] + r[None, :, None] + r[None, None, :] <= radius ** 2).astype(float)


def make_reference(t1, brain, affine, source):
    if t1.shape != brain.shape:
        raise ValueError(f"reference scans differ in shape: {t1.shape} and {brain.shape}")
    spacing = voxel_sizes(affine)
    mask = brain > 0
    radius = max(1, round(SEARCH_MM / float(spacing.mean())))
    search = nrx.morphology(mask.astype(float), ball(radius), "dilate") > 0
    nonzero = np.nonzero(search)
    box = tuple((max(int(i.min()) - 1, 0), min(int(i.max()) + 2, n)) for i, n in zip(nonzero, mask.shape))
    start = np.array([lo for lo, _ in box])
    inside = np.argwhere(mask)
    picked = inside[np.sort(np.random.default_rng(11).choice(len(inside), SEEDS, replace=False))]
    cut = tuple(slice(lo, hi) for lo, hi in box)
    return Reference(t1=to_uint8(t1), affine=affine, spacing=spacing, box=box, search=search[cut],
                     seeds=(picked - start + 1).astype(float), source=source)


def load_reference(t1_path, brain_path):
    t1, affine = read_scan(t1_path)
    brain, _ = read_scan(brain_path)
    return make_reference(t1, brain, affine, f"{t1_path} with the brain of {brain_path}")
